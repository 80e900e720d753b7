#include "DbFixture.h"

#include "data/DatabaseSession.h"
#include "data/StringTable.h"
#include "data/UserRoster.h"

#include <QProcess>
#include <QSysInfo>
#include <QTest>

class UserRosterTest : public QObject
{
    Q_OBJECT
private:
    static QStringList computers(Database &db)
    {
        auto roster = OpenUserRoster(db);
        QStringList names;
        for (; roster && !roster->eof(); roster->moveNext())
            names << TrimAtNul(roster->value(0).toString());
        return names;
    }

private slots:
    void trimAtNul_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("padded") << QString::fromUtf8("pc1\0\0\0", 6) << "pc1";
        QTest::newRow("no NUL") << "pc1" << "";
        QTest::newRow("NUL first is skipped") << QString::fromUtf8("\0ab\0", 4)
                                              << QString::fromUtf8("\0ab", 3);
    }
    void trimAtNul()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(TrimAtNul(text), trimmed);
    }

    void twoProgramsShareTheFileAndADeadOneLeavesNoEntry()
    {
        QTemporaryDir dir;
        const QString path = DbFixture::v3(dir);
        Database db;
        db.open(Database::BuildConnectionString(path));
        const QString host = QSysInfo::machineHostName();
        QCOMPARE(computers(db), QStringList{host});

        QProcess other;
        other.start(QStringLiteral(HOLD_DATABASE), {path});
        QVERIFY(other.waitForReadyRead(10000));
        QCOMPARE(other.readAllStandardOutput().trimmed(), QByteArray("open"));
        // Once per connection: this program's and the other one's.
        QCOMPARE(computers(db), (QStringList{host, host}));
        Database second;
        second.open(Database::BuildConnectionString(path));
        QCOMPARE(computers(db).size(), 3);
        second.close();
        QCOMPARE(computers(db).size(), 2);

        other.kill();
        QVERIFY(other.waitForFinished(10000));
        QCOMPARE(computers(db), QStringList{host});
        // Freed records are reused: the roster never grows past the most connections at once.
        second.open(Database::BuildConnectionString(path));
        QCOMPARE(computers(db).size(), 2);
        QCOMPARE(QFileInfo(UserRoster::rosterFile(path)).size(), 3 * UserRoster::recordSize);
    }
};

QTEST_GUILESS_MAIN(UserRosterTest)
#include "UserRosterTest.moc"
