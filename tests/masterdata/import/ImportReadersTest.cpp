#include "ImportFixtures.h"

#include "data/RuntimeError.h"
#include "data/StringTable.h"
#include "masterdata/import/ImportConnectionString.h"
#include "masterdata/import/ImportSourceFactory.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace ImportFixtures;

// Each reader over its format's fixture, the table lists, and files that cannot be read.
class ImportReadersTest : public QObject
{
    Q_OBJECT

    using Maker = std::function<QString(const QTemporaryDir &)>;

    static QString copyOf(const QTemporaryDir &dir, const QString &fixture, const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile::copy(fixturePath(fixture), path);
        return path;
    }

    static QString written(const QTemporaryDir &dir, const QString &name,
                           const QByteArray &content)
    {
        const QString path = dir.filePath(name);
        writeFile(path, content);
        return path;
    }

    // The first half of a file made by maker, under the same name.
    static QString truncated(const QTemporaryDir &dir, const Maker &maker)
    {
        const QString path = maker(dir);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray content = file.readAll();
        file.close();
        writeFile(path, content.left(content.size() / 2));
        return path;
    }

    static QString firstTable(ImportSource &source)
    {
        const QStringList tables = source.tableNames();
        return tables.isEmpty() ? QString() : tables.first();
    }

private slots:
    void initTestCase() { StringTable::setLanguage(QStringLiteral("en")); }

