#include "data/Schema.h"

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"
#include "data/SelectLists.h"
#include "data/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

const QString source = QStringLiteral("Schema");

const char *const createStatements[] = {
    "CREATE TABLE Pruefungen ("
    "PFG_ID INTEGER PRIMARY KEY, PFG_KundenNr VARCHAR(255), PFG_Pruefart TINYINT, "
    "PFG_Druck REAL, PFG_EndDruck REAL, PFG_Fluss REAL, PFG_Gasart VARCHAR(255), "
    "PFG_Befund TINYINT, PFG_Datum DATETIME, PFG_Pruefer VARCHAR(255), "
    "PFG_Druckkurve LONGTEXT, PFG_Flusskurve LONGTEXT, PFG_Auftraggeber VARCHAR(255), "
    "PFG_FabNr VARCHAR(255), PFG_Dauer SMALLINT, PFG_Bemerkung VARCHAR(255), "
    "PFG_NeuePruefung BOOLEAN NOT NULL DEFAULT 0, PFG_Fliessdruck REAL, PFG_Ruhedruck REAL, "
    "PFG_SAVDruck REAL, PFG_Befund_Nullabschluss TINYINT, PFG_Befund_GMSicherung TINYINT, "
    "PFG_ZaehlerNr CHAR(50) NOT NULL DEFAULT '00000000', PFG_LeitungsVol CHAR(50) NULL, "
    "PFG_Messzeit CHAR(50) NULL, PFG_RefDruck CHAR(50) NULL, PFG_Leckrate CHAR(50) NULL)",
    "CREATE INDEX Pruefungen_KundenNr ON Pruefungen (PFG_KundenNr)",
    "CREATE INDEX Pruefungen_NeuePruefung ON Pruefungen (PFG_NeuePruefung)",
    "CREATE TABLE Kunden ("
    "ADS_ID INTEGER PRIMARY KEY, ADS_KundenNr VARCHAR(255), ADS_Name1 VARCHAR(255), "
    "ADS_Name2 VARCHAR(255), ADS_Strasse VARCHAR(255), ADS_PLZ VARCHAR(255), "
    "ADS_Ort VARCHAR(255), ADS_Telefon VARCHAR(255), ADS_Fax VARCHAR(255), "
    "ADS_ZaehlerNr VARCHAR(255), ADS_ZaehlerNrAlt VARCHAR(255))",
    "CREATE INDEX Kunden_KundenNr ON Kunden (ADS_KundenNr)",
    "CREATE TABLE Auftraggeber (AUF_ID INTEGER PRIMARY KEY, Auftraggeber VARCHAR(255))",
    "CREATE TABLE Pruefer (PFU_ID INTEGER PRIMARY KEY, PFU_Name VARCHAR(255))",
    "CREATE TABLE Pruefarten (PRF_Pruefart INTEGER PRIMARY KEY, "
    "PRF_Pruefbezeichnung VARCHAR(255))",
    "CREATE TABLE DatenbankINI (DBI_ID INTEGER PRIMARY KEY, Datenbankversion VARCHAR(255))",
};

struct Step
{
    const char *from;
    const char *to;
    QStringList statements;
};

const QList<Step> &steps()
{
    // NOT NULL columns need a default in SQLite; "00000000" is what a test without meter number
    // carries, so existing tests stay valid.
    static const QList<Step> list = {
        {"V1.00.00", "V2.00.00",
         {QStringLiteral("ALTER TABLE Pruefungen ADD PFG_ZaehlerNr CHAR(50) NOT NULL "
                         "DEFAULT '00000000'")}},
        {"V2.00.00", "V3.00.00",
         {QStringLiteral("ALTER TABLE Pruefungen ADD PFG_LeitungsVol CHAR(50) NULL"),
          QStringLiteral("ALTER TABLE Pruefungen ADD PFG_Messzeit CHAR(50) NULL"),
          QStringLiteral("ALTER TABLE Pruefungen ADD PFG_RefDruck CHAR(50) NULL"),
          QStringLiteral("ALTER TABLE Pruefungen ADD PFG_Leckrate CHAR(50) NULL")}},
    };
    return list;
}

// "Vmajor.minor.patch" as one comparable number; -1 for any other text.
qint64 versionNumber(const QString &version)
{
    static const QRegularExpression pattern(QStringLiteral("^V(\\d{1,4})\\.(\\d{1,4})\\.(\\d{1,4})$"));
    const auto match = pattern.match(version.trimmed());
    if (!match.hasMatch())
        return -1;
    return match.captured(1).toLongLong() * 100000000LL + match.captured(2).toLongLong() * 10000
           + match.captured(3).toLongLong();
}

