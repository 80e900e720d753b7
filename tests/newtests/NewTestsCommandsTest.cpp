#include "NewTestsFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace NewTestsFixture;

class NewTestsCommandsTest : public QObject
{
    Q_OBJECT

    static QString run(FixtureDb &db, const QStringList &arguments, int expectedExit)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LUMETRA4_HOME"), db.dir.path());
        environment.insert(QStringLiteral("LUMETRA4_LANG"), QStringLiteral("de"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LUMETRA4_CLI), arguments);
        if (!process.waitForFinished(60000))
            qFatal("lumetra4 did not finish");
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        if (process.exitCode() != expectedExit)
            qWarning("%s", qPrintable(output + QString::fromUtf8(process.readAllStandardError())));
        [&] { QCOMPARE(process.exitCode(), expectedExit); }();
        return output;
    }

    static void fill(FixtureDb &db)
    {
        db.addCustomer({"42", "Eindeutig", {}, {}, {}, {}, {}, {}, "1111"});
        db.addCustomer({"123", "Erster"});
        db.addCustomer({"1234", "Zweiter"});
        db.addTest({.kundenNr = "42", .zaehlerNr = "4711", .befund = 2});
        db.addTest({.kundenNr = "123"});
        db.addTest({.kundenNr = "M5"});
        db.addTest({.kundenNr = "900", .neu = false});
    }

private slots:
    void listsNewTests()
    {
        FixtureDb db;
        fill(db);
        const QString output = run(db, {QStringLiteral("tests"), QStringLiteral("--new")}, 0);
        QVERIFY(output.contains(QStringLiteral("nOK")));
        QVERIFY(output.contains(QStringLiteral("M5")));
        QVERIFY(!output.contains(QStringLiteral("900")));
        QVERIFY(output.contains(QStringLiteral("3 new test(s)")));
    }

    void filesAutomatically_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("meterAfter");
        QTest::newRow("default keeps the meter") << "" << "1111";
        QTest::newRow("keep") << "--keep-meter" << "1111";
        QTest::newRow("replace") << "--yes-replace-meter" << "4711";
    }
    void filesAutomatically()
    {
        QFETCH(QString, option);
        QFETCH(QString, meterAfter);
        FixtureDb db;
        fill(db);
        QStringList arguments{QStringLiteral("file"), QStringLiteral("--auto")};
        if (!option.isEmpty())
            arguments << option;
        const QString output = run(db, arguments, 0);
        QVERIFY2(output.contains(QStringLiteral("filed     42 (meter 4711) under customer 42")),
                 qPrintable(output));
        QVERIFY(output.contains(QStringLiteral("stays new 123 (meter 00000000): 2 customers")));
        QVERIFY(output.contains(QStringLiteral("stays new M5")));
        QVERIFY(output.contains(QStringLiteral("1 of 3 new test(s) filed")));
        QCOMPARE(db.column("PFG_NeuePruefung"), (QVariantList{0, 1, 1, 0}));
        QCOMPARE(db.scalar("SELECT ADS_ZaehlerNr FROM Kunden WHERE ADS_KundenNr = '42'")
                     .toString(), meterAfter);
    }

    void listsTestsByTheStatisticsCriteria()
    {
        FixtureDb db;
        fill(db);
        const QStringList filed =
            run(db, {"tests", "--filed", "--format", "csv"}, 0).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(filed.size(), 2); // heading and the one filed test
        QVERIFY(filed[1].section(u';', 1, 1) == QLatin1String("900"));

        const QJsonArray found = QJsonDocument::fromJson(
            run(db, {"tests", "--new", "--finding", "2", "--format", "json"}, 0).toUtf8()).array();
        QCOMPARE(found.size(), 1);
        QVERIFY(found[0].toObject().value("id").toInteger() > 0);
        QCOMPARE(found[0].toObject().value("values").toObject().value("Kunden-Nr").toString(),
                 QStringLiteral("42"));
        QVERIFY(run(db, {"tests", "--new", "--customer", "12*"}, 0).contains(u'1' + QStringLiteral(" test(s)")));

        // An archive is read with the same criteria.
        const QString archive = db.dir.filePath(QStringLiteral("archiv.db"));
        run(db, {"archive", "--force-with-new-tests", "--to", archive}, 0);
        QVERIFY(run(db, {"tests", "--filed"}, 0).contains(QStringLiteral("0 test(s)")));
        QVERIFY(run(db, {"tests", "--archive", archive, "--filed"}, 0)
                    .contains(QStringLiteral("1 test(s)")));
    }

    void refusesWrongArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("file without --auto") << QStringList{"file"};
        QTest::newRow("both meter options")
            << QStringList{"file", "--auto", "--keep-meter", "--yes-replace-meter"};
        QTest::newRow("tests with a bad criterion") << QStringList{"tests", "--kind", "7"};
    }
    void refusesWrongArguments()
    {
        QFETCH(QStringList, arguments);
        FixtureDb db;
        fill(db);
        run(db, arguments, 2);
        QCOMPARE(db.column("PFG_NeuePruefung"), (QVariantList{1, 1, 1, 0}));
    }
};

QTEST_GUILESS_MAIN(NewTestsCommandsTest)
#include "NewTestsCommandsTest.moc"
