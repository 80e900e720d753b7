#pragma once

#include "BusContext.h"
#include "vlm_bus.h"

#include <cstdint>

// Memory blocks of the memory types 0-4 and the small exports that report on the library.
class MemoryServices
{
public:
    static constexpr uint16_t versionNumber = 104;

    explicit MemoryServices(BusContext &context) : m_context(context) {}

    uint8_t getMemory(uint32_t fabNumber, uint8_t memoryType, uint32_t address,
                      BusMemoryObject *memory);
    uint8_t setMemory(uint32_t fabNumber, uint8_t memoryType, uint32_t address,
                      BusMemoryObject *memory);
    int32_t getExtendedErrorInformation(char *message);
    int32_t getComponentName(char *name);
    uint8_t serviceMemoryTable(void *table);

private:
    // The checks shared by both directions; false when the call must fail.
    bool isValidRequest(uint8_t memoryType, const BusMemoryObject *memory);
    // Announces the block length; false (with its message) when the device did not take it.
    bool writeLength(uint32_t fabNumber, uint8_t memoryType, uint8_t length);

    BusContext &m_context;
};
