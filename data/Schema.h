#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class Database;
class DatabaseSession;
class Recordset;

// The tables of the database file and their versions.
//
// Versions are "V1.00.00" (no meter number and no text measurements), "V2.00.00" (meter number)
// and "V3.00.00" (current: pipe volume, measuring time, reference pressure, leak rate). Every
// table has an integer primary key (its rowid), by which recordsets write rows back.
namespace Schema {

inline const QString currentVersion = QStringLiteral("V3.00.00");

// The tables in the order db-info lists them.
const QStringList &tableNames();

// Creates an empty database of the current version with the four test kinds, owner-only
// (mode 0600). Never touches an existing file: throws error 3204 when path exists.
void createEmptyDatabase(const QString &path);

// Brings the database to the current version, one step per transaction, and returns the open
// version recordset (rsDatenbankINI). A version text the program does not know is left alone;
// a version newer than the program's is refused with error 3447 before anything is written.
// A file without the version table is refused as no database of this program (3343).
std::unique_ptr<Recordset> upgrade(Database &database);

// The version text stored in the database.
QString storedVersion(Database &database);

} // namespace Schema

// Brings the database behind the session's dbConnection to the current version and opens the
// shared recordsets. Throws RuntimeErrorException: start-up reports it and ends.
void CheckDatabaseVersion(DatabaseSession &session);

// Writes the names of the four test kinds in the running language in one transaction. A failure
// is reported through the error report and rolled back; the old names stay.
void UpdatePruefartenNames(Database &database);
