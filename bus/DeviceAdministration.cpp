#include "DeviceAdministration.h"

#include "HandleRecord.h"
#include "LittleEndian.h"

#include <algorithm>
#include <cinttypes>

namespace {

namespace Service {
constexpr uint8_t switchBusState = 0;
constexpr uint8_t deviceMode = 16;
constexpr uint8_t syncId = 60;
constexpr uint8_t timeOutTime = 61;
constexpr uint8_t fabNumber = 62;
constexpr uint8_t lock = 63;
} // namespace Service

constexpr uint8_t lockBus = 0xFF;
constexpr uint8_t unlockBus = 0;
constexpr uint16_t shortestDeviceTimeOut = 50;

// Keeps the log suppression on for the lifetime of one StartCommunication or search.
class Suppression
{
public:
    explicit Suppression(DebugLog &log) : m_log(log) { m_log.setSuppressed(true); }
    ~Suppression() { m_log.setSuppressed(false); }

private:
    DebugLog &m_log;
};

} // namespace

bool DeviceAdministration::isAttached(uint32_t fabNumber) const
{
    return std::find(m_devices.begin(), m_devices.begin() + m_count, fabNumber)
           != m_devices.begin() + m_count;
}

void DeviceAdministration::clearTable()
{
    m_devices.fill(0);
    m_count = 0;
}

uint8_t DeviceAdministration::startCommunication(uint16_t globalTimeOut)
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry(
        "\nFunction: StartCommunication - Parameter: GlobalTimeOutTime = %d ms\n",
        globalTimeOut);
    Suppression suppression(m_context.log);
    m_count = 0;
    m_globalTimeOut = globalTimeOut;
    if (!m_link.openCommPort())
        return 255;
    HandleRecord::write(uint32_t(m_context.transport.handleNumber()));
    m_context.clock.sleep(10);

    uint32_t found = 0;
    // The count is checked after the search, so a device beyond the fiftieth is found but
    // never attached, and fifty devices still start with fifty.
    while (m_context.telegrams.search(&found) && m_count < maxDevices) {
        if (m_context.telegrams.attach(found) != 0) {
            if (text.isEmpty())
                text.set("slave could not be activated!");
            return 253;
        }
        setLockService(found, lockBus);
        if (!setTimeOutTime(found, m_globalTimeOut)) {
            if (text.isEmpty())
                text.set("error writing global time out time!");
            setLockService(found, unlockBus);
            return 254;
        }
        setLockService(found, unlockBus);
        if (isAttached(found))
            return 251;
        m_devices[m_count++] = found;
    }
    return m_count;
}

uint8_t DeviceAdministration::stopCommunication()
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry("\nFunction: StopCommunication - Parameter: None\n");
    if (!m_link.isOpen()) {
        text.set("comm port not opened!");
        return 0;
    }
    uint8_t result = 1;
    const uint8_t busOff = 0;
    for (uint8_t i = 0; i < m_count; ++i) {
        if (m_context.telegrams.writeService(m_devices[i], Service::switchBusState, 0, nullptr,
                                             &busOff, 1)
            != 0) {
            text.set("set service 'switch bus state' fails!");
            result = 0;
        }
    }
    if (!m_link.closeCommPort()) {
        text.set("close comm port fails!");
        return 0;
    }
    HandleRecord::remove();
    clearTable();
    return result;
}

uint8_t DeviceAdministration::getConnectedDevices(uint32_t *devices)
{
    m_context.errorText.clear();
    m_context.log.entry(
        "\nFunction: GetConnectedDevices - Parameter: Devices = 0x%08" PRIXPTR " (Ptr)\n",
        reinterpret_cast<uintptr_t>(devices));
    if (devices && m_count > 0)
        std::copy(m_devices.begin(), m_devices.begin() + m_count, devices);
    return m_count;
}

