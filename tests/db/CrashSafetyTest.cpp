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

// A program killed in the middle of storing, archiving or compacting leaves a sound database
// that holds each interrupted operation completely or not at all, and no roster entry.
class CrashSafetyTest : public QObject
{
    Q_OBJECT

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
    }
    void killedAtRandom()
    {
        QFETCH(QString, mode);
        QFETCH(QString, incomplete);
        QTemporaryDir dir;
        const QString file = DbFixture::v3(dir);
        QRandomGenerator random(4711);
        for (int kill = 0; kill < 8; ++kill) {
            QProcess worker;
            worker.start(QStringLiteral(CRASH_WORKER), {mode, file});
            QVERIFY(worker.waitForReadyRead(20000));
            QThread::msleep(20 + random.bounded(150));
            ::kill(pid_t(worker.processId()), SIGKILL);
            QVERIFY(worker.waitForFinished(20000));
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
