#include "DbFixture.h"
#include "support/CapturingPresenter.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseError.h"
#include "data/DatabaseSession.h"
#include "data/Schema.h"
#include "data/StringTable.h"

#include <QFile>
#include <QTest>

namespace {

const QStringList v1Columns = {
    "PFG_KundenNr", "PFG_Pruefart", "PFG_Druck", "PFG_EndDruck", "PFG_Fluss", "PFG_Gasart",
    "PFG_Befund", "PFG_Datum", "PFG_Pruefer", "PFG_Druckkurve", "PFG_Flusskurve",
    "PFG_Auftraggeber", "PFG_FabNr", "PFG_Dauer", "PFG_Bemerkung", "PFG_NeuePruefung",
    "PFG_Fliessdruck", "PFG_Ruhedruck", "PFG_SAVDruck", "PFG_Befund_Nullabschluss",
    "PFG_Befund_GMSicherung"};
const QStringList v2Columns = v1Columns + QStringList{"PFG_ZaehlerNr"};
const QStringList v3Columns = v2Columns + QStringList{"PFG_LeitungsVol", "PFG_Messzeit",
                                                      "PFG_RefDruck", "PFG_Leckrate"};

QString kindName(Database &db, int kind)
{
    QSqlQuery query = db.select(QStringLiteral("SELECT PRF_Pruefbezeichnung FROM Pruefarten "
                                               "WHERE PRF_Pruefart = ?"), {kind});
    return query.next() ? query.value(0).toString() : QString();
}

int errorNumber(const std::function<void()> &action)
{
    try {
        action();
    } catch (const RuntimeErrorException &error) {
        return error.error().number;
    }
    return 0;
}

} // namespace

class SchemaTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
    }

    void upgrade_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("versionAfter");
        QTest::newRow("V1") << 1 << "V1.00.00" << v3Columns << "V3.00.00";
        QTest::newRow("V2") << 2 << "V2.00.00" << v3Columns << "V3.00.00";
        QTest::newRow("unknown") << 3 << "Vx-Test" << v3Columns << "Vx-Test";
    }
    void upgrade()
    {
        QFETCH(int, layout);
        QFETCH(QString, version);
        QFETCH(QStringList, columns);
        QFETCH(QString, versionAfter);
        QTemporaryDir dir;
        const QString path = DbFixture::legacy(dir, layout, version);
        QStringList rows;
        for (int i = 0; i < 3; ++i)
            rows << QStringLiteral("INSERT INTO Pruefungen (PFG_KundenNr, PFG_Bemerkung) VALUES "
                                   "('%1', 'Prüfung %1')").arg(i);
        DbFixture::run(path, rows);

        DatabaseSession session;
        session.dbConnection.open(Database::BuildConnectionString(path));
        CheckDatabaseVersion(session);
        QCOMPARE(DbFixture::columns(path, QStringLiteral("Pruefungen")), columns);
        QCOMPARE(Schema::storedVersion(session.dbConnection), versionAfter);
        QCOMPARE(session.rsDatenbankINI->value(0).toString(), versionAfter);
        QCOMPARE(session.rsPruefungen->recordCount(), 3);
        if (columns.contains(QStringLiteral("PFG_ZaehlerNr"))) {
            for (; !session.rsPruefungen->eof(); session.rsPruefungen->moveNext()) {
                QCOMPARE(session.rsPruefungen->value(columnCaptions().capZaehlerNr).toString(),
                         QStringLiteral("00000000"));
            }
        }
        // A second start finds nothing to do.
        CheckDatabaseVersion(session);
        QCOMPARE(Schema::storedVersion(session.dbConnection), versionAfter);
    }

    void newerVersionIsRefusedUntouched()
    {
        QTemporaryDir dir;
        const QString path = DbFixture::legacy(dir, 2, QStringLiteral("V4.00.00"));
        DatabaseSession session;
        session.dbConnection.open(Database::BuildConnectionString(path));
        QCOMPARE(errorNumber([&] { CheckDatabaseVersion(session); }),
                 int(DatabaseError::NewerVersion));
        QCOMPARE(DbFixture::columns(path, QStringLiteral("Pruefungen")), v2Columns);
    }

    void failedStepLeavesTheOldVersion()
    {
        QTemporaryDir dir;
        const QString path = DbFixture::legacy(dir, 2, QStringLiteral("V2.00.00"));
        // A column of the second statement exists already: the step fails half-way.
        DbFixture::run(path, {QStringLiteral("ALTER TABLE Pruefungen ADD PFG_Messzeit TEXT")});
        DatabaseSession session;
        session.dbConnection.open(Database::BuildConnectionString(path));
        QCOMPARE(errorNumber([&] { CheckDatabaseVersion(session); }), int(DatabaseError::General));
        QCOMPARE(Schema::storedVersion(session.dbConnection), QStringLiteral("V2.00.00"));
        QVERIFY(!DbFixture::columns(path, QStringLiteral("Pruefungen"))
                     .contains(QStringLiteral("PFG_LeitungsVol")));
    }

    void emptyDatabase()
    {
        QTemporaryDir dir;
        const QString path = DbFixture::v3(dir);
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::WriteOther
                                          | QFile::ExeOther;
        QCOMPARE(QFile::permissions(path) & others, QFile::Permissions());
        QVERIFY(QFile::permissions(path).testFlags(QFile::ReadOwner | QFile::WriteOwner));
        DatabaseSession session;
        session.dbConnection.open(Database::BuildConnectionString(path));
        QCOMPARE(Schema::storedVersion(session.dbConnection), Schema::currentVersion);
        QCOMPARE(kindName(session.dbConnection, 2), QStringLiteral("Dichtheitsprüfung"));
        QCOMPARE(DbFixture::columns(path, QStringLiteral("Pruefungen")).mid(1), v3Columns);
        // Never over an existing file.
        QCOMPARE(errorNumber([&] { Schema::createEmptyDatabase(path); }),
                 int(DatabaseError::AlreadyExists));
    }

    void kindNamesFollowTheLanguage()
    {
        QTemporaryDir dir;
        Database db;
        db.open(Database::BuildConnectionString(DbFixture::v3(dir)));
        CapturingPresenter box;
        StringTable::setLanguage(QStringLiteral("en"));
        UpdatePruefartenNames(db);
        QCOMPARE(kindName(db, 1), QStringLiteral("Preliminary Test"));
        StringTable::setLanguage(QStringLiteral("de"));
        UpdatePruefartenNames(db);
        QCOMPARE(kindName(db, 1), QStringLiteral("Belastungsprüfung"));
        QVERIFY(box.messages.isEmpty());
    }

    void kindNamesFailAsOneAndAreReported()
    {
        QTemporaryDir dir;
        const QString path = DbFixture::v3(dir);
        DbFixture::run(path, {QStringLiteral("UPDATE Pruefarten SET PRF_Pruefbezeichnung = "
                                             "'alt'"),
                              QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Pruefarten "
                                             "WHEN NEW.PRF_Pruefart = 3 BEGIN SELECT "
                                             "RAISE(ABORT, 'refused'); END")});
        Database db;
        db.open(Database::BuildConnectionString(path));
        CapturingPresenter box;
        UpdatePruefartenNames(db);
        QCOMPARE(box.messages.size(), 1);
        QVERIFY(box.messages.first().contains(QStringLiteral("refused")));
        for (int kind = 0; kind < 4; ++kind)
            QCOMPARE(kindName(db, kind), QStringLiteral("alt"));
        QVERIFY(!db.inTransaction());
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        QTest::newRow("missing") << QByteArray() << int(DatabaseError::FileNotFound);
        QTest::newRow("empty") << QByteArray("") << int(DatabaseError::NotADatabase);
        QTest::newRow("text") << QByteArray("Kunden;Name\n1;A\n") << int(DatabaseError::NotADatabase);
        QTest::newRow("damaged") << QByteArray("SQLite format 3\0garbage garbage garbage", 40)
                                 << int(DatabaseError::NotADatabase);
    }
    void badFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Lumetra4Desktop.db"));
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        Database db;
        QCOMPARE(errorNumber([&] { db.open(Database::BuildConnectionString(path)); }), number);
        QVERIFY(!db.isOpen());
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content); // nothing written
        }
    }

    void sqliteFileOfAnotherProgram()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("other.db"));
        DbFixture::run(path, {QStringLiteral("CREATE TABLE t (x)")});
        DatabaseSession session;
        session.dbConnection.open(Database::BuildConnectionString(path));
        QCOMPARE(errorNumber([&] { CheckDatabaseVersion(session); }),
                 int(DatabaseError::NotADatabase));
    }

    void readOnlyFileIsRefused()
    {
        if (geteuid() == 0)
            QSKIP("root may write read-only files");
        QTemporaryDir dir;
        const QString path = DbFixture::v3(dir);
        QFile::setPermissions(path, QFile::ReadOwner);
        Database db;
        QCOMPARE(errorNumber([&] { db.open(Database::BuildConnectionString(path)); }),
                 int(DatabaseError::ReadOnly));
    }

    void lockedFileGivesClearErrorAndWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = DbFixture::v3(dir);
        Database holder;
        holder.open(Database::BuildConnectionString(path));
        Database db;
        db.open(Database::BuildConnectionString(path));
        db.setBusyTimeout(50);
        holder.beginTrans();
        holder.execute(QStringLiteral("INSERT INTO Pruefer (PFU_Name) VALUES ('a')"));
        QCOMPARE(errorNumber([&] { db.beginTrans(); }), int(DatabaseError::Locked));
        QCOMPARE(errorNumber([&] {
                     db.execute(QStringLiteral("INSERT INTO Pruefer (PFU_Name) VALUES ('b')"));
                 }),
                 int(DatabaseError::Locked));
        holder.rollbackTrans();
        QSqlQuery query = db.select(QStringLiteral("SELECT count(*) FROM Pruefer"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(SchemaTest)
#include "SchemaTest.moc"
