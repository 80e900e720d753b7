#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Reading an instrument's memory: the bus library's GetMemory for the current instrument, or a
// memory image in the tests.
class InstrumentMemory
{
public:
    virtual ~InstrumentMemory() = default;

    // Reads length (1-251) bytes at address of memory type into data. False when the read
    // failed; lastError() then says why.
    virtual bool read(uint8_t memoryType, uint32_t address, uint8_t length, QByteArray &data) = 0;
    virtual QString lastError() const = 0;
};
