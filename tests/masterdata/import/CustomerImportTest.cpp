#include "ImportFixtures.h"

#include "masterdata/import/CustomerImport.h"
#include "masterdata/import/ImportSourceFactory.h"
#include "newtests/NewTestsFixture.h"

#include <QTest>

using namespace ImportFixtures;
using NewTestsFixture::FixtureDb;
using Rows = QList<QStringList>;

// The customer table after importing each format's fixture with either update method.
class CustomerImportTest : public QObject
{
    Q_OBJECT

    // Number, Name1, Straße, PLZ, Ort, Telefon of every customer in the order they were added.
    static Rows customers(FixtureDb &db)
    {
        Rows result;
        QSqlQuery query = db.session.dbConnection.select(QStringLiteral(
            "SELECT ADS_KundenNr, ADS_Name1, ADS_Strasse, ADS_PLZ, ADS_Ort, ADS_Telefon "
            "FROM Kunden ORDER BY rowid"));
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < 6; ++i)
                row << (query.value(i).isNull() ? QStringLiteral("<null>")
                                                : query.value(i).toString());
            result << row;
        }
        return result;
    }

    static ImportMapping fixtureMapping()
    {
        ImportMapping mapping;
        const QString error = mapping.parse(
            QStringLiteral("Kunden-Nr=KNR,Name1=NAME,Straße=STRASSE,ADS_PLZ=plz,Ort=ORT"));
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
        return mapping;
    }

