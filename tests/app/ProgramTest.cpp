#include "app/Program.h"
#include "app/frmMain.h"
#include "data/Database.h"
#include "data/Schema.h"
#include "data/StringTable.h"
#include "data/UserRoster.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

class ProgramTest : public QObject
{
    Q_OBJECT

    QTemporaryDir root;
    int homes = 0;

    QString newHome() { return root.filePath(QStringLiteral("home%1").arg(++homes)); }

    static void writeIni(const QString &home, const QByteArray &content)
    {
        QDir().mkpath(home);
        QFile file(home + QStringLiteral("/Lumetra4Desktop.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static QByteArray digest(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
    }

private slots:
    void initTestCase() { StringTable::setLanguage(QStringLiteral("de")); }

    void firstStartCreatesHomeAndEmptyDatabase()
    {
        RecordingMessageBoxes boxes;
        const QString home = newHome();
        Program program(home);
        QVERIFY(program.Main());
        QVERIFY(QFile::exists(home + QStringLiteral("/Lumetra4Desktop.db")));
        QVERIFY(program.mainWindow()->menuItem(QStringLiteral("mnuEdit"))->isEnabled());
        QVERIFY(program.session().rsPruefungen);
        QVERIFY(boxes.shown.isEmpty());
    }

    void missingDatabaseIsReportedAndEnds()
    {
        RecordingMessageBoxes boxes;
        const QString home = newHome();
        const QString elsewhere = root.filePath(QStringLiteral("no-database-here"));
        writeIni(home, "[Pfade]\nDatenbank=" + elsewhere.toUtf8() + "\n");
        Program program(home);
        QVERIFY(!program.Main());
        QVERIFY(!program.mainWindow());
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].icon, MessageBoxes::Icon::Critical);
        QCOMPARE(boxes.shown[0].title, QStringLiteral("Lumetra4Desktop - Error"));
        QCOMPARE(boxes.shown[0].text,
                 QStringLiteral("Datenbank nicht gefunden:\n%1/Lumetra4Desktop.db\n"
                                "Bitte prüfen Sie den Datenbankpfad in der INI-Datei.\n"
                                "Das Programm wird beendet.").arg(elsewhere));
        QCOMPARE(program.ini().read("Pfade", "Datenbank", {}), elsewhere);
        QVERIFY(!QFile::exists(elsewhere + QStringLiteral("/Lumetra4Desktop.db")));
    }

    void refusesADatabaseOpenOnAnotherComputer()
    {
        RecordingMessageBoxes boxes;
        const QString home = newHome();
        QDir().mkpath(home);
        const QString db = home + QStringLiteral("/Lumetra4Desktop.db");
        Schema::createEmptyDatabase(db);

        // Another computer's connection: a roster record held under its lock.
        const int fd = ::open(QFile::encodeName(UserRoster::rosterFile(db)).constData(),
                              O_RDWR | O_CREAT, 0600);
        QVERIFY(fd >= 0);
        QByteArray record("OTHER-PC");
        record.resize(UserRoster::recordSize, '\0');
        QCOMPARE(::pwrite(fd, record.constData(), record.size(), 0), qint64(record.size()));
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0;
        lock.l_len = UserRoster::recordSize;
        QCOMPARE(fcntl(fd, F_OFD_SETLK, &lock), 0);

        Program program(home);
        QVERIFY(!program.Main());
        ::close(fd);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text,
                 QStringLiteral("Die Anwendung wird zur Zeit von dem Rechner \nOTHER-PC verwendet "
                                "und kann daher\nkein zweites Mal gestartet werden."));
        QVERIFY(!program.mainWindow());
    }

    void twoProgramsOnThisComputerShareTheDatabase()
    {
        RecordingMessageBoxes boxes;
        const QString home = newHome();
        Program first(home);
        QVERIFY(first.Main());
        Program second(home);
        QVERIFY(second.Main());
        QVERIFY(boxes.shown.isEmpty());
    }

    void newerDatabaseIsRefusedUnchanged()
    {
        RecordingMessageBoxes boxes;
        CapturingPresenter errors;
        const QString home = newHome();
        QDir().mkpath(home);
        const QString db = home + QStringLiteral("/Lumetra4Desktop.db");
        Schema::createEmptyDatabase(db);
        {
            Database database;
            database.open(Database::BuildConnectionString(db));
            database.execute(QStringLiteral("UPDATE DatenbankINI SET Datenbankversion = 'V9.00.00'"));
        }
        const QByteArray before = digest(db);
        Program program(home);
        QVERIFY(!program.Main());
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages[0].contains(QLatin1String("V9.00.00")));
        QVERIFY(!program.mainWindow());
        QCOMPARE(digest(db), before);
    }
};

QTEST_MAIN(ProgramTest)
#include "ProgramTest.moc"
