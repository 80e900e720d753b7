#include "cli/ArchiveCommands.h"
#include "cli/BusCommand.h"
#include "cli/Command.h"
#include "cli/ConfigCommand.h"
#include "cli/CustomersCommand.h"
#include "cli/DbCommands.h"
#include "cli/ImportCustomersCommand.h"
#include "cli/ImportIrCommand.h"
#include "cli/MigrateCommand.h"
#include "cli/NewTestsCommands.h"
#include "cli/ExportCommands.h"
#include "cli/PrintCommands.h"
#include "cli/StringsCommand.h"
#include "cli/SyncCommand.h"
#include "cli/TemplateCheckCommand.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

const Command commands[] = {
    {"strings", "print string-table texts by number", runStringsCommand},
    {"config", "read or set the program's settings", runConfigCommand},
    {"init", "create the home folder and an empty database", runInitCommand},
    {"db-info", "database file, version, rows per table, users", runDbInfoCommand},
    {"template-check", "check a protocol template, render it to PDF", runTemplateCheckCommand},
    {"print-protocol", "protocols of tests into a PDF file", runPrintProtocolCommand},
    {"print-list", "the list of tests into a PDF file", runPrintListCommand},
    {"export-list", "the list of tests into a semicolon-separated file", runExportListCommand},
    {"export-protocol", "one test's protocol into a semicolon-separated file",
     runExportProtocolCommand},
    {"tests", "list the new tests (--new)", runTestsCommand},
    {"file", "file new tests under customers automatically (--auto)", runFileCommand},
    {"bus", "instruments on a serial line: scan, param, dump", runBusCommand},
    {"sync", "read the instruments on the serial line into the database", runSyncCommand},
    {"import-ir", "import the test files of the infrared folder", runImportIrCommand},
    {"customers", "list the customers (--search, --format table|csv|json)", runCustomersCommand},
    {"import-customers", "import customers from a text, workbook, Access or dBase file",
     runImportCustomersCommand},
    {"migrate", "add the records of a database of the Windows program", runMigrateCommand},
    {"archive", "move every test into a new archive database", runArchiveCommand},
    {"archives", "list the archive databases", runArchivesCommand},
    {"compact", "repair and compact the database", runCompactCommand},
};

void printHelp()
{
    printLine(QStringLiteral("Usage: lumetra4 COMMAND [ARGUMENTS]\n"
                             "The command line front end of Lumetra 4 Desktop.\n\n"
                             "Commands:"));
    for (const Command &command : commands)
        printLine(QStringLiteral("  %1  %2").arg(QLatin1String(command.name), -10)
                      .arg(QLatin1String(command.summary)));
    printLine(QStringLiteral("\n  --version   print the program version\n"
                             "Every command answers --help."));
}

} // namespace

void printLine(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

int usageError(const QString &message)
{
    std::fprintf(stderr, "lumetra4: %s\n", message.toUtf8().constData());
    return 2;
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts and painting for PDF, never a display
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumetra4"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMETRA4_VERSION));

    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help")) {
        printHelp();
        return arguments.isEmpty() ? 2 : 0;
    }
    if (arguments.first() == QLatin1String("--version")) {
        printLine(QStringLiteral(LUMETRA4_VERSION));
        return 0;
    }
    const QString name = arguments.takeFirst();
    for (const Command &command : commands) {
        if (name == QLatin1String(command.name))
            return command.run(arguments);
    }
    return usageError(QStringLiteral("unknown command '%1'; see lumetra4 --help").arg(name));
}
