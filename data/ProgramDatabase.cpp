#include "data/ProgramDatabase.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseError.h"
#include "data/DatabaseSession.h"
#include "data/IniFile.h"
#include "data/Schema.h"
#include "data/StringTable.h"

#include <QCoreApplication>

FileLocations programLocations()
{
    FileLocations locations(
        FileLocations::resolveHomeFolder(QCoreApplication::applicationDirPath()));
    locations.readPaths(IniFile(locations.iniFile()));
    return locations;
}

QString otherComputerHolding(Database &connection)
{
    const auto roster = OpenUserRoster(connection);
    if (!roster || roster->recordCount() == 0)
        return {};
    roster->moveFirst();
    const QString first = TrimAtNul(roster->value(0).toString());
    roster->moveLast();
    const QString last = TrimAtNul(roster->value(0).toString());
    return first == last ? QString() : first;
}

QString otherComputerMessage(const QString &computer)
{
    return resString(25589) + u'\n' + computer + resString(25590) + u'\n' + resString(25591);
}

void openProgramDatabase(DatabaseSession &session, const QString &dbFile)
{
    LoadColumnCaptions();
    session.dbConnection.open(Database::BuildConnectionString(dbFile));
    const QString other = otherComputerHolding(session.dbConnection);
    if (!other.isEmpty()) {
        session.close();
        throw DatabaseError::make(DatabaseError::Locked, QStringLiteral("Main"),
                                  otherComputerMessage(other));
    }
    UpdatePruefartenNames(session.dbConnection);
    CheckDatabaseVersion(session);
}
