// lumetra4-sim: Lumetra 4 instruments on a pseudo-terminal, for trying and testing the serial
// path without hardware. Prints the device path to open as the serial port on its first line,
// then serves the line until it is interrupted.

#include "GeneratedTests.h"
#include "InstrumentSimulator.h"
#include "StandardParameters.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

// Without a fixture: one instrument, "063 01 00001", with 40 stored tests.
std::unique_ptr<InstrumentSimulator> defaultSimulator()
{
    SimulatedInstrument instrument(0x3F010001);
    StandardParameters::addTo(instrument);
    instrument.setTests(3000, GeneratedTests::tightnessTests(40));
    InstrumentLine line;
    line.add(std::move(instrument));
    return std::make_unique<InstrumentSimulator>(std::move(line));
}

int refuse(const QString &message)
{
    std::fprintf(stderr, "lumetra4-sim: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumetra4-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays Lumetra 4 instruments on a pseudo-terminal. The first line printed is the device "
        "to open as the serial port (for example VLM_BUS_COM1=<path>); stop with Ctrl+C.\n"
        "Without --fixture: one instrument, 063 01 00001, with 40 stored tests."));
    parser.addHelpOption();
    const QCommandLineOption fixtureOption(QStringLiteral("fixture"),
                                           QStringLiteral("JSON file listing the instruments."),
                                           QStringLiteral("file"));
    const QCommandLineOption paceOption(
        QStringLiteral("pace"),
        QStringLiteral("Deliver bytes at the line's baud rate, 11 bits a byte."));
    const QCommandLineOption baudOption(
        QStringLiteral("baud"),
        QStringLiteral("Pace at this rate (19200, 38400, 57600 or 115200) instead of the rate "
                       "the program sets on its port."),
        QStringLiteral("rate"));
    const QCommandLineOption noEchoOption(QStringLiteral("no-echo"),
                                          QStringLiteral("The line does not echo."));
    parser.addOptions({fixtureOption, paceOption, baudOption, noEchoOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument %1")
                          .arg(parser.positionalArguments().constFirst()));

    std::string error;
    std::unique_ptr<InstrumentSimulator> simulator =
        parser.isSet(fixtureOption)
            ? InstrumentSimulator::fromFixture(parser.value(fixtureOption).toStdString(), &error)
            : defaultSimulator();
    if (!simulator)
        return refuse(QString::fromStdString(error));
    if (parser.isSet(baudOption)) {
        const QString rate = parser.value(baudOption);
        if (!QStringList{"19200", "38400", "57600", "115200"}.contains(rate))
            return refuse(QStringLiteral("--baud %1: the rate must be 19200, 38400, 57600 or "
                                         "115200").arg(rate));
        simulator->setBaudRate(rate.toUInt());
    }
    simulator->setEcho(simulator->echo() && !parser.isSet(noEchoOption));
    simulator->setPace(parser.isSet(paceOption));
    simulator->setRecording(false); // a line that runs for hours keeps no history

    // The serving thread inherits the blocked signals, so only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (!simulator->start())
        return refuse(QString::fromStdString(simulator->error()));
    std::printf("%s\n", simulator->devicePath().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "lumetra4-sim: %zu instrument(s) on %s\n",
                 simulator->instrumentCount(), simulator->devicePath().c_str());
    int received = 0;
    sigwait(&stopSignals, &received);
    simulator->stop();
    return 0;
}
