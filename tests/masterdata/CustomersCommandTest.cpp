#include "newtests/NewTestsFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "support/CliRun.h"

using namespace NewTestsFixture;

class CustomersCommandTest : public QObject
{
    Q_OBJECT

    using Result = CliResult;

    static Result run(FixtureDb &db, const QStringList &arguments)
    {
        return runCli(db.dir.path(), QStringList{QStringLiteral("customers")} + arguments);
    }

    static void fill(FixtureDb &db)
    {
        db.addCustomer({"000002", "O'Brien; Partner", {}, "Am \"Eck\" 1", {}, "Köln"});
        db.addCustomer({"000001", "Müller", {}, {}, {}, "Aachen"});
        db.addCustomer({"004711", "Haus #12"});
    }

private slots:
    void table()
    {
        FixtureDb db;
        fill(db);
        const Result result = run(db, {});
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines.at(0).startsWith(QStringLiteral("Kunden-Nr  Name1")));
        QVERIFY(lines.at(1).startsWith(QStringLiteral("000001     Müller")));
        QVERIFY(lines.at(2).startsWith(QStringLiteral("000002     O'Brien; Partner")));
        QCOMPARE(lines.at(4), QStringLiteral("3 customer(s)"));
        // Columns line up under their headings.
        QCOMPARE(lines.at(1).indexOf(QStringLiteral("Aachen")),
                 lines.at(0).indexOf(QStringLiteral("Ort")));
    }

    void csv()
    {
        FixtureDb db;
        fill(db);
        const Result result = run(db, {QStringLiteral("--format"), QStringLiteral("csv")});
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), QStringLiteral("Kunden-Nr;Name1;Name2;Straße;PLZ;Ort;Telefon;Fax;"
                                             "Aktuelle Zähler-Nr;Zähler-Nr alt"));
        QCOMPARE(lines.at(2),
                 QStringLiteral("000002;\"O'Brien; Partner\";;\"Am \"\"Eck\"\" 1\";;Köln;;;;"));
    }

    void json()
    {
        FixtureDb db;
        fill(db);
        const Result result = run(db, {QStringLiteral("--format=json"), QStringLiteral("--search"),
                                       QStringLiteral("o'brien")});
        QCOMPARE(result.exitCode, 0);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray customers = document.array();
        QCOMPARE(customers.size(), 1);
        const QJsonObject customer = customers.first().toObject();
        QCOMPARE(customer.value(QStringLiteral("ADS_KundenNr")).toString(),
                 QStringLiteral("000002"));
        QCOMPARE(customer.value(QStringLiteral("ADS_Strasse")).toString(),
                 QStringLiteral("Am \"Eck\" 1"));
        QCOMPARE(customer.size(), 10);
    }

    void search_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // in stdout, or in stderr on failure
        QTest::newRow("hash") << "#12" << 0 << "004711";
        QTest::newRow("number without zeros") << "4711" << 0 << "1 customer(s)";
        QTest::newRow("nothing") << "Zürich" << 0 << "0 customer(s)";
        QTest::newRow("wildcard refused") << "M*ller" << 1 << "Das Suchkriterium ist ungültig!";
    }
    void search()
    {
        QFETCH(QString, key);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        FixtureDb db;
        fill(db);
        const Result result = run(db, {QStringLiteral("--search"), key});
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? result.out : result.err).contains(expected),
                 qPrintable(result.out + result.err));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown format") << QStringList{"--format", "xml"};
        QTest::newRow("unknown option") << QStringList{"--colour"};
        QTest::newRow("stray argument") << QStringList{"all"};
    }
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        FixtureDb db;
        const Result result = run(db, arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        QVERIFY(!result.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(CustomersCommandTest)
#include "CustomersCommandTest.moc"
