#include "sync/BusInstrumentMemory.h"

#include "sync/BusInstrumentParameters.h"

BusInstrumentMemory::BusInstrumentMemory(const VlmBusFunctions &bus, uint32_t fabNumber)
    : m_bus(bus)
    , m_fab(fabNumber)
{}

bool BusInstrumentMemory::read(uint8_t memoryType, uint32_t address, uint8_t length,
                               QByteArray &data)
{
    BusMemoryObject memory{};
    memory.Length = length;
    if (m_bus.GetMemory(m_fab, memoryType, address, &memory) != 1) {
        m_lastError = busErrorText(m_bus);
        return false;
    }
    data = QByteArray(reinterpret_cast<const char *>(memory.Data), memory.Length);
    return true;
}
