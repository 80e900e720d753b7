#include "ImportFixtures.h"

#include "data/RuntimeError.h"
#include "data/StringTable.h"
#include "masterdata/import/DbfSource.h"
#include "masterdata/import/TextFileSource.h"
#include "masterdata/import/XlsxSource.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace ImportFixtures;

// Our own readers (text, .xlsx, .dbf) on seeded random mutations of valid files, built with
// the address and undefined-behaviour sanitizers: each damaged file must either read as a
// rectangular table or be refused with a run-time error, never crash or read out of bounds.
class ImportReadersFuzzTest : public QObject
{
    Q_OBJECT

    using Reader = std::function<ImportTable(const QByteArray &)>;

    static QByteArray fileContent(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        return file.readAll();
    }

    // Flips, overwrites with boundary bytes, inserts, deletes, duplicates or cuts short.
    static QByteArray mutated(QByteArray data, QRandomGenerator &random)
    {
        const int edits = 1 + int(random.bounded(4));
        for (int e = 0; e < edits && !data.isEmpty(); ++e) {
            const qsizetype at = random.bounded(int(data.size()));
            const qsizetype span = 1 + random.bounded(std::min<int>(16, int(data.size() - at)));
            static const char boundary[] = {'\0', '\xff', '\x7f', '\x80', '"', ';', '\n', '<'};
            switch (random.bounded(6)) {
            case 0:
                data[at] = char(data.at(at) ^ (1 << random.bounded(8)));
                break;
            case 1:
                data[at] = boundary[random.bounded(int(sizeof boundary))];
                break;
            case 2:
                data.insert(at, data.mid(random.bounded(int(data.size())), span));
                break;
            case 3:
                data.remove(at, span);
                break;
            case 4:
                data.insert(at, QByteArray(int(span), char(random.bounded(256))));
                break;
            default:
                data.truncate(at);
                break;
            }
        }
        return data;
    }

    static void fuzz(const QByteArray &seed, int rounds, quint32 seedNumber, const Reader &read)
    {
        QRandomGenerator random(seedNumber);
        int refused = 0;
        for (int round = 0; round < rounds; ++round) {
            const QByteArray input = mutated(seed, random);
            try {
                const ImportTable table = read(input);
                for (const QStringList &row : table.rows)
                    QCOMPARE(row.size(), table.fields.size());
            } catch (const RuntimeErrorException &e) {
                QVERIFY(!e.error().description.isEmpty());
                ++refused;
            }
        }
        qInfo("%d of %d damaged files refused", refused, rounds);
    }

    // A zip archive of the workbook's parts with one part damaged, so that the XML reading is
    // reached and not only the archive's checksums.
    static QByteArray withDamagedPart(const QString &workbook, const QString &target,
                                      QRandomGenerator &random)
    {
        zip_t *in = zip_open(QFile::encodeName(workbook).constData(), ZIP_RDONLY, nullptr);
        zip_t *out = zip_open(QFile::encodeName(target).constData(), ZIP_CREATE | ZIP_TRUNCATE,
                              nullptr);
        if (!in || !out)
            qFatal("cannot open the workbooks");
        const zip_int64_t count = zip_get_num_entries(in, 0);
        const zip_int64_t damaged = random.bounded(int(count));
        QList<QByteArray> parts; // libzip reads the buffers when the archive is closed
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t stat;
            zip_stat_index(in, zip_uint64_t(i), 0, &stat);
            QByteArray part(qsizetype(stat.size), '\0');
            zip_file_t *file = zip_fopen_index(in, zip_uint64_t(i), 0);
            zip_fread(file, part.data(), stat.size);
            zip_fclose(file);
            parts << (i == damaged ? mutated(part, random) : part);
            zip_source_t *source = zip_source_buffer(out, parts.last().constData(),
                                                     zip_uint64_t(parts.last().size()), 0);
            zip_file_add(out, stat.name, source, ZIP_FL_OVERWRITE);
        }
        zip_close(out);
        zip_close(in);
        return fileContent(target);
    }

private slots:
    void initTestCase() { StringTable::setLanguage(QStringLiteral("en")); }

    void text_data()
    {
        QTest::addColumn<QByteArray>("seed");
        QTest::newRow("utf-8 with bom") << ("\xEF\xBB\xBF" + csvText(u';').toUtf8());
        QTest::newRow("windows-1252, tabs")
            << CodePage::encode(csvText(u'\t'), CodePage::Id::Windows1252);
    }

    void text()
    {
        QFETCH(QByteArray, seed);
        TextFileSource source(QStringLiteral("fuzz.csv"));
        fuzz(seed, 5000, 4711, [&source](const QByteArray &input) { return source.parse(input); });
    }

    void dbf()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kunden.dbf"));
        writeDbf(path);
        DbfSource source(path);
        fuzz(fileContent(path), 5000, 815,
             [&source](const QByteArray &input) { return source.parse(input); });
    }

    void xlsx_data()
    {
        QTest::addColumn<bool>("damageParts");
        QTest::newRow("archive bytes") << false;
        QTest::newRow("xml parts") << true;
    }

    void xlsx()
    {
        QFETCH(bool, damageParts);
        QTemporaryDir dir;
        const QString workbook = dir.filePath(QStringLiteral("kunden.xlsx"));
        writeXlsx(workbook);
        const QString damaged = dir.filePath(QStringLiteral("damaged.xlsx"));
        QRandomGenerator partRandom(99);
        const auto read = [&](const QByteArray &input) {
            if (damageParts)
                withDamagedPart(workbook, damaged, partRandom);
            else
                writeFile(damaged, input);
            XlsxSource source(damaged);
            const QStringList tables = source.tableNames();
            return source.readTable(tables.isEmpty() ? QString() : tables.first());
        };
        fuzz(fileContent(workbook), 800, 2024, read);
    }
};

QTEST_GUILESS_MAIN(ImportReadersFuzzTest)
#include "ImportReadersFuzzTest.moc"