void requireVersionTable(Database &database)
{
    QSqlQuery query = database.select(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'DatenbankINI'"));
    if (!query.next() || query.value(0).toInt() == 0) {
        throw DatabaseError::make(DatabaseError::NotADatabase, source,
                                  resString(26171).arg(database.filePath()));
    }
}

[[noreturn]] void createFailed(const QString &path, const QString &detail)
{
    throw DatabaseError::make(DatabaseError::General, source,
                              resString(26176).arg(path, detail));
}

void fillEmptyDatabase(const QString &file)
{
    const QString name = QStringLiteral("lumetra4-create");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        QString error;
        if (db.open()) {
            QSqlQuery query(db);
            QStringList statements{QStringLiteral("BEGIN")};
            for (const char *statement : createStatements)
                statements << QLatin1String(statement);
            bool ok = true;
            for (const QString &statement : std::as_const(statements))
                ok = ok && query.exec(statement);
            for (int kind = 0; ok && kind < 4; ++kind) {
                ok = query.prepare(QStringLiteral("INSERT INTO Pruefarten (PRF_Pruefart, "
                                                  "PRF_Pruefbezeichnung) VALUES (?, ?)"));
                query.addBindValue(kind);
                query.addBindValue(resString(203 + kind));
                ok = ok && query.exec();
            }
            ok = ok && query.exec(QStringLiteral("INSERT INTO DatenbankINI (Datenbankversion) "
                                                 "VALUES ('") + Schema::currentVersion
                                  + QStringLiteral("')"))
                 && query.exec(QStringLiteral("COMMIT"));
            if (!ok)
                error = query.lastError().text();
        } else {
            error = db.lastError().text();
        }
        db.close();
        if (!error.isEmpty()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            QFile::remove(file);
            createFailed(file, error);
        }
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

const QStringList &Schema::tableNames()
{
    static const QStringList names = {
        QStringLiteral("Pruefungen"), QStringLiteral("Kunden"), QStringLiteral("Auftraggeber"),
        QStringLiteral("Pruefer"), QStringLiteral("Pruefarten"), QStringLiteral("DatenbankINI")};
    return names;
}

void Schema::createEmptyDatabase(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        throw DatabaseError::make(DatabaseError::AlreadyExists, source,
                                  resString(26177).arg(path));
    }
    if (!QDir().mkpath(info.absolutePath()))
        createFailed(path, resString(26180));
    // Built beside the target and linked into place, which fails rather than replace a file
    // that appeared meanwhile.
    const QString temporary = path + QStringLiteral(".new-%1").arg(getpid());
    QFile::remove(temporary);
    fillEmptyDatabase(temporary);
    QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
    const int linked = ::link(QFile::encodeName(temporary).constData(),
                              QFile::encodeName(path).constData());
    const int linkError = errno;
    QFile::remove(temporary);
    if (linked != 0 && linkError == EEXIST) {
        throw DatabaseError::make(DatabaseError::AlreadyExists, source,
                                  resString(26177).arg(path));
    }
    if (linked != 0)
        createFailed(path, QString::fromLocal8Bit(std::strerror(linkError)));
}

QString Schema::storedVersion(Database &database)
{
    requireVersionTable(database);
    QSqlQuery query = database.select(SqlDatenbankVersion());
    return query.next() ? query.value(0).toString() : QString();
}

std::unique_ptr<Recordset> Schema::upgrade(Database &database)
{
    requireVersionTable(database);
    while (true) {
        auto versions = std::make_unique<Recordset>(database, SqlDatenbankVersion(),
                                                    LockType::Optimistic);
        if (versions->eof()) {
            throw DatabaseError::make(DatabaseError::NotADatabase, source,
                                      resString(26171).arg(database.filePath()));
        }
        const QString version = versions->value(0).toString();
        if (versionNumber(version) > versionNumber(currentVersion)) {
            throw DatabaseError::make(
                DatabaseError::NewerVersion, source,
                resString(26178).arg(database.filePath(), version, currentVersion));
        }
        const auto step = std::find_if(steps().begin(), steps().end(), [&](const Step &s) {
            return version == QLatin1String(s.from);
        });
        if (step == steps().end())
            return versions;
        {
            Transaction transaction(database);
            for (const QString &statement : step->statements)
                database.execute(statement);
            versions->setValue(0, QString::fromLatin1(step->to));
            versions->update();
            transaction.commit();
        }
        versions.reset();
        database.open(Database::BuildConnectionString(database.filePath()));
    }
}

void CheckDatabaseVersion(DatabaseSession &session)
{
    session.CloseRecordsets();
    session.rsDatenbankINI = Schema::upgrade(session.dbConnection);
    session.OpenRecordsets();
}

void UpdatePruefartenNames(Database &database)
{
    try {
        Transaction transaction(database);
        for (int kind = 0; kind < 4; ++kind) {
            database.execute(QStringLiteral("Update Pruefarten Set "
                                            "Pruefarten.PRF_Pruefbezeichnung = ? Where "
                                            "Pruefarten.PRF_Pruefart = ?"),
                             {resString(203 + kind), kind});
        }
        transaction.commit();
    } catch (const RuntimeErrorException &exception) {
        ErrorReport::ShowError(exception.error());
    }
}