uint8_t DeviceAdministration::searchForNewDevices(uint32_t *devices, uint8_t known,
                                                  uint8_t newInclude)
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry("\nFunction: SearchForNewDevices - Parameter: Devices = 0x%08" PRIXPTR
                        " (Ptr); NrOfDevices = %d; NrOfNewInclude = %d\n",
                        reinterpret_cast<uintptr_t>(devices), known, newInclude);
    Suppression suppression(m_context.log);
    if (!devices) {
        text.set("device pointer points to NULL!");
        return 252;
    }
    // The table holds fifty devices; a longer list would be copied past its end.
    if (known > maxDevices) {
        text.set("NrOfDevices = %d is too big! The bus holds at most %d devices.", known,
                 maxDevices);
        return 252;
    }
    std::copy(devices, devices + known, m_devices.begin());
    m_count = known;
    if (!m_link.isOpen()) {
        text.set("selected comm port is not available!");
        return 255;
    }
    uint8_t added = 0;
    uint32_t found = 0;
    while (m_context.telegrams.search(&found) && m_count < maxDevices && added < newInclude) {
        if (m_context.telegrams.attach(found) != 0) {
            text.set("slave could not be activated!");
            return 253;
        }
        setLockService(found, lockBus);
        if (!setTimeOutTime(found, m_globalTimeOut)) {
            setLockService(found, unlockBus);
            text.set("error writing time out time!");
            return 254;
        }
        setLockService(found, unlockBus);
        if (isAttached(found))
            return 251;
        m_devices[m_count++] = found;
        ++added;
    }
    if (added > 0)
        std::copy(m_devices.begin(), m_devices.begin() + m_count, devices);
    return added;
}

uint32_t DeviceAdministration::syncIdentifier(const std::tm &utc)
{
    const uint32_t year = uint32_t(utc.tm_year + 1900);
    const uint32_t month = uint32_t(utc.tm_mon + 1);
    uint32_t value = 366 * year + 31 * month + uint32_t(utc.tm_mday);
    value = value * 24 + uint32_t(utc.tm_hour);
    value = value * 60 + uint32_t(utc.tm_min) + 19661824u;
    return value * 60 + uint32_t(utc.tm_sec);
}

uint32_t DeviceAdministration::sendSync(uint8_t type)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: SendSync - Parameter: Type = %d\n", type);
    const std::time_t now = std::time(nullptr);
    std::tm utc = {};
    gmtime_r(&now, &utc);
    const uint32_t identifier = syncIdentifier(utc);
    m_context.telegrams.sync(type, identifier);
    return identifier;
}

uint8_t DeviceAdministration::verifySyncReceive(uint32_t syncId)
{
    ErrorText &text = m_context.errorText;
    text.clear();
    m_context.log.entry(
        "\nFunction: VerifySyncReceive - Parameter: SyncID = %d; Nr. of Devices = %d\n",
        int(syncId), m_count);
    if (m_count == 0)
        return 0;
    for (uint8_t i = 0; i < m_count; ++i) {
        uint8_t data[TelegramLayer::maxServiceData];
        size_t length = 0;
        if (!m_context.telegrams.readService(m_devices[i], Service::syncId, 0, nullptr, data,
                                             &length)) {
            text.set("get service 'get sync ID' fails!");
            return 0;
        }
        if (length != 4 || readLittleEndian32(data) != syncId)
            return 0;
    }
    return 1;
}

uint8_t DeviceAdministration::activateCommand(uint32_t fabNumber)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: ActivateCommand - Parameter: FABNr = %d\n",
                        int(fabNumber));
    const uint8_t result = m_context.telegrams.attach(fabNumber);
    if (result == 0)
        return 1;
    if (result == TransferResult::timeOut)
        m_context.errorText.set("Device: %d removed!", int(fabNumber));
    return 0;
}

