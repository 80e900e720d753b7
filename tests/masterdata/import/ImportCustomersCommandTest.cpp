#include "ImportFixtures.h"

#include "newtests/NewTestsFixture.h"

#include <QTest>

#include "support/CliRun.h"

using namespace ImportFixtures;
using NewTestsFixture::FixtureDb;

// lumetra4 import-customers as a process on a database in a temporary home folder.
class ImportCustomersCommandTest : public QObject
{
    Q_OBJECT

    using Result = CliResult;

    static Result run(FixtureDb &db, const QStringList &arguments)
    {
        return runCli(db.dir.path(), QStringList{QStringLiteral("import-customers")} + arguments);
    }

    static QString csvFile(FixtureDb &db)
    {
        const QString path = db.dir.filePath(QStringLiteral("Kunden.csv"));
        writeCsv1252(path);
        return path;
    }

    static qint64 customerCount(FixtureDb &db)
    {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Kunden")).toLongLong();
    }

private slots:
    void importsByBothMethods_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("name1002");
        QTest::newRow("default: no update") << QStringList{} << "2\nGeänderte Datensätze: 0\n"
            "Nicht eingefügte Datensätze: 3" << "Alt";
        QTest::newRow("--no-update") << QStringList{"--no-update"}
            << "2\nGeänderte Datensätze: 0\nNicht eingefügte Datensätze: 3" << "Alt";
        QTest::newRow("--update") << QStringList{"--update"}
            << "2\nGeänderte Datensätze: 2\nNicht eingefügte Datensätze: 1"
            << "O'Brien \"Pub\"";
    }

    void importsByBothMethods()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, counts);
        QFETCH(QString, name1002);
        FixtureDb db;
        db.addCustomer({"1002", "Alt"});
        const Result result = run(db, QStringList{csvFile(db), "--map",
                                                  "Kunden-Nr=KNR,Name1=NAME,ADS_Ort=ORT"}
                                          + options);
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QCOMPARE(result.out, "Datenimport erfolgreich abgeschlossen.\nNeu eingefügte "
                             "Datensätze: " + counts + "\n");
        QCOMPARE(customerCount(db), 3);
        QCOMPARE(db.scalar(QStringLiteral("SELECT ADS_Name1 FROM Kunden WHERE ADS_KundenNr = "
                                          "'1002'")).toString(), name1002);
        QCOMPARE(db.scalar(QStringLiteral("SELECT ADS_Ort FROM Kunden WHERE ADS_KundenNr = "
                                          "'1003'")).toString(), QStringLiteral("München"));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no mapping of the number") << QStringList{"@csv", "--map", "Name1=NAME"}
            << 2 << "--map must map Kunden-Nr";
        QTest::newRow("bad pair") << QStringList{"@csv", "--map", "Kunden-Nr"} << 2
            << "'Kunden-Nr' is not DESTINATION=SOURCE";
        QTest::newRow("a source field the file lacks")
            << QStringList{"@csv", "--map", "Kunden-Nr=KNR,Name1=NAME1"} << 2
            << "the source has no field 'NAME1'";
        QTest::newRow("both methods") << QStringList{"@csv", "--map", "Kunden-Nr=KNR",
                                                     "--update", "--no-update"}
            << 2 << "exclude each other";
        QTest::newRow("ragged csv") << QStringList{"@ragged", "--map", "Kunden-Nr=KNR"} << 1
            << "Zeile 3";
        QTest::newRow("missing file") << QStringList{"@missing", "--map", "Kunden-Nr=KNR"} << 1
            << "fehlt.csv";
        QTest::newRow("a document") << QStringList{"@doc", "--map", "Kunden-Nr=KNR"} << 1
            << "liste.doc";
    }

    // Nothing is imported from a file refused or a command line not understood.
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        FixtureDb db;
        const QString ragged = db.dir.filePath(QStringLiteral("ragged.csv"));
        writeFile(ragged, "KNR;NAME\r\n1;a\r\n2;b;c\r\n");
        const QString doc = db.dir.filePath(QStringLiteral("liste.doc"));
        writeFile(doc, "text");
        const QHash<QString, QString> files = {
            {"@csv", csvFile(db)}, {"@ragged", ragged}, {"@doc", doc},
            {"@missing", db.dir.filePath(QStringLiteral("fehlt.csv"))}};
        for (QString &argument : arguments)
            argument = files.value(argument, argument);
        const Result result = run(db, arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QCOMPARE(customerCount(db), 0);
    }

    void emptyTable()
    {
        FixtureDb db;
        const QString path = db.dir.filePath(QStringLiteral("leer.csv"));
        writeFile(path, "KNR;NAME\r\n");
        const Result result = run(db, {path, "--map", "Kunden-Nr=KNR"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QStringLiteral("Die Datenbank ist leer. Es wurden keine Datensätze "
                                            "importiert.\n"));
    }
};

QTEST_GUILESS_MAIN(ImportCustomersCommandTest)
#include "ImportCustomersCommandTest.moc"
