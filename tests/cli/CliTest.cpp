#include "support/CliRun.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Runs the command line front end as a user would.
class CliTest : public QObject
{
    Q_OBJECT
private slots:
    void run_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("version") << QStringList{"--version"} << QStringList{} << 0 << "1.12.0\n";
        QTest::newRow("German strings")
            << QStringList{"strings", "203", "26953"} << QStringList{"LUMETRA4_LANG=de"} << 0
            << "Gebrauchsfähigkeitsprüfung\nmbar\n";
        QTest::newRow("English test kind")
            << QStringList{"strings", "203"} << QStringList{"LUMETRA4_LANG=en"} << 0
            << "Test of Working Order\n";
        QTest::newRow("British language number")
            << QStringList{"strings", "5"} << QStringList{"LANG=en_GB.UTF-8"} << 0 << "2\n";
        QTest::newRow("German from the locale")
            << QStringList{"strings", "5"} << QStringList{"LANG=de_DE.UTF-8"} << 0 << "1\n";
        QTest::newRow("unknown language is English")
            << QStringList{"strings", "203"} << QStringList{"LANG=fr_FR.UTF-8"} << 0
            << "Test of Working Order\n";
        QTest::newRow("missing number is empty")
            << QStringList{"strings", "99999"} << QStringList{"LUMETRA4_LANG=de"} << 0 << "\n";
        QTest::newRow("not a number") << QStringList{"strings", "x"} << QStringList{} << 2 << "";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << QStringList{} << 2 << "";
    }
    void run()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LUMETRA4_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            env.remove(QLatin1String(name));
        for (const QString &assignment : environment)
            env.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(LUMETRA4_CLI), arguments);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), exitCode);
        if (exitCode == 0)
            QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), output);
        else
            QVERIFY(!process.readAllStandardError().isEmpty());
    }

    // The program run from where it was built finds its shipped templates, as installed.
    void protocolWithTheShippedTemplates()
    {
        QTemporaryDir home;
        QVERIFY(runCli(home.path(), {"init"}).exitCode == 0);
        const CliResult imported = runCli(
            home.path(), {"import-ir", "--folder", LUMETRA4_SOURCE_DIR "/tests/fixtures/infrared/demo"});
        QVERIFY2(imported.exitCode == 0, qPrintable(imported.err));
        const QString pdf = home.filePath(QStringLiteral("protocol.pdf"));
        const CliResult printed = runCli(home.path(), {"print-protocol", "--new", "--pdf", pdf});
        QVERIFY2(printed.exitCode == 0, qPrintable(printed.err));
        QVERIFY(QFileInfo(pdf).size() > 1000);
    }

    void configReadsAndSetsWithTheDialogsChecks()
    {
        QTemporaryDir home;
        const auto config = [&home](const QStringList &arguments, int *exitCode) {
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("LUMETRA4_HOME"), home.path());
            process.setProcessEnvironment(env);
            process.start(QStringLiteral(LUMETRA4_CLI), QStringList{"config"} + arguments);
            process.waitForFinished(30000);
            *exitCode = process.exitCode();
            return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        };
        int exitCode = -1;
        QCOMPARE(config({"TimeOut"}, &exitCode), QStringLiteral("TimeOut=3000"));
        QCOMPARE(config({"timeout", "200"}, &exitCode), QStringLiteral("TimeOut=500"));
        QCOMPARE(config({"TimeOut", "45000"}, &exitCode), QStringLiteral("TimeOut=30000"));
        QCOMPARE(config({"TimeOut", "abc"}, &exitCode), QStringLiteral("TimeOut=3000"));
        QCOMPARE(config({"AutoCommPort", "no"}, &exitCode), QStringLiteral("AutoCommPort=0"));
        config({"CommPort", "9"}, &exitCode);
        QCOMPARE(exitCode, 2);
        config({"Archiv", home.filePath(QStringLiteral("missing"))}, &exitCode);
        QCOMPARE(exitCode, 2);
        QCOMPARE(config({"Archiv", ""}, &exitCode), QStringLiteral("Archiv="));
        QVERIFY(config({}, &exitCode).contains(QStringLiteral("CommPort=0")));
    }

    void everyCommandAnswersHelp()
    {
        QProcess process;
        process.start(QStringLiteral(LUMETRA4_CLI), {QStringLiteral("--help")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        const QString help = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString &line : help.split(u'\n')) {
            if (!line.startsWith(QLatin1String("  ")) || line.startsWith(QLatin1String("  --")))
                continue;
            const QString command = line.trimmed().section(u' ', 0, 0);
            QProcess sub;
            sub.start(QStringLiteral(LUMETRA4_CLI), {command, QStringLiteral("--help")});
            QVERIFY(sub.waitForFinished(30000));
            QVERIFY2(sub.exitCode() == 0 && !sub.readAllStandardOutput().isEmpty(),
                     qPrintable(command));
        }
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "CliTest.moc"
