// Reading the whole measurement memory of one instrument through the bus library and the
// program's memory decoder, over a pseudo-terminal.
//
// Usage: BusBench [TESTS (40)] [FIXTURE]. With FIXTURE the instrument simulator plays it
// (lumetra4-sim --fixture FIXTURE, with --pace for the paced run); without, the simulator's
// line runs in this process with one instrument of TESTS stored tests. First paced at 57600
// baud: prints the time of the read, its floor (every telegram and answer byte at 11 bits, plus
// the pauses the protocol prescribes: 1 ms before and 3 ms after each exchange) and the ratio.
// Then without pacing: the CPU time of this process per telegram.

#include "bus/client/VlmBusLibrary.h"
#include "data/RuntimeError.h"
#include "sync/InstrumentMemory.h"
#include "sync/MemoryDecoder.h"
#include "simulator/GeneratedTests.h"
#include "simulator/PseudoTerminalLine.h"
#include "simulator/StandardParameters.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

constexpr double bitsPerByte = 11;
constexpr double baudRate = 57600;
constexpr double pausesPerExchangeMs = 1 + 3;
// Length write: 10-byte request, 8-byte answer. Data read: 13-byte request, 8 + n answer.
constexpr int lengthWriteBytes = 10 + 8;
constexpr int dataReadBytes = 13 + 8;

// Memory reads through the bus library, counted for the floor.
class BusMemory : public InstrumentMemory
{
public:
    BusMemory(const VlmBusFunctions &call, uint32_t fab) : m_call(call), m_fab(fab) {}

    bool read(uint8_t memoryType, uint32_t address, uint8_t length, QByteArray &data) override
    {
        BusMemoryObject block = {};
        block.Length = length;
        if (m_call.GetMemory(m_fab, memoryType, address, &block) != 1)
            return false;
        data = QByteArray(reinterpret_cast<const char *>(block.Data), block.Length);
        ++reads;
        wireBytes += lengthWriteBytes + dataReadBytes + length;
        return true;
    }
    QString lastError() const override { return VlmBusLibrary::instance().errorText(); }

    int reads = 0;
    long wireBytes = 0;

private:
    const VlmBusFunctions &m_call;
    uint32_t m_fab;
};

double processCpuMs()
{
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

uint32_t littleEndianValue(const BusDataObject &data)
{
    uint32_t value = 0;
    for (int i = data.Length < 4 ? data.Length - 1 : 3; i >= 0; --i)
        value = value << 8 | data.Value[i];
    return value;
}

struct Run
{
    double wallMs = 0;
    double cpuMs = 0;
    int reads = 0;
    long wireBytes = 0;
    int tests = 0;
};

// The far side of the line: the simulator as a process, or an instrument in this process.
class Instruments
{
public:
    Instruments(const QString &fixture, int tests, bool paced)
    {
        if (fixture.isEmpty()) {
            SimulatedInstrument instrument(0x3F010001);
            StandardParameters::addTo(instrument);
            instrument.setTests(3000, GeneratedTests::tightnessTests(tests));
            InstrumentLine line;
            line.add(std::move(instrument));
            line.setRecording(false);
            m_line = std::make_unique<PseudoTerminalLine>(
                std::move(line), PseudoTerminalLine::Options{true, paced, 57600});
            m_line->start();
            m_path = QByteArray::fromStdString(m_line->path());
            return;
        }
        QStringList arguments{QStringLiteral("--fixture"), fixture};
        if (paced)
            arguments << QStringLiteral("--pace");
        m_process.start(QStringLiteral(LUMETRA4_SIMULATOR), arguments);
        if (!m_process.waitForReadyRead(10000) && !m_process.canReadLine())
            throw std::runtime_error("the simulator printed no device path");
        m_path = m_process.readLine().trimmed();
    }

    ~Instruments()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    QByteArray path() const { return m_path; }

private:
    std::unique_ptr<PseudoTerminalLine> m_line;
    QProcess m_process;
    QByteArray m_path;
};

Run readInstrument(const QString &fixture, int tests, bool paced)
{
    const Instruments instruments(fixture, tests, paced);
    qputenv("VLM_BUS_COM1", instruments.path());

    const VlmBusFunctions &call = VlmBusLibrary::instance().functions();
    Run run;
    if (call.SetCommPort(1) != 1 || call.StartCommunication(500) == VLM_BUS_PORT_FAILED)
        throw std::runtime_error(VlmBusLibrary::instance().errorText().toStdString());
    uint32_t devices[52] = {};
    if (call.GetConnectedDevices(devices) == 0)
        throw std::runtime_error("no instrument attached");
    BusDataObject firmware = {};
    BusDataObject infoAddress = {};
    if (call.GetParameter(devices[0], 13, &firmware) != 1
        || call.GetParameter(devices[0], 71, &infoAddress) != 1)
        throw std::runtime_error(VlmBusLibrary::instance().errorText().toStdString());

    BusMemory memory(call, devices[0]);
    MemoryDecoder decoder(memory);
    QElapsedTimer timer;
    const double cpuBefore = processCpuMs();
    timer.start();
    const bool read = decoder.ReadAll(littleEndianValue(firmware), littleEndianValue(infoAddress));
    run.wallMs = double(timer.nsecsElapsed()) / 1e6;
    run.cpuMs = processCpuMs() - cpuBefore;
    call.StopCommunication();
    if (!read)
        throw std::runtime_error(decoder.lastError().toStdString());
    run.reads = memory.reads;
    run.wireBytes = memory.wireBytes;
    run.tests = int(decoder.instrument().blocks.size());
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int tests = arguments.size() > 1 ? arguments.at(1).toInt() : 40;
    const QString fixture = arguments.size() > 2 ? arguments.at(2) : QString();
    if (tests <= 0) {
        std::fprintf(stderr, "usage: BusBench [TESTS] [FIXTURE]\n");
        return 2;
    }
    VlmBusLibrary::instance().reset(QStringLiteral(VLM_BUS_FILE));
    try {
        const Run paced = readInstrument(fixture, tests, true);
        const int exchanges = 2 * paced.reads;
        const double floorMs = double(paced.wireBytes) * bitsPerByte / baudRate * 1000.0
                               + exchanges * pausesPerExchangeMs;
        std::printf("memory read at 57600 baud: %d blocks decoded, %d reads, %ld bytes on the "
                    "line\n",
                    paced.tests, paced.reads, paced.wireBytes);
        std::printf("  time %.0f ms, floor %.0f ms, ratio %.2f (goal 1.30)\n", paced.wallMs,
                    floorMs, paced.wallMs / floorMs);
        const Run unpaced = readInstrument(fixture, tests, false);
        std::printf("without pacing: %.0f ms for %d telegrams, CPU %.3f ms per telegram\n",
                    unpaced.wallMs, 2 * unpaced.reads, unpaced.cpuMs / (2 * unpaced.reads));
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "BusBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
