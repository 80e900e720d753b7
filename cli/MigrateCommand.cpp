#include "cli/MigrateCommand.h"

#include "cli/Command.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/ProgramDatabase.h"
#include "masterdata/import/DatabaseMigration.h"
#include "masterdata/import/MdbSource.h"

#include <QCommandLineParser>

int runMigrateCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Adds the tests, customers, clients and inspectors of FILE, a database of the Windows "
        "program (.mdb, any version), to the current database. Tests with a date and "
        "instrument number already present, customers with a number already present and "
        "names already listed are skipped, so running it twice adds nothing."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the .mdb file"));
    if (!parser.parse(QStringList{QStringLiteral("lumetra4 migrate")} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        printLine(parser.helpText().trimmed());
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return usageError(QStringLiteral("give exactly one FILE"));
    try {
        MdbSource source(parser.positionalArguments().first());
        DatabaseSession session;
        openProgramDatabase(session, programLocations().dbFile);
        printLine(MigrationMessage(MigrateDatabase(session.dbConnection, source)));
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    }
    return 0;
}