    void readsEveryFormat_data()
    {
        QTest::addColumn<Maker>("maker");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("longName");

        QTest::newRow("csv utf-8 with bom, semicolons") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("Kunden.csv"); writeCsvUtf8Bom(p); return p; })
            << QString() << 300;
        QTest::newRow("csv windows-1252, tabs") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("kunden.txt"); writeCsv1252(p, u'\t'); return p; })
            << QString() << 300;
        QTest::newRow("csv windows-1252, commas") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("kunden.csv"); writeCsv1252(p, u','); return p; })
            << QString() << 300;
        QTest::newRow("csv utf-8 without bom") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("kunden.csv");
            writeFile(p, csvText(u';').toUtf8()); return p; })
            << QString() << 300;
        QTest::newRow("xls") << Maker([](const QTemporaryDir &d) {
            return copyOf(d, "kunden.xls", "kunden.xls"); }) << "Kunden$" << 300;
        QTest::newRow("xlsx") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("kunden.xlsx"); writeXlsx(p); return p; })
            << "Kunden$" << 300;
        QTest::newRow("dbf") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("kunden.dbf"); writeDbf(p); return p; })
            << "kunden" << 254;
    }

    void readsEveryFormat()
    {
        QFETCH(Maker, maker);
        QFETCH(QString, table);
        QFETCH(int, longName);
        QTemporaryDir dir;
        const auto source = OpenImportSource(maker(dir));
        const ImportTable read = source->readTable(table);
        QCOMPARE(read.fields, header);
        QCOMPARE(read.rows, rows(longName));
    }

    void tableLists_data()
    {
        QTest::addColumn<Maker>("maker");
        QTest::addColumn<QStringList>("tables");
        QTest::newRow("csv: none, the file is the table") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("Kunden.CSV"); writeCsvUtf8Bom(p); return p; })
            << QStringList();
        QTest::newRow("xls: worksheets") << Maker([](const QTemporaryDir &d) {
            return copyOf(d, "kunden.xls", "kunden.xls"); }) << QStringList{"Kunden$", "Daten$"};
        QTest::newRow("xlsx: worksheets") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("kunden.xlsx"); writeXlsx(p); return p; })
            << QStringList{"Kunden$", "Daten$"};
        QTest::newRow("dbf: the folder's files") << Maker([](const QTemporaryDir &d) {
            writeDbf(d.filePath("Zweite.dbf"), {});
            writeFile(d.filePath("notiz.txt"), "x");
            const QString p = d.filePath("kunden.dbf"); writeDbf(p); return p; })
            << QStringList{"kunden", "Zweite"};
    }

    void tableLists()
    {
        QFETCH(Maker, maker);
        QFETCH(QStringList, tables);
        QTemporaryDir dir;
        QCOMPARE(OpenImportSource(maker(dir))->tableNames(), tables);
    }

    void secondSheetAndOtherDbf()
    {
        QTemporaryDir dir;
        const auto xls = OpenImportSource(copyOf(dir, "kunden.xls", "kunden.xls"));
        const ImportTable daten = xls->readTable(QStringLiteral("Daten$"));
        QCOMPARE(daten.fields, QStringList{"X"});
        QCOMPARE(daten.rows, QList<QStringList>{{"1.5"}});
        writeDbf(dir.filePath("zweite.dbf"), rows(254).mid(0, 1));
        writeDbf(dir.filePath("kunden.dbf"));
        const auto dbf = OpenImportSource(dir.filePath("kunden.dbf"));
        QCOMPARE(dbf->readTable(QStringLiteral("zweite")).rows, rows(254).mid(0, 1));
    }

    void oddText_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QList<QStringList>>("expected");
        QTest::newRow("line break and separator inside quotes, doubled quote")
            << QByteArray("A;B\r\n\"x;\r\ny\";\"say \"\"hi\"\"\"\r\n2;\r\n")
            << QStringList{"A", "B"}
            << QList<QStringList>{{"x;\r\ny", "say \"hi\""}, {"2", ""}};
        QTest::newRow("blank lines and no final line break")
            << QByteArray("A,B\n\n1,2\n\n3,4") << QStringList{"A", "B"}
            << QList<QStringList>{{"1", "2"}, {"3", "4"}};
        QTest::newRow("missing and repeated names, a quote inside a field")
            << QByteArray(";A;A\n1;2\"x;3\n") << QStringList{"F1", "A", "F3"}
            << QList<QStringList>{{"1", "2\"x", "3"}};
        QTest::newRow("header only: an empty table") << QByteArray("KNR;NAME\r\n")
            << QStringList{"KNR", "NAME"} << QList<QStringList>();
        QTest::newRow("empty file") << QByteArray() << QStringList() << QList<QStringList>();
    }

    void oddText()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, fields);
        QFETCH(QList<QStringList>, expected);
        QTemporaryDir dir;
        const ImportTable table = OpenImportSource(written(dir, "a.csv", content))->readTable({});
        QCOMPARE(table.fields, fields);
        QCOMPARE(table.rows, expected);
    }

    void badInput_data()
    {
        QTest::addColumn<Maker>("maker");
        QTest::addColumn<QStringList>("fragments");
        const QByteArray text = csvText(u';').toUtf8();
        QTest::newRow("xlsx that is text") << Maker([text](const QTemporaryDir &d) {
            return written(d, "kunden.xlsx", text); })
            << QStringList{"kunden.xlsx", "not a valid Excel file or it is damaged"};
        QTest::newRow("xls that is text") << Maker([text](const QTemporaryDir &d) {
            return written(d, "kunden.xls", text); })
            << QStringList{"kunden.xls", "not a valid Excel file"};
        QTest::newRow("mdb that is text") << Maker([text](const QTemporaryDir &d) {
            return written(d, "kunden.mdb", text); })
            << QStringList{"kunden.mdb", "not a valid Access file"};
        QTest::newRow("mdb header only") << Maker([](const QTemporaryDir &d) {
            QByteArray page(2048, '\0');
            page.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 19));
            return written(d, "kunden.mdb", page); })
            << QStringList{"kunden.mdb", "not a valid Access file"};
        QTest::newRow("dbf that is text") << Maker([text](const QTemporaryDir &d) {
            return written(d, "kunden.dbf", text); })
            << QStringList{"kunden.dbf", "not a valid dBase file"};
        QTest::newRow("csv that is a workbook") << Maker([](const QTemporaryDir &d) {
            return copyOf(d, "kunden.xls", "kunden.csv"); })
            << QStringList{"kunden.csv", "not a valid Text file"};
        QTest::newRow("truncated xlsx") << Maker([](const QTemporaryDir &d) {
            return truncated(d, [](const QTemporaryDir &e) {
                const QString p = e.filePath("kunden.xlsx"); writeXlsx(p); return p; }); })
            << QStringList{"kunden.xlsx", "Excel"};
        QTest::newRow("truncated xls") << Maker([](const QTemporaryDir &d) {
            return truncated(d, [](const QTemporaryDir &e) {
                return copyOf(e, "kunden.xls", "kunden.xls"); }); })
            << QStringList{"kunden.xls", "Excel"};
        QTest::newRow("truncated dbf") << Maker([](const QTemporaryDir &d) {
            return truncated(d, [](const QTemporaryDir &e) {
                const QString p = e.filePath("kunden.dbf"); writeDbf(p); return p; }); })
            << QStringList{"kunden.dbf", "cut short"};
        QTest::newRow("csv with a short row") << Maker([](const QTemporaryDir &d) {
            return written(d, "kunden.csv", "A;B;C\r\n1;2;3\r\n4;5\r\n"); })
            << QStringList{"kunden.csv", "line 3: the row has 2 fields, the header line 3."};
        QTest::newRow("csv with a long row") << Maker([](const QTemporaryDir &d) {
            return written(d, "kunden.csv", "A;B\n1;2;3\n"); })
            << QStringList{"kunden.csv", "line 2: the row has 3 fields"};
        QTest::newRow("csv with an open quote") << Maker([](const QTemporaryDir &d) {
            return written(d, "kunden.csv", "A;B\n1;2\n\"3;4\n5;6\n"); })
            << QStringList{"kunden.csv", "line 3: a quotation mark is not closed."};
        QTest::newRow("csv with text after a quote") << Maker([](const QTemporaryDir &d) {
            return written(d, "kunden.csv", "A;B\n\"1\"x;2\n"); })
            << QStringList{"kunden.csv", "line 2: a closing quotation mark"};
        QTest::newRow("a document") << Maker([text](const QTemporaryDir &d) {
            return written(d, "liste.doc", text); })
            << QStringList{"liste.doc", "files of this type cannot be imported."};
        QTest::newRow("missing file") << Maker([](const QTemporaryDir &d) {
            return d.filePath("fehlt.csv"); }) << QStringList{"fehlt.csv"};
        QTest::newRow("no such sheet") << Maker([](const QTemporaryDir &d) {
            const QString p = d.filePath("kunden.xlsx"); writeXlsx(p); return p; })
            << QStringList{"kunden.xlsx", "it holds no table \"Sheet1$\"."};
    }

    void badInput()
    {
        QFETCH(Maker, maker);
        QFETCH(QStringList, fragments);
        QTemporaryDir dir;
        const QString path = maker(dir);
        try {
            const auto source = OpenImportSource(path);
            const QString table = QFileInfo(path).suffix() == u"xlsx"
                                          && fragments.last().contains(u"Sheet1")
                                      ? QStringLiteral("Sheet1$") : firstTable(*source);
            const ImportTable read = source->readTable(table);
            QFAIL(qPrintable(QStringLiteral("read %1 rows").arg(read.rows.size())));
        } catch (const RuntimeErrorException &e) {
            QCOMPARE(e.error().number, ImportSource::unreadableError);
            QVERIFY2(e.error().description.startsWith(
                         QStringLiteral("The file \"%1\" cannot be read: ")
                             .arg(QDir::toNativeSeparators(path))),
                     qPrintable(e.error().description));
            for (const QString &fragment : std::as_const(fragments))
                QVERIFY2(e.error().description.contains(fragment),
                         qPrintable(e.error().description));
        }
    }

    void connectionStrings_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QStringList>("fragments");
        QTest::newRow("Kunden.CSV") << "/daten/Kunden.CSV" << "csv"
            << QStringList{"Data Source=/daten/;", "Extended Properties='Text';",
                           "Jet OLEDB:Engine Type=60;"};
        QTest::newRow("liste.doc") << "/daten/liste.doc" << "doc" << QStringList();
        QTest::newRow("xls") << "/daten/k.xls" << "xls"
            << QStringList{"Data Source=/daten/k.xls;", "Extended Properties='Excel 8.0';",
                           "Engine Type=5;", "Database Password='tavirk'"};
        QTest::newRow("xlsx") << "/daten/k.xlsx" << "xlsx"
            << QStringList{"Extended Properties='Excel 12.0 Xml';"};
        QTest::newRow("mdb") << "/daten/alt.mdb" << "mdb"
            << QStringList{"Provider=Microsoft.Jet.OLEDB.4.0;", "Data Source=/daten/alt.mdb;"};
        QTest::newRow("dbf") << "/daten/K.DBF" << "dbf"
            << QStringList{"DRIVER={Microsoft dBase Driver (*.dbf)};DBQ=/daten/;"};
    }

    void connectionStrings()
    {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QFETCH(QStringList, fragments);
        QString type;
        const QString text = BuildImportConnectionString(path, QFileInfo(path).fileName(), &type);
        QCOMPARE(type, extension);
        QCOMPARE(text.isEmpty(), fragments.isEmpty());
        for (const QString &fragment : std::as_const(fragments))
            QVERIFY2(text.contains(fragment), qPrintable(text));
        QCOMPARE(IsImportFileType(type), !fragments.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ImportReadersTest)
#include "ImportReadersTest.moc"
