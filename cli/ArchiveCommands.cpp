#include "cli/ArchiveCommands.h"

#include "cli/Command.h"
#include "data/Archive.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/ProgramDatabase.h"
#include "data/StringTable.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

int fail(const RuntimeErrorException &e)
{
    ErrorReport::ShowError(e.error());
    return 1;
}

} // namespace

int runArchiveCommand(const QStringList &arguments)
{
    QString target;
    bool force = false;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--to") && i + 1 < arguments.size()) {
            target = arguments[++i];
        } else if (arguments[i] == QLatin1String("--force-with-new-tests")) {
            force = true;
        } else {
            printLine(QStringLiteral(
                "Usage: lumetra4 archive [--to FILE] [--force-with-new-tests]\n"
                "Moves every test with its customers into a new archive database (by default\n"
                "\"Archiv vom DD_MM_YY.db\" in the archive folder) and empties the tests of the\n"
                "working database. Refuses while tests are still new, unless forced."));
            return arguments[i] == QLatin1String("--help") ? 0 : 2;
        }
    }
    const FileLocations where = programLocations();
    if (target.isEmpty()) {
        target = Archive::folder(where.homeFolder(), where.archiveFolder)
                 + Archive::defaultName(QDate::currentDate()) + Archive::fileSuffix;
    }
    try {
        DatabaseSession session;
        openProgramDatabase(session, where.dbFile);
        if (!force && Archive::newTestCount(session) > 0) {
            std::fprintf(stderr, "%s\n%s\n",
                         qPrintable(resString(25371)), qPrintable(resString(25372)));
            return 1;
        }
        const Archive::Result result = Archive::archiveTests(session, target);
        printLine(QStringLiteral("%1: %2 tests, %3 customers")
                      .arg(target).arg(result.tests).arg(result.customers));
    } catch (const RuntimeErrorException &e) {
        return fail(e);
    }
    return 0;
}

int runArchivesCommand(const QStringList &arguments)
{
    if (!arguments.isEmpty()) {
        printLine(QStringLiteral("Usage: lumetra4 archives\n"
                                 "Lists the archive databases in the archive folder."));
        return arguments.contains(QStringLiteral("--help")) ? 0 : 2;
    }
    const FileLocations where = programLocations();
    const QDir folder(Archive::folder(where.homeFolder(), where.archiveFolder));
    for (const QFileInfo &file :
         folder.entryInfoList({QLatin1Char('*') + Archive::fileSuffix}, QDir::Files, QDir::Name))
        printLine(file.absoluteFilePath());
    return 0;
}

int runCompactCommand(const QStringList &arguments)
{
    if (!arguments.isEmpty()) {
        printLine(QStringLiteral("Usage: lumetra4 compact\n"
                                 "Repairs and compacts the database; the database stays valid "
                                 "at every moment."));
        return arguments.contains(QStringLiteral("--help")) ? 0 : 2;
    }
    const FileLocations where = programLocations();
    try {
        DatabaseSession session;
        openProgramDatabase(session, where.dbFile);
        Archive::RepairCompactDatabase(session, where.dbFile);
    } catch (const RuntimeErrorException &e) {
        return fail(e);
    }
    printLine(resString(26022));
    return 0;
}
