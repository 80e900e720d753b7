#include "cli/ImportIrCommand.h"

#include "cli/Command.h"
#include "cli/ProgressLine.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/IniFile.h"
#include "data/ProgramDatabase.h"
#include "data/Settings.h"
#include "data/StringTable.h"
#include "sync/InfraredImport.h"

#include <csignal>
#include <cstdio>

namespace {

const QString usageText = QStringLiteral(
    "Usage: lumetra4 import-ir [--folder DIR] [--delete]\n"
    "Reads the instrument's test files (LU4*.txt) of the infrared folder into the database as\n"
    "new tests; tests already stored are skipped. Nothing is stored when a file cannot be\n"
    "read. --folder reads DIR instead of the configured infrared folder; --delete deletes the\n"
    "files after their tests were stored, also when the setting to delete synchronised tests\n"
    "is off. Ctrl+C before the tests are stored ends the import with nothing stored.");

InfraredImport *runningImport = nullptr;

void stopOnInterrupt(int)
{
    if (runningImport)
        runningImport->requestStop(); // an atomic flag: safe in a signal handler
}

} // namespace

int runImportIrCommand(const QStringList &arguments)
{
    QString folder;
    bool deleteFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help")) {
            printLine(usageText);
            return 0;
        }
        if (argument == QLatin1String("--delete")) {
            deleteFiles = true;
        } else if (argument == QLatin1String("--folder") && i + 1 < arguments.size()) {
            folder = arguments[++i];
        } else {
            printLine(usageText);
            return usageError(QStringLiteral("unexpected argument '%1'").arg(argument));
        }
    }

    const FileLocations locations = programLocations();
    const Settings settings = Settings::load(IniFile(locations.iniFile()));
    if (folder.isEmpty())
        folder = settings.infrarotPath;
    deleteFiles = deleteFiles || settings.deleteSyncedPruef;

    DatabaseSession session;
    try {
        openProgramDatabase(session, locations.dbFile);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    }

    InfraredImport import(session.dbConnection, folder, deleteFiles);
    InfraredImport::Result result;
    {
        ProgressLine progress;
        import.onFile = [&progress](const QString &name) {
            progress.setLabel(resString(26999) + u' ' + name);
        };
        import.onStage = [&progress](InfraredImport::Stage stage) {
            if (stage == InfraredImport::Stage::Storing)
                progress.setLabel(resString(27000));
            else if (stage == InfraredImport::Stage::Deleting)
                progress.setLabel(resString(25555));
        };
        import.onProgress = [&progress](int value, int maximum) {
            progress.show(value, maximum);
        };
        runningImport = &import;
        const auto previous = std::signal(SIGINT, stopOnInterrupt);
        result = import.run();
        std::signal(SIGINT, previous);
        runningImport = nullptr;
    }
    printLine(resString(27095).arg(QString::number(result.stored),
                                   QString::number(result.alreadyPresent),
                                   QString::number(result.invalidFiles.size())));
    return result.succeeded() ? 0 : 1;
}
