#include "cli/SyncCommand.h"

#include "cli/Command.h"
#include "cli/ProgressLine.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/IniFile.h"
#include "data/ProgramDatabase.h"
#include "data/Settings.h"
#include "data/StringTable.h"
#include "sync/BusInstrumentMemory.h"
#include "sync/BusInstrumentParameters.h"
#include "sync/SerialPortDiagnosis.h"
#include "sync/SerialSynchronisation.h"
#include "sync/TestStore.h"
#include "sync/VlmMemLibrary.h"

#include <QFile>

#include <csignal>
#include <cstdio>

namespace {

const QString usageText = QStringLiteral(
    "Usage: lumetra4 sync [--port N] [--timeout MS] [--delete] [--log FILE]\n"
    "Reads the stored tests of every instrument on the serial line into the database as new\n"
    "tests; tests already stored are skipped. --port uses COM port N (1-8, see VLM_BUS_COMn)\n"
    "instead of the configured port or the automatic search; --timeout sets the bus time-out\n"
    "(500-30000 ms); --delete tells the instruments to delete the tests that were read, also\n"
    "when the setting to delete synchronised tests is off; --log writes the bus library's\n"
    "communication log to FILE (as VLM_BUS_DEBUG_LOG=FILE does). Ctrl+C stops with nothing\n"
    "stored.");

SerialSynchronisation *runningSync = nullptr;

void stopOnInterrupt(int)
{
    if (runningSync)
        runningSync->requestStop(); // an atomic flag: safe in a signal handler
}

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

} // namespace

int runSyncCommand(const QStringList &arguments)
{
    const FileLocations locations = programLocations();
    const Settings settings = Settings::load(IniFile(locations.iniFile()));
    SerialSyncSettings sync;
    sync.autoCommPort = settings.autoCommPort;
    sync.commPort = settings.commPort;
    sync.timeOut = settings.timeOut;
    sync.deleteSyncedPruef = settings.deleteSyncedPruef;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        bool ok = true;
        if (argument == QLatin1String("--help")) {
            printLine(usageText);
            return 0;
        } else if (argument == QLatin1String("--delete")) {
            sync.deleteSyncedPruef = true;
        } else if (argument == QLatin1String("--port") && i + 1 < arguments.size()) {
            sync.autoCommPort = false;
            sync.commPort = arguments[++i].toInt(&ok);
        } else if (argument == QLatin1String("--timeout") && i + 1 < arguments.size()) {
            sync.timeOut = arguments[++i].toInt(&ok);
        } else if (argument == QLatin1String("--log") && i + 1 < arguments.size()) {
            const QString logFile = arguments[++i];
            if (!QFile(logFile).open(QIODevice::WriteOnly))
                return usageError(QStringLiteral("cannot write the log file '%1'").arg(logFile));
            qputenv("VLM_BUS_DEBUG_LOG", QFile::encodeName(logFile));
            sync.communicationLog = true;
        } else {
            ok = false;
        }
        if (!ok) {
            printLine(usageText);
            return usageError(QStringLiteral("unexpected argument '%1'").arg(argument));
        }
    }

    DatabaseSession session;
    try {
        openProgramDatabase(session, locations.dbFile);
        VlmMemLibrary::instance().ensureLoaded();
        const VlmBusFunctions &bus = VlmBusLibrary::instance().functions();
        BusInstrumentParameters parameters(bus);
        SerialSynchronisation run(
            bus, parameters,
            [&bus](uint32_t fab) { return std::make_unique<BusInstrumentMemory>(bus, fab); },
            sync);
        using Outcome = SerialSynchronisation::Outcome;
        Outcome outcome;
        {
            ProgressLine progress;
            run.onInstrument = [&progress](const QString &text) { progress.setLabel(text); };
            run.onStage = [&progress](int number) { progress.setLabel(resString(number)); };
            run.onProgress = [&progress](int percent) { progress.show(percent, 100); };
            runningSync = &run;
            const auto previous = std::signal(SIGINT, stopOnInterrupt);
            outcome = run.connectAndRead();
            std::signal(SIGINT, previous);
            runningSync = nullptr;
        }
        switch (outcome) {
        case Outcome::PortUnavailable:
            printError(portUnavailableText(run.port()));
            return 1;
        case Outcome::StartFailed:
            printError(QStringLiteral("ErrorCode: %1\n").arg(run.startCode()) + run.errorText());
            return 1;
        case Outcome::NoInstruments:
            printError(resString(27006));
            return 1;
        case Outcome::CommunicationError:
            printError(run.errorText() + u'\n' + resString(27007));
            run.finish();
            return 1;
        case Outcome::Stopped:
            run.finish();
            return 1;
        case Outcome::Read:
            break;
        }
        StoreCounts counts;
        if (!StoreTests(session.dbConnection, run.records(), &counts)) {
            run.finish();
            return 1;
        }
        int invalid = 0;
        for (const ReadInstrument &instrument : run.readInstruments())
            invalid += instrument.blocksWithoutTest;
        printLine(resString(27095).arg(QString::number(counts.stored),
                                       QString::number(counts.skipped), QString::number(invalid)));
        bool succeeded = true;
        if (sync.deleteSyncedPruef) {
            const DeletionReport report = run.deleteReadTests();
            for (const QString &line : report.notDeleted)
                printError(line);
            if (report.communicationError) {
                printError(report.libraryError + u'\n' + resString(27007));
                succeeded = false;
            }
        }
        run.finish();
        return succeeded ? 0 : 1;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    }
}
