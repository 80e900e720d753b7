#pragma once

#include "data/Database.h"
#include "data/Recordset.h"

#include <memory>

// The program's one connection to its database and the recordsets all windows share.
//
// Start-up (the application shell) does, in this order:
//   LoadColumnCaptions();                       // before any select text is built
//   session.dbConnection.open(Database::BuildConnectionString(locations.dbFile));
//   roster = OpenUserRoster(session.dbConnection);   // refuse when another computer is listed
//   UpdatePruefartenNames(session.dbConnection);
//   CheckDatabaseVersion(session);              // upgrades, then opens the shared recordsets
// Windows work on clones of the shared recordsets; after changes made by statements the owner
// calls RequeryRecordsets(). Shut-down closes the recordsets, then the connection.
class DatabaseSession
{
public:
    DatabaseSession() = default;
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession &) = delete;
    DatabaseSession &operator=(const DatabaseSession &) = delete;

    // Opens rsKunden, rsAuftraggeber, rsPruefer, rsPruefungenKunden and rsPruefungen, in this
    // order, with optimistic locking.
    void OpenRecordsets();
    // Closes the five shared recordsets (rsDatenbankINI stays open).
    void CloseRecordsets();
    // Rereads the five shared recordsets in the order they are opened. The caller shows the
    // busy pointer meanwhile.
    void RequeryRecordsets();
    // Closes all recordsets and the connection.
    void close();

    Database dbConnection;
    std::unique_ptr<Recordset> rsKunden;
    std::unique_ptr<Recordset> rsAuftraggeber;
    std::unique_ptr<Recordset> rsPruefer;
    std::unique_ptr<Recordset> rsPruefungenKunden;
    std::unique_ptr<Recordset> rsPruefungen;
    std::unique_ptr<Recordset> rsDatenbankINI;
};

// Opens selectText on connection into recordset, replacing what it held.
void OpenRecordset(std::unique_ptr<Recordset> &recordset, Database &connection,
                   const QString &selectText, LockType lockType);
void CloseRecordset(std::unique_ptr<Recordset> &recordset);

// The connections that hold the file of connection open: one row per connection, field 0
// ("COMPUTER_NAME") the computer name NUL-padded to 32 characters, field 1 ("LOGIN_NAME") the
// user. On failure the error is reported and the result is null; callers then skip their check.
std::unique_ptr<Recordset> OpenUserRoster(Database &connection);

// The characters of text before its first NUL, looking from the second character on; empty
// when there is none.
QString TrimAtNul(const QString &text);
