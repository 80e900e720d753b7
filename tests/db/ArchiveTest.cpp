#include "DbFixture.h"

#include "data/Archive.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/RuntimeError.h"
#include "data/StringTable.h"
#include "data/UserRoster.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class ArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString dbFile;
    DatabaseSession session;

    static int count(const QString &file, const QString &statement)
    {
        Database db;
        db.open(Database::BuildConnectionString(file));
        QSqlQuery query = db.select(statement);
        return query.next() ? query.value(0).toInt() : -1;
    }

    static QByteArray content(const QString &file)
    {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    // Three customers, two of them with tests (one test new), a client and an inspector.
    void fill(int tests)
    {
        Database &db = session.dbConnection;
        for (const char *customer : {"100", "200", "300"}) {
            db.execute(QStringLiteral("INSERT INTO Kunden (ADS_KundenNr, ADS_Name1) VALUES (?, ?)"),
                       {QString::fromLatin1(customer), QStringLiteral("Name ") + customer});
        }
        db.execute(QStringLiteral("INSERT INTO Auftraggeber (Auftraggeber) VALUES ('Stadtwerke')"));
        db.execute(QStringLiteral("INSERT INTO Pruefer (PFU_Name) VALUES ('Meier')"));
        for (int i = 0; i < tests; ++i) {
            db.execute(QStringLiteral("INSERT INTO Pruefungen (PFG_KundenNr, PFG_Pruefart, "
                                      "PFG_Datum, PFG_FabNr, PFG_NeuePruefung, PFG_Druckkurve) "
                                      "VALUES (?, 2, ?, '063 01 00001', ?, ?)"),
                       {i % 2 ? QStringLiteral("100") : QStringLiteral("200"),
                        QStringLiteral("2024-01-01 10:%1:00").arg(i % 60, 2, 10, QChar(u'0')),
                        i == 0 ? 1 : 0, QString(400, u'7')});
        }
    }

private slots:
    void init()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
        session.close();
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.filePath(name));
        dbFile = DbFixture::v3(dir);
        session.dbConnection.open(Database::BuildConnectionString(dbFile));
        CheckDatabaseVersion(session);
    }
    void cleanupTestCase() { session.close(); }

    void names_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("folder");
        QTest::newRow("no base folder") << "" << "/home/u/.local/share/L4/Archiv/";
        QTest::newRow("base folder") << "/srv/archive" << "/srv/archive/Archiv/";
        QTest::newRow("root") << "/" << "/Archiv/";
        QTest::newRow("trailing slash") << "/mnt/usb/" << "/mnt/usb/Archiv/";
    }
    void names()
    {
        QFETCH(QString, base);
        QFETCH(QString, folder);
        QCOMPARE(Archive::folder(QStringLiteral("/home/u/.local/share/L4"), base), folder);
        QCOMPARE(Archive::defaultName(QDate(2015, 3, 11)), QStringLiteral("Archiv vom 11_03_15"));
    }

    void archiveMovesTestsAndKeepsMasterData()
    {
        fill(10);
        QCOMPARE(Archive::newTestCount(session), 1);
        const QString archive = dir.filePath(QStringLiteral("Archiv/Archiv vom 11_03_15.db"));
        const Archive::Result result = Archive::archiveTests(session, archive);
        QCOMPARE(result.tests, 10);
        QCOMPARE(result.customers, 2); // only customers with tests
        QCOMPARE(count(dbFile, QStringLiteral("SELECT count(*) FROM Pruefungen")), 0);
        QCOMPARE(count(dbFile, QStringLiteral("SELECT count(*) FROM Kunden")), 3);
        QCOMPARE(count(dbFile, QStringLiteral("SELECT count(*) FROM Auftraggeber")), 1);
        QCOMPARE(count(dbFile, QStringLiteral("SELECT count(*) FROM Pruefer")), 1);
        QCOMPARE(count(archive, QStringLiteral("SELECT count(*) FROM Pruefungen")), 10);
        QCOMPARE(count(archive, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                               "name IN ('Auftraggeber', 'Pruefer')")), 0);
        QCOMPARE(session.rsPruefungen->recordCount(), 0); // the lists were reread
        QCOMPARE(QFileInfo(archive).permissions() & QFile::ReadOther, QFile::Permissions());
    }

    void existingArchiveIsNeverOverwritten()
    {
        fill(3);
        const QString archive = dir.filePath(QStringLiteral("taken.db"));
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("someone else's file");
        file.close();
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException, Archive::archiveTests(session, archive));
        QCOMPARE(content(archive), QByteArray("someone else's file"));
        QCOMPARE(count(dbFile, QStringLiteral("SELECT count(*) FROM Pruefungen")), 3);
    }

    void failedArchiveLeavesTheDatabaseUnchanged()
    {
        fill(3);
        QFile blocker(dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        // A folder that cannot be made: a file stands where it would be.
        const QString archive = dir.filePath(QStringLiteral("blocker/Archiv/a.db"));
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException, Archive::archiveTests(session, archive));
        QCOMPARE(count(dbFile, QStringLiteral("SELECT count(*) FROM Pruefungen")), 3);
        QVERIFY(!session.dbConnection.inTransaction());
        // The session still works and can archive afterwards.
        Archive::archiveTests(session, dir.filePath(QStringLiteral("ok.db")));
        QCOMPARE(count(dbFile, QStringLiteral("SELECT count(*) FROM Pruefungen")), 0);
    }

    void compactionShrinksAndKeepsEveryRow()
    {
        fill(400);
        session.dbConnection.execute(
            QStringLiteral("DELETE FROM Pruefungen WHERE PFG_KundenNr = '200'"));
        const qint64 before = QFileInfo(dbFile).size();
        const int remaining = count(dbFile, QStringLiteral("SELECT count(*) FROM Pruefungen"));
        // A target left over from an interrupted run is replaced.
        QFile leftover(Archive::compactionTarget(dbFile));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.write("junk");
        leftover.close();

        Archive::RepairCompactDatabase(session, dbFile);
        QVERIFY(QFileInfo(dbFile).size() < before);
        QVERIFY(!QFile::exists(Archive::compactionTarget(dbFile)));
        QVERIFY(!QFile::exists(UserRoster::rosterFile(Archive::compactionTarget(dbFile))));
        QCOMPARE(count(dbFile, QStringLiteral("SELECT count(*) FROM Pruefungen")), remaining);
        QCOMPARE(session.rsPruefungen->recordCount(), remaining);
        QCOMPARE(Archive::compactionTarget(QStringLiteral("/d/Lumetra4Desktop.db")),
                 QStringLiteral("/d/Lumetra4Desktopneu.db"));
    }

    void compactionRefusesWhileAnotherConnectionWorks()
    {
        fill(3);
        Database other;
        other.open(Database::BuildConnectionString(dbFile));
        const QByteArray before = content(dbFile);
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException,
                                 Archive::RepairCompactDatabase(session, dbFile));
        QCOMPARE(content(dbFile), before);
        QVERIFY(session.dbConnection.isOpen());
    }
};

QTEST_GUILESS_MAIN(ArchiveTest)
#include "ArchiveTest.moc"
