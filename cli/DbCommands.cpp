#include "cli/DbCommands.h"

#include "cli/Command.h"
#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/ErrorReport.h"
#include "data/FileLocations.h"
#include "data/ProgramDatabase.h"
#include "data/Schema.h"
#include "data/UserRoster.h"

#include <QSqlQuery>

namespace {

int reportFailure(const RuntimeErrorException &exception)
{
    ErrorReport::ShowError(exception.error());
    return 1;
}

} // namespace

int runInitCommand(const QStringList &arguments)
{
    if (!arguments.isEmpty()) {
        printLine(QStringLiteral("Usage: lumetra4 init\n"
                                 "Creates the home folder ($LUMETRA4_HOME or the default) with "
                                 "an empty database of the current version. An existing "
                                 "database is never touched."));
        return arguments.contains(QStringLiteral("--help")) ? 0 : 2;
    }
    const FileLocations where = programLocations();
    try {
        Schema::createEmptyDatabase(where.dbFile);
    } catch (const RuntimeErrorException &exception) {
        return reportFailure(exception);
    }
    printLine(QStringLiteral("created %1").arg(where.dbFile));
    return 0;
}

int runDbInfoCommand(const QStringList &arguments)
{
    if (!arguments.isEmpty()) {
        printLine(QStringLiteral("Usage: lumetra4 db-info\n"
                                 "Prints the database file, its schema version, the rows of "
                                 "each table and the connections that hold it open."));
        return arguments.contains(QStringLiteral("--help")) ? 0 : 2;
    }
    const FileLocations where = programLocations();
    try {
        Database db;
        db.open(Database::BuildConnectionString(where.dbFile));
        printLine(QStringLiteral("database: %1").arg(where.dbFile));
        printLine(QStringLiteral("version:  %1").arg(Schema::storedVersion(db)));
        for (const QString &table : Schema::tableNames()) {
            QSqlQuery query = db.select(QStringLiteral("SELECT count(*) FROM [%1]").arg(table));
            printLine(QStringLiteral("  %1 %2").arg(table, -14)
                          .arg(query.next() ? query.value(0).toString() : QStringLiteral("-")));
        }
        printLine(QStringLiteral("roster (this command included):"));
        for (const UserRoster::Entry &entry : UserRoster::entries(where.dbFile))
            printLine(QStringLiteral("  %1 (%2)").arg(entry.computerName, entry.userName));
    } catch (const RuntimeErrorException &exception) {
        return reportFailure(exception);
    }
    return 0;
}
