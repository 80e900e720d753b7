#pragma once

#include "bus/client/VlmBusLibrary.h"
#include "sync/InstrumentMemory.h"

// The memory of one attached instrument, read through the bus library's GetMemory.
class BusInstrumentMemory : public InstrumentMemory
{
public:
    BusInstrumentMemory(const VlmBusFunctions &bus, uint32_t fabNumber);

    bool read(uint8_t memoryType, uint32_t address, uint8_t length, QByteArray &data) override;
    QString lastError() const override { return m_lastError; }

private:
    const VlmBusFunctions &m_bus;
    uint32_t m_fab;
    QString m_lastError;
};
