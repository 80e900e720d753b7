#include "sync/VlmMemLibrary.h"

#include "data/RuntimeError.h"

#include <QProcess>
#include <QTest>

// The conversion library as the program binds it: by name, with exactly two exports.
class VlmMemTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { VlmMemLibrary::instance().reset(QStringLiteral(VLM_MEM_FILE)); }

    void exportsOnlyItsTwoFunctions()
    {
        QProcess nm;
        nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                        QStringLiteral(VLM_MEM_FILE)});
        QVERIFY(nm.waitForFinished());
        QStringList functions;
        for (const QByteArray &line : nm.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() == 3 && fields[1] == "T")
                functions << QString::fromLatin1(fields[2]);
        }
        functions.sort();
        QCOMPARE(functions, QStringList({"ConvertDataToMemory", "ConvertMemoryToData"}));
    }

    void conversions_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("value");
        QTest::newRow("16-bit -2") << QByteArray("\xFE\xFF", 2) << 2 << qint64(-2);
        QTest::newRow("16-bit 258") << QByteArray("\x02\x01", 2) << 2 << qint64(258);
        QTest::newRow("32-bit 65535") << QByteArray("\xFF\xFF\x00\x00", 4) << 4 << qint64(65535);
        QTest::newRow("32-bit -1") << QByteArray("\xFF\xFF\xFF\xFF", 4) << 4 << qint64(-1);
    }

    void conversions()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(qint64, value);
        VlmMemLibrary &library = VlmMemLibrary::instance();
        library.reset(QStringLiteral(VLM_MEM_FILE));
        if (count == 2) {
            int16_t native = 0;
            QVERIFY(library.memoryToData(&native, bytes.constData(), 2));
            QCOMPARE(native, int16_t(value));
        } else {
            int32_t native = 0;
            QVERIFY(library.memoryToData(&native, bytes.constData(), 4));
            QCOMPARE(native, int32_t(value));
        }
        // Back again, also from a wider native value: its low-order part is meant.
        const int32_t wide = int32_t(value);
        uint8_t written[4] = {};
        QVERIFY(library.dataToMemory(&wide, written, uint8_t(count)));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(written), count), bytes);
    }

    void refusesOtherCounts()
    {
        VlmMemLibrary &library = VlmMemLibrary::instance();
        int32_t native = 0;
        uint8_t bytes[8] = {};
        QVERIFY(!library.memoryToData(&native, bytes, 1));
        QVERIFY(!library.memoryToData(&native, bytes, 3));
        QVERIFY(!library.dataToMemory(&native, bytes, 3));
        QVERIFY(!library.memoryToData(nullptr, bytes, 4));
    }

    void missingLibraryIsAClearError()
    {
        VlmMemLibrary &library = VlmMemLibrary::instance();
        library.reset(QStringLiteral("/nonexistent/libvlm_mem.so"));
        try {
            library.ensureLoaded();
            QFAIL("a missing library loaded");
        } catch (const RuntimeErrorException &error) {
            QVERIFY(error.error().description.contains(QLatin1String("VLM_MEM")));
            QVERIFY(error.error().description.contains(QLatin1String("/nonexistent")));
        }
        int16_t native = 0;
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException,
                                 library.memoryToData(&native, "\0\0", 2));
    }

    void libraryWithoutTheFunctionsIsRefused()
    {
        VlmMemLibrary &library = VlmMemLibrary::instance();
        library.reset(QStringLiteral("libz.so.1"));
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException, library.ensureLoaded());
    }
};

QTEST_GUILESS_MAIN(VlmMemTest)
#include "VlmMemTest.moc"
