#pragma once

#include <QDate>
#include <QString>

class DatabaseSession;

// Archives: dated copies of the database that keep every test and the customers with tests,
// while the working database keeps its customers, clients and inspectors and no tests.
namespace Archive {

inline const QString fileSuffix = QStringLiteral(".db");

// The folder archives go to: "Archiv" below the archive base folder, or below the home folder
// when no base folder is set. Ends with a slash.
QString folder(const QString &homeFolder, const QString &archiveBaseFolder);
// "Archiv vom 11_03_15" for 11 March 2015 (the suffix is added by the caller).
QString defaultName(const QDate &date);

// Tests still marked new, which cannot be filed any more once archived.
int newTestCount(DatabaseSession &session);

struct Result
{
    int tests = 0;
    int customers = 0;
};

// Writes every test with its customers into the new file archiveFile and then empties the
// tests of the working database. The tests are deleted only after the archive has been
// checked (sound file, every test in it); the working database holds its write lock
// throughout, so no test that arrives meanwhile is lost. Throws RuntimeErrorException; then
// the working database is unchanged and no unfinished archive is left.
Result archiveTests(DatabaseSession &session, const QString &archiveFile);

// The file a compaction writes before it replaces the database.
QString compactionTarget(const QString &dbFile);

// Rewrites the database file compactly: a checked compact copy takes the file's place in one
// rename, so there is always a valid database under dbFile. Refuses while another connection
// holds the database. The session is reopened on the new file. Throws RuntimeErrorException;
// before the rename the old file is untouched and the session stays usable.
void RepairCompactDatabase(DatabaseSession &session, const QString &dbFile);

} // namespace Archive
