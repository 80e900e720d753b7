#include "app/Program.h"
#include "app/frmMain.h"
#include "statistics/frmAbfragen.h"

#include <QMdiArea>
#include "data/Database.h"
#include "data/Schema.h"
#include "data/StringTable.h"
#include "data/UserRoster.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"
#include "support/ScriptedFileDialogs.h"

#include <QAction>
#include <QSqlQuery>
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

    // A home folder that cannot be made (here: below a file, which stops even root) ends the
    // start with the reason, not with a crash or a half-made home.
    void homeThatCannotBeMadeIsReportedAndEnds()
    {
        RecordingMessageBoxes boxes;
        CapturingPresenter errors;
        const QString blocker = root.filePath(QStringLiteral("a-file"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        Program program(blocker + QStringLiteral("/home"));
        QVERIFY(!program.Main());
        QVERIFY(!program.mainWindow());
        const QStringList said = boxes.texts() + errors.messages;
        QVERIFY2(said.join(u'\n').contains(blocker), qPrintable(said.join(u'\n')));
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

    void archiveAndCompactFromTheFileMenu()
    {
        RecordingMessageBoxes boxes;
        ScriptedFileDialogs dialogs;
        const QString home = newHome();
        Program program(home);
        QVERIFY(program.Main());
        Database &db = program.session().dbConnection;
        db.execute(QStringLiteral("INSERT INTO Kunden (ADS_KundenNr) VALUES ('1')"));
        db.execute(QStringLiteral("INSERT INTO Pruefungen (PFG_KundenNr, PFG_NeuePruefung, "
                                  "PFG_FabNr) VALUES ('1', 1, '063 01 00001')"));
        auto tests = [&db] {
            QSqlQuery query = db.select(QStringLiteral("SELECT count(*) FROM Pruefungen"));
            return query.next() ? query.value(0).toInt() : -1;
        };
        QAction *archive = program.mainWindow()->menuItem(QStringLiteral("mnuDateiArchivieren"));

        // Unfiled tests, and the user answers No: nothing happens, no dialog.
        archive->trigger();
        QCOMPARE(boxes.questions.size(), 1);
        QVERIFY(boxes.questions[0].startsWith(QStringLiteral("Es sind noch neue Prüfungen")));
        QVERIFY(dialogs.titles.isEmpty());
        QCOMPARE(tests(), 1);

        // Yes; a wrong extension and an existing name open the dialog again.
        const QString taken = home + QStringLiteral("/taken.db");
        QFile(taken).open(QIODevice::WriteOnly);
        const QString target = home + QStringLiteral("/Archiv/first.db");
        dialogs.answers = {home + QStringLiteral("/a.txt"), taken, target};
        boxes.answers = {true, true};
        archive->trigger();
        QCOMPARE(dialogs.titles, QStringList(3, QStringLiteral("Archiv speichern")));
        QVERIFY(dialogs.proposals[0].startsWith(home + QStringLiteral("/Archiv/Archiv vom ")));
        QVERIFY(boxes.texts().contains(QStringLiteral(
            "Die Datei ist schon vorhanden!\nBitte geben Sie einen anderen Dateinamen an.")));
        QVERIFY(QFile::exists(target));
        QCOMPARE(tests(), 0);

        // The archive opens in a statistics window of its own; the item waits for it to close.
        QAction *openArchive =
            program.mainWindow()->menuItem(QStringLiteral("mnuDateiArchivoeffnen"));
        dialogs.answers = {home + QStringLiteral("/missing.db"), target};
        openArchive->trigger();
        auto *archiveWindow = qobject_cast<frmAbfragen *>(program.mainWindow()->activeChild());
        QVERIFY(archiveWindow);
        QCOMPARE(archiveWindow->windowKind(), WindowKind::ArchiveStatistics);
        QVERIFY(!openArchive->isEnabled());
        program.mainWindow()->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(openArchive->isEnabled());

        boxes.answers = {true};
        program.mainWindow()->menuItem(QStringLiteral("mnuDateiCompact"))->trigger();
        QCOMPARE(boxes.shown.last().text, QStringLiteral("Reparatur / Komprimierung abgeschlossen!"));
        QVERIFY(program.session().dbConnection.isOpen());
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
