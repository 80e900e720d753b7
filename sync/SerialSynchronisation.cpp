#include "sync/SerialSynchronisation.h"

#include "sync/BusInstrumentParameters.h"
#include "sync/FabNumber.h"
#include "sync/InstrumentMemory.h"
#include "sync/InstrumentParameters.h"
#include "sync/MemoryDecoder.h"
#include "sync/ParameterValues.h"
#include "sync/TestBuilder.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int maxDevices = 50;
constexpr int startFailedFrom = 51;
constexpr uint16_t firmwareParameter = 13;
constexpr uint16_t infoBlockParameter = 71;

} // namespace

SerialSynchronisation::SerialSynchronisation(const VlmBusFunctions &bus,
                                             InstrumentParameters &parameters,
                                             MemoryFactory memory,
                                             const SerialSyncSettings &settings)
    : m_bus(bus)
    , m_parameters(parameters)
    , m_memory(std::move(memory))
    , m_settings(settings)
{
    // A time-out outside this range would make the keep-alive spin or starve the instruments.
    m_settings.timeOut = std::clamp(m_settings.timeOut, 500, 30000);
}

int SerialSynchronisation::keepAliveInterval(int timeOut)
{
    return int(std::lround(std::clamp(timeOut, 500, 30000) / 4.0));
}

QString SerialSynchronisation::libraryError()
{
    return busErrorText(m_bus);
}

void SerialSynchronisation::progress(double percent)
{
    if (onProgress)
        onProgress(std::clamp(int(std::lround(percent)), 0, 100));
}

void SerialSynchronisation::stage(int stringNumber)
{
    if (onStage)
        onStage(stringNumber);
    yield();
}

bool SerialSynchronisation::connect()
{
    if (m_settings.communicationLog)
        m_bus.SetDebugMode(0xFF); // a log that cannot be created stays off; the run goes on
    m_bus.EnforceInterfaceRelease();
    m_bus.EnforceInterfaceRelease();
    const uint16_t timeOut = uint16_t(m_settings.timeOut);
    if (m_settings.autoCommPort) {
        // The first present port at which instruments answer; else the last present port.
        const uint8_t present = m_bus.GetAvailableCommPorts();
        int result = 255;
        m_port = 0;
        for (int i = 0; i < 8 && !(result >= 1 && result <= maxDevices); ++i) {
            if (!(present & (1u << i)))
                continue;
            m_port = i + 1;
            if (m_bus.SetCommPort(uint8_t(m_port))) {
                result = m_bus.StartCommunication(timeOut);
                m_bus.StopCommunication();
            }
        }
    } else {
        m_port = m_settings.commPort;
    }
    if (!m_bus.SetCommPort(uint8_t(m_port)))
        return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_startCode = m_bus.StartCommunication(timeOut);
        if (m_startCode < startFailedFrom) {
            m_communicating = true;
            m_deviceCount = m_bus.GetConnectedDevices(m_devices);
            m_sinceKeepAlive.start();
            return true;
        }
        m_bus.StopCommunication();
        m_bus.EnforceInterfaceRelease();
    }
    m_errorText = libraryError();
    return false;
}

void SerialSynchronisation::keepAlive()
{
    if (m_deviceCount <= maxDevices) {
        const int found = m_bus.SearchForNewDevices(m_devices, uint8_t(m_deviceCount), maxDevices);
        if (found >= 1 && found <= maxDevices)
            m_deviceCount = m_bus.GetConnectedDevices(m_devices);
    }
    // An instrument that no longer answers leaves the list; the one moving into its place is
    // checked next, so none is skipped.
    int i = 0;
    while (i < m_deviceCount) {
        if (m_devices[i] != 0 && m_bus.ActivateCommand(m_devices[i]) != 1) {
            libraryError();
            std::copy(m_devices + i + 1, m_devices + m_deviceCount, m_devices + i);
            m_devices[--m_deviceCount] = 0;
        } else {
            ++i;
        }
    }
    m_sinceKeepAlive.restart();
}

void SerialSynchronisation::yield()
{
    if (!stopping() && m_communicating
        && m_sinceKeepAlive.elapsed() >= keepAliveInterval(m_settings.timeOut))
        keepAlive();
}

SerialSynchronisation::Outcome SerialSynchronisation::communicationError(const QString &text)
{
    if (stopping())
        return Outcome::Stopped;
    m_errorText = text.isEmpty() ? libraryError() : text;
    return Outcome::CommunicationError;
}

