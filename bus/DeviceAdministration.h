#pragma once

#include "BusContext.h"
#include "PortLink.h"

#include <array>
#include <cstdint>
#include <ctime>

// Communication start and stop, device discovery, the table of attached devices and the small
// per-device services: lock, device time-out, FAB number, attach, device mode and sync.
class DeviceAdministration
{
public:
    static constexpr uint8_t maxDevices = 50;

    DeviceAdministration(BusContext &context, PortLink &link)
        : m_context(context), m_link(link)
    {}

    uint8_t startCommunication(uint16_t globalTimeOut);
    uint8_t stopCommunication();
    uint8_t getConnectedDevices(uint32_t *devices);
    uint8_t searchForNewDevices(uint32_t *devices, uint8_t known, uint8_t newInclude);
    uint32_t sendSync(uint8_t type);
    uint8_t verifySyncReceive(uint32_t syncId);
    uint8_t activateCommand(uint32_t fabNumber);
    uint8_t switchDeviceMode(uint32_t fabNumber, uint8_t mode);
    uint8_t getDeviceMode(uint32_t fabNumber);
    uint8_t setLockService(uint32_t fabNumber, uint8_t lockUnlock);
    uint16_t getTimeOutTime(uint32_t fabNumber);
    uint8_t setTimeOutTime(uint32_t fabNumber, uint16_t time);
    uint8_t setNewFabNumber(uint32_t oldFabNumber, uint32_t newFabNumber);
    uint8_t enforceInterfaceRelease();

    // The sync identifier of a UTC date and time.
    static uint32_t syncIdentifier(const std::tm &utc);

private:
    bool isAttached(uint32_t fabNumber) const;
    void clearTable();

    BusContext &m_context;
    PortLink &m_link;
    std::array<uint32_t, maxDevices> m_devices = {};
    uint8_t m_count = 0;
    uint16_t m_globalTimeOut = 0;
};