private slots:
    void importsEveryFormat_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("update");
        QTest::addColumn<int>("longName");
        const QList<std::tuple<const char *, QString, int>> formats = {
            {"kunden.csv", QString(), 255}, {"kunden.txt", QString(), 255},
            {"kunden.xls", "Kunden$", 255}, {"kunden.xlsx", "Kunden$", 255},
            {"kunden.dbf", "kunden", 254}};
        for (const auto &[file, table, longName] : formats) {
            for (bool update : {true, false}) {
                QTest::addRow("%s %s", file, update ? "update" : "no update")
                    << QString::fromLatin1(file) << table << update << longName;
            }
        }
    }

    void importsEveryFormat()
    {
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(bool, update);
        QFETCH(int, longName);
        FixtureDb db;
        db.addCustomer({"1002", "Alt", {}, "Altweg 9", "50667", "Köln", "0221 1"});
        const QString path = db.dir.filePath(file);
        if (file.endsWith(u"csv"))
            writeCsvUtf8Bom(path);
        else if (file.endsWith(u"txt"))
            writeCsv1252(path, u'\t');
        else if (file.endsWith(u"xlsx"))
            writeXlsx(path);
        else if (file.endsWith(u"dbf"))
            writeDbf(path);
        else
            QVERIFY(QFile::copy(fixturePath(file), path));

        const ImportTable rows = OpenImportSource(path)->readTable(table);
        CustomerImport import(db.session.dbConnection, fixtureMapping(),
                              update ? UpdateMethod::Update : UpdateMethod::NoUpdate);
        const ImportCounts counts = import.run(rows);

        const QString longValue(longName, u'L');
        if (update) {
            QCOMPARE(customers(db),
                     (Rows{{"1002", "O'Brien \"Pub\"", "Am Eck 2", "50667", "Köln", "0221 1"},
                           {"1001", "Müller GmbH", "Hauptstraße 1a", "52062", "Aachen", "<null>"},
                           {"1003", longValue, "Lang 4", "80331", "München", "<null>"}}));
            QCOMPARE(counts.changed, 2); // 1002, and 1001 the second time
            QCOMPARE(counts.notAdded, 1); // the row without number
        } else {
            QCOMPARE(customers(db),
                     (Rows{{"1002", "Alt", "Altweg 9", "50667", "Köln", "0221 1"},
                           {"1001", "Müller & Söhne", "Hauptstraße 1", "52062", "Aachen",
                            "<null>"},
                           {"1003", longValue, "Lang 4", "80331", "München", "<null>"}}));
            QCOMPARE(counts.changed, 0);
            QCOMPARE(counts.notAdded, 3);
        }
        QCOMPARE(counts.added, 2);
    }

    // A key longer than the column is cut for the search and for the stored number; numbers
    // match ignoring case (the number then takes the source's spelling); an empty source value
    // empties a mapped field.
    void keyCutAndEmptyValues()
    {
        FixtureDb db;
        db.session.dbConnection.execute(QStringLiteral("DROP TABLE Kunden"));
        db.session.dbConnection.execute(QStringLiteral(
            "CREATE TABLE Kunden (ADS_ID INTEGER PRIMARY KEY, ADS_KundenNr VARCHAR(6), "
            "ADS_Name1 VARCHAR(4), ADS_Name2 VARCHAR(50), ADS_Strasse VARCHAR(50), ADS_PLZ "
            "VARCHAR(50), ADS_Ort VARCHAR(50), ADS_Telefon VARCHAR(50), ADS_Fax VARCHAR(50), "
            "ADS_ZaehlerNr VARCHAR(50), ADS_ZaehlerNrAlt VARCHAR(50))"));
        db.addCustomer({"123456", "Alt", {}, "Weg 1", {}, {}, "1"});
        db.addCustomer({"AB1", "Alt2", {}, "Weg 2"});
        ImportMapping mapping;
        QVERIFY(mapping.parse(QStringLiteral("Kunden-Nr=K,Name1=N,Straße=S")).isEmpty());
        const ImportTable table{{"K", "N", "S"},
                                {{"1234567", "Neuname", ""}, {"ab1", "x'y", "Gasse"},
                                 {"9999999", "Neu", "Platz"}}};
        const ImportCounts counts = CustomerImport(db.session.dbConnection, mapping,
                                                   UpdateMethod::Update).run(table);
        QCOMPARE(customers(db), (Rows{{"123456", "Neun", "", "<null>", "<null>", "1"},
                                      {"ab1", "x'y", "Gasse", "<null>", "<null>", "<null>"},
                                      {"999999", "Neu", "Platz", "<null>", "<null>", "<null>"}}));
        QCOMPARE(counts.added, 1);
        QCOMPARE(counts.changed, 2);
    }

    // The rows before the cancel stay imported and are counted.
    void cancel()
    {
        FixtureDb db;
        ImportMapping mapping;
        mapping.map(ImportMapping::keyEntry, QStringLiteral("K"));
        ImportTable table{{"K"}, {}};
        for (int i = 1; i <= 1200; ++i)
            table.rows << QStringList{QString::number(i)};
        int seen = 0;
        const ImportCounts counts = CustomerImport(db.session.dbConnection, mapping,
                                                   UpdateMethod::NoUpdate)
                                        .run(table, [&seen] { return ++seen < 700; });
        QCOMPARE(counts.added, 700);
        QCOMPARE(customers(db).size(), 700);
        QVERIFY(!db.session.dbConnection.inTransaction());
    }

    void countsMessage()
    {
        FixtureDb db; // German texts
        QCOMPARE(ImportCountsMessage({3, 2, 1}),
                 QStringLiteral("Datenimport erfolgreich abgeschlossen.\nNeu eingefügte "
                                "Datensätze: 3\nGeänderte Datensätze: 2\nNicht eingefügte "
                                "Datensätze: 1"));
    }

    void mappingText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("caption and column") << "Kunden-Nr=A, ads_ort = B" << QString();
        QTest::newRow("no equals") << "Kunden-Nr" << "'Kunden-Nr' is not DESTINATION=SOURCE";
        QTest::newRow("unknown field") << "Vorname=A" << "'Vorname' is no customer field";
        QTest::newRow("no source") << "Ort=" << "no source field for 'Ort'";
    }

    void mappingText()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        FixtureDb db;
        ImportMapping mapping;
        QCOMPARE(mapping.parse(text), error);
        if (error.isEmpty()) {
            QVERIFY(mapping.keyMapped());
            QCOMPARE(mapping.entries().at(4).source, QStringLiteral("B"));
        }
    }
};

QTEST_GUILESS_MAIN(CustomerImportTest)
#include "CustomerImportTest.moc"
