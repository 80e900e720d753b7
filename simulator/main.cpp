// lumetra4-sim: Lumetra 4 instruments on a pseudo-terminal, for trying and testing the serial
// path without hardware. Prints the device path to open as the serial port on its first line,
// then serves the line until it is interrupted.

#include "FixtureReader.h"
#include "GeneratedTests.h"
#include "PseudoTerminalLine.h"
#include "StandardParameters.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <stdexcept>

namespace {

std::atomic<bool> stopRequested = false;

void requestStop(int)
{
    stopRequested = true;
}

// Without a fixture: one instrument, "063 01 00001", with 40 stored tests.
FixtureReader::Fixture defaultFixture()
{
    FixtureReader::Fixture fixture;
    SimulatedInstrument instrument(0x3F010001);
    StandardParameters::addTo(instrument);
    instrument.setTests(3000, GeneratedTests::tightnessTests(40));
    fixture.line.add(std::move(instrument));
    return fixture;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumetra4-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays Lumetra 4 instruments on a pseudo-terminal. The first line printed is the device "
        "to open as the serial port (for example VLM_BUS_COM1=<path>); stop with Ctrl+C."));
    parser.addHelpOption();
    const QCommandLineOption fixtureOption(QStringLiteral("fixture"),
                                           QStringLiteral("JSON file listing the instruments."),
                                           QStringLiteral("file"));
    const QCommandLineOption paceOption(
        QStringLiteral("pace"), QStringLiteral("Deliver bytes at the line's baud rate."));
    const QCommandLineOption noEchoOption(QStringLiteral("no-echo"),
                                          QStringLiteral("The line does not echo."));
    parser.addOptions({fixtureOption, paceOption, noEchoOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "lumetra4-sim: unexpected argument %s\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return 2;
    }

    FixtureReader::Fixture fixture;
    try {
        fixture = parser.isSet(fixtureOption)
                      ? FixtureReader::readFile(parser.value(fixtureOption))
                      : defaultFixture();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "lumetra4-sim: %s\n", error.what());
        return 1;
    }
    const size_t instruments = fixture.line.instruments().size();
    PseudoTerminalLine line(std::move(fixture.line),
                            {fixture.echo && !parser.isSet(noEchoOption),
                             parser.isSet(paceOption), 57600});
    if (!line.isValid()) {
        std::fprintf(stderr, "lumetra4-sim: %s\n", line.error().c_str());
        return 1;
    }
    std::printf("%s\n", line.path().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "lumetra4-sim: %zu instrument(s) on %s\n", instruments,
                 line.path().c_str());
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    line.run(stopRequested);
    return 0;
}