uint8_t DeviceAdministration::switchDeviceMode(uint32_t fabNumber, uint8_t mode)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: SwitchDeviceMode - Parameter: FABNr = %d; Mode = %d\n",
                        int(fabNumber), mode);
    const uint8_t value = mode == 1 ? 1 : 0;
    if (m_context.telegrams.writeService(fabNumber, Service::deviceMode, 0, nullptr, &value, 1)
        != 0) {
        m_context.errorText.set("set service 'switch device mode' fails!");
        return 0;
    }
    return 1;
}

uint8_t DeviceAdministration::getDeviceMode(uint32_t fabNumber)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: GetDeviceMode - Parameter: FABNr = %d\n", int(fabNumber));
    uint8_t data[TelegramLayer::maxServiceData] = {};
    size_t length = 0;
    if (!m_context.telegrams.readService(fabNumber, Service::deviceMode, 0, nullptr, data,
                                         &length)) {
        m_context.errorText.set("get service 'get device mode' fails!");
        return 253;
    }
    return data[0];
}

uint8_t DeviceAdministration::setLockService(uint32_t fabNumber, uint8_t lockUnlock)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: SetLockService - Parameter: FABNr = %d; LockUnlock = %d\n",
                        int(fabNumber), lockUnlock);
    if (m_context.telegrams.writeService(fabNumber, Service::lock, 0, nullptr, &lockUnlock, 1)
        != 0) {
        m_context.errorText.set("error could not specified!");
        return 0;
    }
    return 1;
}

uint16_t DeviceAdministration::getTimeOutTime(uint32_t fabNumber)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: GetTimeOutTime - Parameter: FABNr = %d\n", int(fabNumber));
    uint8_t data[TelegramLayer::maxServiceData];
    size_t length = 0;
    if (!m_context.telegrams.readService(fabNumber, Service::timeOutTime, 0, nullptr, data,
                                         &length)) {
        m_context.errorText.set("get service 'time-out-time' fails!");
        return 0;
    }
    if (length != 2) {
        m_context.errorText.set("data length not correct!");
        return 0;
    }
    return readLittleEndian16(data);
}

uint8_t DeviceAdministration::setTimeOutTime(uint32_t fabNumber, uint16_t time)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: SetTimeOutTime - Parameter: FABNr = %d; Time = %dms\n",
                        int(fabNumber), time);
    uint8_t data[2];
    writeLittleEndian16(data, std::max(time, shortestDeviceTimeOut));
    if (m_context.telegrams.writeService(fabNumber, Service::timeOutTime, 0, nullptr, data, 2)
        != 0) {
        m_context.errorText.set("set service 'time-out-time' fails!");
        return 0;
    }
    return 1;
}

uint8_t DeviceAdministration::setNewFabNumber(uint32_t oldFabNumber, uint32_t newFabNumber)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: SetNewFabNumber - Parameter: OldFABNr = %d; NewFabNr = %d\n",
                        int(oldFabNumber), int(newFabNumber));
    uint8_t data[4];
    writeLittleEndian32(data, newFabNumber);
    if (m_context.telegrams.writeService(oldFabNumber, Service::fabNumber, 0, nullptr, data, 4)
        != 0) {
        m_context.errorText.set("set service 'set FAB number' fails!");
        return 0;
    }
    std::replace(m_devices.begin(), m_devices.begin() + m_count, oldFabNumber, newFabNumber);
    return 1;
}

uint8_t DeviceAdministration::enforceInterfaceRelease()
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: EnforceInterfaceRelease - Parameter: None\n");
    const uint32_t recorded = HandleRecord::read();
    if (recorded == 0) {
        m_context.errorText.set("comm port handle lost!");
        return 0;
    }
    // Descriptor numbers are reused: only our own open port is closed, never whatever else
    // this process holds under the recorded number.
    if (m_link.isOpen() && uint32_t(m_context.transport.handleNumber()) == recorded) {
        m_link.closeCommPort();
        clearTable();
    }
    return 1;
}
