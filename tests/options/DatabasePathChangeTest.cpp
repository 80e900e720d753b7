#include "OptionsFixture.h"
#include "ScriptedQuestions.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/FileLocations.h"
#include "data/IniFile.h"
#include "data/ProgramDatabase.h"
#include "data/StringTable.h"
#include "options/DatabasePathChange.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using Outcome = DatabasePathChange::Outcome;

namespace {

const QDateTime fixedTime(QDate(2024, 2, 1), QTime(10, 11, 12));
const QString backupFile = QStringLiteral("Lumetra4Desktop 01_02_2024 10_11_12.db");

} // namespace

class DatabasePathChangeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { LoadColumnCaptions(); }

    void backupNames()
    {
        QTemporaryDir dir;
        const QString first = DatabasePathChange::backupName(dir.path(), fixedTime);
        QCOMPARE(first, dir.filePath(backupFile));
        QFile(first).open(QIODevice::WriteOnly);
        QCOMPARE(DatabasePathChange::backupName(dir.path(), fixedTime),
                 dir.filePath(QStringLiteral("Lumetra4Desktop 01_02_2024 10_11_12_2.db")));
    }

    void change_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("iniBroken");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("sessionMarker"); // empty: the session stays closed
        QTest::addColumn<QString>("newFileMarker");
        QTest::addColumn<QString>("newBackupMarker");
        QTest::addColumn<int>("failure");

        const QList<bool> yes{true}, no{false}, yesYes{true, true}, yesNo{true, false};
        const int notChanged = int(Outcome::NotChanged), changed = int(Outcome::Changed);
        // The working database is "old"; a database found in the new folder is "there".
        QTest::newRow("empty folder, copied") << "empty" << yes << false << changed << "old"
                                              << "old" << "" << 0;
        QTest::newRow("empty folder, refused") << "empty" << no << false << notChanged << "old"
                                               << "" << "" << 0;
        QTest::newRow("own database, adopted") << "own" << yesYes << false << changed << "there"
                                               << "there" << "" << 0;
        QTest::newRow("own database, replaced") << "own" << yesNo << false << changed << "old"
                                                << "old" << "there" << 0;
        QTest::newRow("other computer, adopted") << "other" << yesYes << false
                                                 << int(Outcome::EndProgram) << "" << "there"
                                                 << "" << 0;
        QTest::newRow("other computer, refused") << "other" << yesNo << false << notChanged
                                                 << "old" << "there" << "" << 0;
        QTest::newRow("same folder") << "same" << yes << false << notChanged << "old" << "old"
                                     << "" << 0;
        QTest::newRow("missing folder") << "missing" << yes << false << notChanged << "old" << ""
                                        << "" << 76;
        QTest::newRow("a file, not a folder") << "file" << yes << false << notChanged << "old"
                                              << "" << "" << 76;
        QTest::newRow("folder not writable") << "readOnly" << yes << false << notChanged << "old"
                                             << "" << "" << 75;
        QTest::newRow("no database there") << "garbage" << yesYes << false << notChanged << "old"
                                           << "garbage" << "" << 3343;
        QTest::newRow("newer database adopted") << "newer" << yesYes << false << notChanged
                                                << "old" << "there" << "" << 3447;
        QTest::newRow("copy blocked") << "partBlocked" << yes << false << notChanged << "old"
                                      << "" << "" << 3204;
        QTest::newRow("settings not writable, copy") << "empty" << yes << true << notChanged
                                                     << "old" << "" << "" << 75;
        QTest::newRow("settings not writable, replace") << "own" << yesNo << true << notChanged
                                                        << "old" << "there" << "" << 75;
    }

    void change()
    {
        QFETCH(QString, target);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, iniBroken);
        QFETCH(int, outcome);
        QFETCH(QString, sessionMarker);
        QFETCH(QString, newFileMarker);
        QFETCH(QString, newBackupMarker);
        QFETCH(int, failure);

        QTemporaryDir root;
        const QString home = root.filePath(QStringLiteral("home"));
        const QString oldFolder = root.filePath(QStringLiteral("old"));
        QString newFolder = root.filePath(QStringLiteral("new"));
        QDir().mkpath(home);
        QDir().mkpath(oldFolder);
        FileLocations locations(home);
        locations.setDbFolder(oldFolder);
        OptionsFixture::createDatabase(locations.dbFile, QStringLiteral("old"));
        const QString iniPath = home + QStringLiteral("/Lumetra4Desktop.ini");
        // A settings file that cannot be read is never written over.
        QVERIFY(iniBroken ? QDir().mkpath(iniPath) : true);
        IniFile ini(iniPath);
        if (!iniBroken)
            QVERIFY(ini.write(QStringLiteral("Pfade"), QStringLiteral("Datenbank"), oldFolder));

        const QString newFile = newFolder + QStringLiteral("/Lumetra4Desktop.db");
        int otherComputer = -1;
        if (target != QLatin1String("missing") && target != QLatin1String("file"))
            QDir().mkpath(newFolder);
        if (target == QLatin1String("own") || target == QLatin1String("other")
            || target == QLatin1String("newer"))
            OptionsFixture::createDatabase(newFile, QStringLiteral("there"));
        if (target == QLatin1String("newer")) {
            Database there;
            there.open(Database::BuildConnectionString(newFile));
            there.execute(QStringLiteral("UPDATE DatenbankINI SET Datenbankversion = 'V9.00.00'"));
        }
        if (target == QLatin1String("other")) {
            otherComputer = OptionsFixture::holdOpenOnOtherComputer(newFile, "OTHER-PC");
            QVERIFY(otherComputer >= 0);
        }
        if (target == QLatin1String("file"))
            QFile(newFolder).open(QIODevice::WriteOnly);
        if (target == QLatin1String("garbage")) {
            QFile file(newFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("garbage");
        }
        if (target == QLatin1String("partBlocked"))
            QDir().mkpath(newFile + QStringLiteral(".part/inside"));
        if (target == QLatin1String("readOnly")) {
            if (geteuid() == 0)
                QSKIP("root writes into any folder");
            QFile::setPermissions(newFolder, QFile::ReadOwner | QFile::ExeOwner);
        }
        if (target == QLatin1String("same"))
            newFolder = oldFolder + u'/';

        DatabaseSession session;
        openProgramDatabase(session, locations.dbFile);
        ScriptedQuestions questions;
        questions.answers = answers;
        DatabasePathChange change(session, locations, ini, questions);
        change.setClock([] { return fixedTime; });
        QCOMPARE(int(change.run(newFolder)), outcome);
        if (otherComputer >= 0)
            ::close(otherComputer);
        QFile::setPermissions(newFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        // The failure that was reported, and nothing else.
        QCOMPARE(questions.failures.size(), failure ? 1 : 0);
        if (failure)
            QCOMPARE(questions.failures.first().number, failure);

        // The session works on the folder the settings name.
        const bool moved = outcome != int(Outcome::NotChanged);
        const QString expectedFolder = moved ? QDir::cleanPath(newFolder) : oldFolder;
        QCOMPARE(locations.dbFolder, expectedFolder);
        if (!iniBroken)
            QCOMPARE(ini.read(QStringLiteral("Pfade"), QStringLiteral("Datenbank"), {}),
                     expectedFolder);
        if (sessionMarker.isEmpty()) {
            QVERIFY(!session.dbConnection.isOpen());
        } else {
            QVERIFY(session.rsKunden);
            QCOMPARE(QFileInfo(session.dbConnection.filePath()).canonicalFilePath(),
                     QFileInfo(locations.dbFile).canonicalFilePath());
            QCOMPARE(OptionsFixture::markerOf(session.dbConnection), sessionMarker);
        }
        session.close();

        // The old database is never lost: in place, or under its dated backup name.
        const QString oldFile = oldFolder + QStringLiteral("/Lumetra4Desktop.db");
        const QString oldBackup = oldFolder + u'/' + backupFile;
        if (target != QLatin1String("same")) {
            QCOMPARE(OptionsFixture::markerOf(moved ? oldBackup : oldFile), QStringLiteral("old"));
            QVERIFY(!QFile::exists(moved ? oldFile : oldBackup));
            QCOMPARE(OptionsFixture::markerOf(newFile), newFileMarker);
            QCOMPARE(OptionsFixture::markerOf(newFolder + u'/' + backupFile), newBackupMarker);
            QVERIFY(!QFileInfo(newFile + QStringLiteral(".part")).isFile());
        } else {
            QCOMPARE(OptionsFixture::markerOf(oldFile), QStringLiteral("old"));
            QVERIFY(questions.asked.isEmpty());
        }
        if (outcome == int(Outcome::EndProgram))
            QCOMPARE(questions.informed, QStringList({resString(25588),
                                                      otherComputerMessage("OTHER-PC")}));
        else if (outcome == int(Outcome::Changed))
            QCOMPARE(questions.informed, QStringList{resString(25588)});
    }

    void questionTexts()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        QTemporaryDir root;
        FileLocations locations(root.path());
        OptionsFixture::createDatabase(locations.dbFile, QStringLiteral("old"));
        const QString newFolder = root.filePath(QStringLiteral("neu"));
        QDir().mkpath(newFolder);
        OptionsFixture::createDatabase(newFolder + QStringLiteral("/Lumetra4Desktop.db"),
                                       QStringLiteral("there"));
        IniFile ini(root.filePath(QStringLiteral("Lumetra4Desktop.ini")));
        DatabaseSession session;
        openProgramDatabase(session, locations.dbFile);
        ScriptedQuestions questions;
        questions.answers = {true, false};
        DatabasePathChange(session, locations, ini, questions).run(newFolder);
        QCOMPARE(questions.asked,
                 QStringList({QStringLiteral("Möchten Sie den Datenbankpfad der Datenbank "
                                             "\"Lumetra4Desktop.db\" von:\n\n%1\n\nnach:\n\n%2"
                                             " ändern?").arg(root.path(), newFolder),
                              QStringLiteral("In dem von Ihnen angegebenen Verzeichnis liegt "
                                             "bereits eine gleichlautende Datenbank.\nMöchten "
                                             "Sie diese Datenbank für Ihre Anwendung "
                                             "übernehmen?")}));
    }
};

QTEST_GUILESS_MAIN(DatabasePathChangeTest)
#include "DatabasePathChangeTest.moc"
