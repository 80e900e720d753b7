#include "DbFixture.h"

#include "data/UserRoster.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

// A program killed in the middle of storing, archiving, compacting, filing or importing leaves
// a sound database that holds each interrupted operation completely or not at all, and no
// roster entry. LUMETRA4_CRASH_KILLS sets the kills per operation (8), LUMETRA4_CRASH_SEED the
// seed of the moments to kill at (4711), so a long run can try many more moments.
class CrashSafetyTest : public QObject
{
    Q_OBJECT

    int m_kills = 8;
    quint32 m_seed = 4711;

    static QString check(const QString &file, const QString &statement)
    {
        Database db;
        db.open(Database::BuildConnectionString(file));
        const QString problems = db.integrityProblems();
        if (!problems.isEmpty())
            return QStringLiteral("damaged: ") + problems;
        QSqlQuery query = db.select(statement);
        QStringList broken;
        while (query.next())
            broken << query.value(0).toString();
        return broken.join(u',');
    }

private slots:
    void initTestCase()
    {
        bool ok = false;
        const int kills = qEnvironmentVariableIntValue("LUMETRA4_CRASH_KILLS", &ok);
        if (ok)
            m_kills = kills;
        const quint32 seed = qEnvironmentVariable("LUMETRA4_CRASH_SEED").toUInt(&ok);
        if (ok)
            m_seed = seed;
        qInfo("%d kills per operation, seed %u", m_kills, m_seed);
    }

    void killedAtRandom_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("incomplete"); // rows that show an operation half done
        // A batch of 50 tests is stored whole or not at all.
        const QString partialBatches = QStringLiteral(
            "SELECT PFG_Bemerkung FROM Pruefungen GROUP BY PFG_Bemerkung HAVING count(*) <> 50");
        QTest::newRow("store") << "store" << partialBatches;
        QTest::newRow("compact") << "compact" << partialBatches;
        QTest::newRow("archive") << "archive" << partialBatches;
        // A test is filed together with its customer: a filed test names an existing customer,
        // and a customer's meter number is the one of the last test filed under it (the first
        // meter number while none is). A filing run goes test by test, each in its own
        // transaction, so a run killed halfway leaves the rest of its tests new.
        QTest::newRow("file") << "file" << QStringLiteral(
            "SELECT 'unlinked test ' || PFG_ID FROM Pruefungen WHERE PFG_NeuePruefung = 0 "
            "AND PFG_KundenNr NOT IN (SELECT ADS_KundenNr FROM Kunden) "
            "UNION ALL SELECT 'customer ' || ADS_KundenNr FROM Kunden WHERE ADS_ZaehlerNr IS NOT "
            "(SELECT coalesce(max(PFG_ZaehlerNr), '2000000') FROM Pruefungen "
            "WHERE PFG_KundenNr = ADS_KundenNr AND PFG_NeuePruefung = 0)");
        // An import of 200 customers, each carrying its run in the place, goes in whole or not
        // at all, and never adds a customer number twice.
        QTest::newRow("import") << "import" << QStringLiteral(
            "SELECT ADS_Ort || ': ' || count(*) FROM Kunden GROUP BY ADS_Ort "
            "HAVING count(*) <> 200 "
            "UNION ALL SELECT 'twice ' || ADS_KundenNr FROM Kunden "
            "GROUP BY lower(ADS_KundenNr) HAVING count(*) > 1");
    }
    void killedAtRandom()
    {
        QFETCH(QString, mode);
        QFETCH(QString, incomplete);
        QTemporaryDir dir;
        const QString file = DbFixture::v3(dir);
        QRandomGenerator random(m_seed);
        for (int kill = 0; kill < m_kills; ++kill) {
            QProcess worker;
            worker.start(QStringLiteral(CRASH_WORKER), {mode, file});
            QVERIFY(worker.waitForReadyRead(20000));
            QThread::msleep(20 + random.bounded(150));
            ::kill(pid_t(worker.processId()), SIGKILL);
            QVERIFY(worker.waitForFinished(20000));
            // Killed while working, not ended by a failure of its own.
            QVERIFY2(worker.exitStatus() == QProcess::CrashExit,
                     worker.readAllStandardError().constData());
            QCOMPARE(check(file, incomplete), QString());
            QVERIFY(UserRoster::entries(file).isEmpty());
            // Every archive under its real name is complete.
            for (const QString &archive : QDir(dir.path()).entryList({"*.archive-*.db"}))
                QCOMPARE(check(dir.filePath(archive), incomplete), QString());
        }
    }
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "CrashSafetyTest.moc"
