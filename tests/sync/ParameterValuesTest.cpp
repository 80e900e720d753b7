#include "sync/InstrumentParameters.h"
#include "sync/ParameterDeletion.h"
#include "sync/ParameterValues.h"
#include "sync/VlmMemLibrary.h"

#include "data/RuntimeError.h"

#include <QMap>
#include <QTest>

#include <cstring>

namespace {

ParameterRecord record(uint16_t dataType, const QByteArray &bytes, uint16_t number = 72)
{
    ParameterRecord result;
    result.number = number;
    result.dataType = dataType;
    result.length = uint8_t(bytes.size());
    std::memcpy(result.value, bytes.constData(), bytes.size());
    return result;
}

QByteArray valueBytes(const ParameterRecord &record, int count)
{
    return QByteArray(reinterpret_cast<const char *>(record.value), count);
}

// Instruments on a bus: parameter 72 of each, and the calls that fail.
class FakeInstruments : public InstrumentParameters
{
public:
    bool getParameter(uint32_t fab, uint16_t number, ParameterRecord &result) override
    {
        calls << QStringLiteral("get %1").arg(fab);
        if (failGet.contains(fab) || !parameters.contains(fab))
            return false;
        result = parameters[fab];
        result.number = number;
        return true;
    }
    bool setParameter(uint32_t fab, const ParameterRecord &written) override
    {
        calls << QStringLiteral("set %1").arg(fab);
        if (failSet.contains(fab))
            return false;
        parameters[fab] = written;
        return true;
    }
    QString lastError() override { return QStringLiteral("get service 'parameter value' fails!"); }

    QMap<uint32_t, ParameterRecord> parameters;
    QList<uint32_t> failGet;
    QList<uint32_t> failSet;
    QStringList calls;
};

} // namespace

class ParameterValuesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { VlmMemLibrary::instance().reset(QStringLiteral(VLM_MEM_FILE)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void valueText_data()
    {
        QTest::addColumn<int>("dataType");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("U8") << 0 << QByteArray("\xC8", 1) << "C" << "200";
        QTest::newRow("S8") << 1 << QByteArray("\xC8", 1) << "C" << "-56";
        QTest::newRow("U16 of signed -2") << 2 << QByteArray("\xFE\xFF", 2) << "C" << "65534";
        QTest::newRow("S16") << 3 << QByteArray("\xFE\xFF", 2) << "C" << "-2";
        QTest::newRow("U32 above 2^31 reads negative")
            << 4 << QByteArray("\x00\x00\x00\x80", 4) << "C" << "-2147483648";
        QTest::newRow("S32 firmware") << 5 << QByteArray("\xB8\x0B\x00\x00", 4) << "C" << "3000";
        QTest::newRow("type field 263 is a string")
            << 263 << QByteArray("AB") << "C" << QStringLiteral("AB") + QString(254, QChar(0));
        QTest::newRow("float, German") << 6 << QByteArray("\x00\x00\xC0\x3F", 4) << "de_DE"
                                       << "1,5";
        QTest::newRow("float 0.1 shortest") << 6 << QByteArray("\xCD\xCC\xCC\x3D", 4) << "C"
                                            << "0.1";
        QTest::newRow("byte array") << 8 << QByteArray("\x01\x02", 2) << "C" << "";
        QTest::newRow("unknown type") << 12 << QByteArray("\x01", 1) << "C" << "";
    }

    void valueText()
    {
        QFETCH(int, dataType);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QCOMPARE(ParameterValueText(record(uint16_t(dataType), bytes), QLocale(locale)), text);
    }

    void textToValue_data()
    {
        QTest::addColumn<int>("dataType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("exact");
        const QByteArray before("\x11\x22\x33\x44", 4);
        QTest::newRow("U16 65535") << 2 << "65535" << QByteArray("\xFF\xFF\x33\x44", 4) << 4
                                   << true;
        QTest::newRow("U32 65535") << 4 << "65535" << QByteArray("\xFF\xFF\x00\x00", 4) << 4
                                   << true;
        QTest::newRow("S32 65535") << 5 << "65535" << QByteArray("\xFF\xFF\x00\x00", 4) << 4
                                   << true;
        QTest::newRow("S16 65535 out of range writes 0")
            << 3 << "65535" << QByteArray("\x00\x00\x33\x44", 4) << 4 << false;
        QTest::newRow("U8 65535 leaves the byte") << 0 << "65535" << before << 4 << false;
        QTest::newRow("U8 200") << 0 << "200" << QByteArray("\xC8\x22\x33\x44", 4) << 4 << true;
        QTest::newRow("S8 65535 writes 0")
            << 1 << "65535" << QByteArray("\x00\x22\x33\x44", 4) << 4 << false;
        QTest::newRow("S8 -3") << 1 << "-3" << QByteArray("\xFD\x22\x33\x44", 4) << 4 << true;
        QTest::newRow("U16 -1 becomes 65535")
            << 2 << "-1" << QByteArray("\xFF\xFF\x33\x44", 4) << 4 << false;
        QTest::newRow("S32 halves to even") << 5 << "2.5" << QByteArray("\x02\x00\x00\x00", 4)
                                            << 4 << true;
        QTest::newRow("S32 decimal comma") << 5 << "3,5" << QByteArray("\x04\x00\x00\x00", 4)
                                           << 4 << true;
        QTest::newRow("S32 not a number") << 5 << "abc" << QByteArray(4, '\0') << 4 << false;
        QTest::newRow("float 65535") << 6 << "65535" << QByteArray("\x00\xFF\x7F\x47", 4) << 4
                                     << true;
        QTest::newRow("float with comma") << 6 << "1,5" << QByteArray("\x00\x00\xC0\x3F", 4)
                                          << 4 << true;
        QTest::newRow("string ABC") << 7 << "ABC" << QByteArray("ABC\0", 4) << 4 << true;
        QTest::newRow("string 65535") << 7 << "65535" << QByteArray("65535\0", 6) << 6 << true;
        QTest::newRow("byte array unchanged") << 8 << "65535" << before << 4 << false;
    }

    void textToValue()
    {
        QFETCH(int, dataType);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(int, length);
        QFETCH(bool, exact);
        const ParameterRecord original = record(uint16_t(dataType),
                                                QByteArray("\x11\x22\x33\x44", 4));
        bool converted = !exact;
        const ParameterRecord written = TextToParameterValue(original, text, &converted);
        QCOMPARE(valueBytes(written, bytes.size()), bytes);
        QCOMPARE(int(written.length), length);
        QCOMPARE(converted, exact);
        QCOMPARE(written.number, original.number);
        QCOMPARE(written.dataType, original.dataType);
    }

    void longStringsAreCut()
    {
        const ParameterRecord original = record(7, QByteArray("xy"));
        const ParameterRecord written = TextToParameterValue(original, QString(300, u'a'));
        QCOMPARE(valueBytes(written, 256), QByteArray(256, 'a'));
        QCOMPARE(int(written.length), 2);
    }

    void deletion_data()
    {
        QTest::addColumn<int>("dataType");
        QTest::addColumn<int>("blocksWithoutTest");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("U16") << 2 << 0 << true;
        QTest::newRow("S32") << 5 << 0 << true;
        QTest::newRow("S16 cannot hold 65535") << 3 << 0 << false;
        QTest::newRow("U8 cannot hold 65535") << 0 << 0 << false;
        QTest::newRow("byte array") << 8 << 0 << false;
        QTest::newRow("a block was not stored") << 2 << 1 << false;
    }

    // An instrument is told to delete only what was stored; the other one is deleted anyway.
    void deletion()
    {
        QFETCH(int, dataType);
        QFETCH(int, blocksWithoutTest);
        QFETCH(bool, deleted);
        FakeInstruments bus;
        bus.parameters[1] = record(uint16_t(dataType), QByteArray(4, '\0'));
        bus.parameters[2] = record(2, QByteArray(2, '\0'));
        const DeletionReport report = DeleteReadTests(
            bus, {{1, QStringLiteral("063 00 00001"), blocksWithoutTest},
                  {2, QStringLiteral("063 00 00002"), 0}});
        QVERIFY(!report.communicationError);
        QCOMPARE(report.deleted.contains(1), deleted);
        QVERIFY(report.deleted.contains(2));
        QCOMPARE(report.notDeleted.size(), deleted ? 0 : 1);
        if (!deleted) {
            QVERIFY(report.notDeleted.front().contains(QLatin1String("063 00 00001")));
            QVERIFY(!bus.calls.contains(QLatin1String("set 1")));
        } else {
            QCOMPARE(ParameterValueText(bus.parameters[1]), QStringLiteral("65535"));
        }
    }

    void layoutFaultKeepsTheTests()
    {
        FakeInstruments bus;
        bus.parameters[1] = record(2, QByteArray(2, '\0'));
        ReadInstrument instrument{1, QStringLiteral("063 00 00001"), 0};
        instrument.layoutFault = true;
        const DeletionReport report = DeleteReadTests(bus, {instrument});
        QVERIFY(report.deleted.isEmpty());
        QVERIFY(bus.calls.isEmpty());
    }

    void failedBusCallIsACommunicationError_data()
    {
        QTest::addColumn<bool>("failGet");
        QTest::newRow("GetParameter") << true;
        QTest::newRow("SetParameter") << false;
    }

    void failedBusCallIsACommunicationError()
    {
        QFETCH(bool, failGet);
        FakeInstruments bus;
        bus.parameters[1] = record(2, QByteArray(2, '\0'));
        bus.parameters[2] = record(2, QByteArray(2, '\0'));
        (failGet ? bus.failGet : bus.failSet) << 1;
        const DeletionReport report = DeleteReadTests(
            bus, {{1, QStringLiteral("a"), 0}, {2, QStringLiteral("b"), 0}});
        QVERIFY(report.communicationError);
        QVERIFY(!report.libraryError.isEmpty());
        QVERIFY(report.deleted.isEmpty());
        QVERIFY(!bus.calls.contains(QLatin1String("get 2"))); // the next one keeps its tests
    }

    void missingLibraryWritesNothing()
    {
        FakeInstruments bus;
        bus.parameters[1] = record(2, QByteArray(2, '\0'));
        VlmMemLibrary::instance().reset(QStringLiteral("/nonexistent/libvlm_mem.so"));
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException,
                                 DeleteReadTests(bus, {{1, QStringLiteral("a"), 0}}));
        VlmMemLibrary::instance().reset(QStringLiteral(VLM_MEM_FILE));
        QVERIFY(bus.calls.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ParameterValuesTest)
#include "ParameterValuesTest.moc"