bool SerialSynchronisation::readParameterValue(uint32_t fab, uint16_t number, uint32_t *value)
{
    ParameterRecord record;
    if (!m_parameters.getParameter(fab, number, record))
        return false;
    *value = ParameterValueText(record).toUInt();
    return true;
}

SerialSynchronisation::Outcome SerialSynchronisation::connectAndRead()
{
    if (!connect()) {
        finish();
        return m_startCode >= startFailedFrom ? Outcome::StartFailed : Outcome::PortUnavailable;
    }
    yield();
    // Every instrument of the list counts, up to the full fifty the line can carry.
    QList<uint32_t> recognised;
    for (int i = 0; i < std::min(m_deviceCount, maxDevices); ++i) {
        if (m_devices[i] != 0 && FabNumber::type(m_devices[i]) == FabNumber::lumetra4Type)
            recognised << m_devices[i];
    }
    if (stopping())
        return Outcome::Stopped;
    if (recognised.isEmpty())
        return Outcome::NoInstruments;
    for (int i = 0; i < recognised.size(); ++i) {
        const uint32_t fab = recognised[i];
        if (!readInstrument(fab, FabNumber::displayText(fab), i, int(recognised.size())))
            return communicationError();
        if (stopping())
            return Outcome::Stopped;
    }
    return Outcome::Read;
}

bool SerialSynchronisation::readInstrument(uint32_t fab, const QString &text, int index,
                                           int count)
{
    const double share = 100.0 / count;
    const double start = share * index;
    if (m_bus.ActivateCommand(fab) != 1)
        return false;
    if (onInstrument)
        onInstrument(QStringLiteral("FAB: %1 - (%2/%3)").arg(text).arg(index + 1).arg(count));
    stage(27001);
    uint32_t firmware = 0;
    uint32_t infoBlock = 0;
    if (!readParameterValue(fab, firmwareParameter, &firmware))
        return false;
    yield();
    if (stopping() || !readParameterValue(fab, infoBlockParameter, &infoBlock))
        return false;
    yield();

    std::unique_ptr<InstrumentMemory> memory = m_memory(fab);
    MemoryDecoder decoder(*memory, [this] {
        yield(); // between memory reads the instruments are kept attached
        return stopping();
    });
    decoder.startInstrument(firmware);
    auto failed = [&] {
        m_errorText = decoder.lastError().isEmpty() ? libraryError() : decoder.lastError();
        return false;
    };
    if (!decoder.ReadInfoBlock(infoBlock))
        return failed();
    progress(start + share * 0.05);
    stage(27002);
    if (stopping() || !decoder.ReadMainTable())
        return failed();
    progress(start + share * 0.2);
    stage(27003);
    double reached = start + share * 0.2;
    const auto advance = [&](double step) { progress(reached += step); };
    if (!decoder.ReadBlockHeaders(std::round(share * 0.5), advance))
        return failed();
    const auto &blocks = decoder.instrument().blocks;
    const double perBlock = blocks.isEmpty() ? 0 : share * 0.2 / blocks.size();
    for (int k = 0; k < blocks.size(); ++k) {
        if (!decoder.ReadBlock(k))
            return failed();
        progress(std::min(reached += perBlock, start + share * 0.9));
    }
    stage(27004);
    for (int k = 0; k < blocks.size(); ++k) {
        if (stopping() || !decoder.ReadSeriesTable(k))
            return failed();
        yield();
        if (!decoder.ReadEvents(k))
            return failed();
    }
    progress(start + share * 0.9);
    stage(27005);
    const BuildOutcome built = BuildTests(decoder.instrument(), text, m_records,
                                          [this] { return stopping(); });
    if (!built.completed)
        return false;
    m_read << ReadInstrument{fab, text, built.blocksWithoutTest, built.layoutFault};
    progress(share * (index + 1));
    return true;
}

DeletionReport SerialSynchronisation::deleteReadTests()
{
    return DeleteReadTests(m_parameters, m_read);
}

void SerialSynchronisation::finish()
{
    if (m_communicating) {
        m_bus.StopCommunication();
        m_communicating = false;
    }
    if (m_settings.communicationLog)
        m_bus.SetDebugMode(0); // closes the file, so it is complete on disk
}
