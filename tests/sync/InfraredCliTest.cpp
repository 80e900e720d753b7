#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString fixtures = QStringLiteral(INFRARED_FIXTURES);

struct Run
{
    int exitCode = -1;
    QString output;
    QString errors;
};

} // namespace

// lumetra4 import-ir as a user runs it, on a home folder of its own.
class InfraredCliTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        m_language = QStringLiteral("en");
        QCOMPARE(lumetra4({"init"}).exitCode, 0);
        m_folder = m_home->filePath(QStringLiteral("infrared"));
        QVERIFY(QDir().mkpath(m_folder));
    }

    void importsOnceThenDeletesAsConfigured()
    {
        copyFixture(QStringLiteral("demo"));
        Run run = lumetra4({"import-ir", "--folder", m_folder});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QStringLiteral("4 tests stored, 0 already present, 0 invalid\n"));
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), 5);
        QVERIFY(lumetra4({"tests", "--new"}).output.endsWith("4 new test(s)\n"));

        // The configured folder, with deleting synchronised tests switched on.
        QFile ini(m_home->filePath(QStringLiteral("Lumetra4Desktop.ini")));
        QVERIFY(ini.open(QIODevice::Append));
        ini.write("[frmMain]\r\nInfrarotPath=" + m_folder.toUtf8()
                  + "\r\nDeleteSyncedPruef=-1\r\n");
        ini.close();
        run = lumetra4({"import-ir"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QStringLiteral("0 tests stored, 4 already present, 0 invalid\n"));
        QCOMPARE(QDir(m_folder).entryList(QDir::Files), QStringList{"notes.txt"});

        run = lumetra4({"import-ir"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QStringLiteral("0 tests stored, 0 already present, 0 invalid\n"));
        QVERIFY2(!run.errors.contains("Error"), qPrintable(run.errors));
    }

    void failedRunStoresAndDeletesNothing_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("damaged files")
            << "damaged" << "infrared" << "en" << "0 tests stored, 0 already present, 2 invalid"
            << QStringList{"LU4_0002.TXT", "LU4_0003.TXT"};
        QTest::newRow("damaged files in German")
            << "damaged" << "infrared" << "de"
            << QString::fromUtf8("0 Prüfungen gespeichert, 0 bereits vorhanden, 2 ungültig")
            << QStringList{"LU4_0002.TXT", "Die Datei"};
        QTest::newRow("missing folder")
            << "demo" << "gone" << "en" << "0 tests stored, 0 already present, 0 invalid"
            << QStringList{"gone\""};
    }

    void failedRunStoresAndDeletesNothing()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, folder);
        QFETCH(QString, language);
        QFETCH(QString, summary);
        QFETCH(QStringList, named);
        copyFixture(fixture);
        const QStringList before = QDir(m_folder).entryList(QDir::Files);
        m_language = language;
        const Run run = lumetra4({"import-ir", "--delete", "--folder",
                                  m_home->filePath(folder)});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.output, summary + u'\n');
        for (const QString &name : named)
            QVERIFY2(run.errors.contains(name), qPrintable(run.errors));
        QCOMPARE(QDir(m_folder).entryList(QDir::Files), before);
        QVERIFY(lumetra4({"tests", "--new"}).output.endsWith("0 new test(s)\n"));
    }

    void refusesUnknownArguments()
    {
        QCOMPARE(lumetra4({"import-ir", "--folder"}).exitCode, 2);
        QCOMPARE(lumetra4({"import-ir", "--quick"}).exitCode, 2);
        const Run help = lumetra4({"import-ir", "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.output.startsWith("Usage: lumetra4 import-ir"));
    }

private:
    Run lumetra4(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("LUMETRA4_LANG"), m_language);
        env.insert(QStringLiteral("LUMETRA4_HOME"), m_home->path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(LUMETRA4_CLI), arguments);
        if (!process.waitForFinished(30000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    void copyFixture(const QString &name)
    {
        const QDir source(fixtures + u'/' + name);
        for (const QString &file : source.entryList(QDir::Files))
            QVERIFY(QFile::copy(source.filePath(file), QDir(m_folder).filePath(file)));
    }

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_folder;
    QString m_language;
};

QTEST_GUILESS_MAIN(InfraredCliTest)
#include "InfraredCliTest.moc"
