#include "MemoryServices.h"

#include <algorithm>
#include <cinttypes>
#include <cstring>

namespace {

constexpr uint8_t firstMemoryService = 32;
constexpr uint8_t highestMemoryType = 4;
constexpr uint8_t subData = 0;
constexpr uint8_t subLength = 1;
constexpr char componentName[] = "VELMORA Bus-System";

uintptr_t pointerValue(const void *pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

} // namespace

bool MemoryServices::isValidRequest(uint8_t memoryType, const BusMemoryObject *memory)
{
    ErrorText &text = m_context.errorText;
    if (!memory) {
        text.set("'BusMemoryObject' points to NULL!");
        return false;
    }
    if (memory->Length == 0) {
        text.set("length of 'BusMemoryObject' is 0!");
        return false;
    }
    if (memory->Length > TelegramLayer::maxServiceData) {
        text.set("length of 'BusMemoryObject' is too big!");
        return false;
    }
    return memoryType <= highestMemoryType;
}

bool MemoryServices::writeLength(uint32_t fabNumber, uint8_t memoryType, uint8_t length)
{
    if (m_context.telegrams.writeService(fabNumber, uint8_t(firstMemoryService + memoryType),
                                         subLength, nullptr, &length, 1)
        == 0)
        return true;
    m_context.errorText.set("set service 'memory data length' fails!");
    return false;
}

uint8_t MemoryServices::getMemory(uint32_t fabNumber, uint8_t memoryType, uint32_t address,
                                  BusMemoryObject *memory)
{
    m_context.errorText.clear();
    m_context.log.entry("\nFunction: GetMemory - Parameter: FABNr = %d; MemoryType = %d; "
                        "Address = 0x%08X, Memory = 0x%08" PRIXPTR " (Ptr)\n",
                        int(fabNumber), memoryType, address, pointerValue(memory));
    if (!isValidRequest(memoryType, memory))
        return 0;
    // A failed length write does not stop the read, but the call then fails.
    uint8_t result = writeLength(fabNumber, memoryType, memory->Length) ? 1 : 0;
    uint8_t data[TelegramLayer::maxServiceData];
    size_t length = 0;
    if (!m_context.telegrams.readService(fabNumber, uint8_t(firstMemoryService + memoryType),
                                         subData, &address, data, &length)) {
        m_context.errorText.set("get service 'memory data' fails!");
        return 0;
    }
    // A block of another length than asked for is not the block at this address.
    if (length != memory->Length) {
        m_context.errorText.set("invalid size (%d Bytes instead of %d Bytes) of 'memory data'!",
                                int(length), memory->Length);
        return 0;
    }
    std::copy(data, data + length, memory->Data);
    return result;
}

uint8_t MemoryServices::setMemory(uint32_t fabNumber, uint8_t memoryType, uint32_t address,
                                  BusMemoryObject *memory)
{
    m_context.log.entry("\nFunction: SetMemory - Parameter: FABNr = %d; MemoryType = %d; "
                        "Address = 0x%08X, Memory = 0x%08" PRIXPTR " (Ptr)\n",
                        int(fabNumber), memoryType, address, pointerValue(memory));
    if (!isValidRequest(memoryType, memory))
        return 0;
    uint8_t result = writeLength(fabNumber, memoryType, memory->Length) ? 1 : 0;
    if (m_context.telegrams.writeService(fabNumber, uint8_t(firstMemoryService + memoryType),
                                         subData, &address, memory->Data, memory->Length)
        != 0) {
        m_context.errorText.set("set service 'memory data' fails!");
        return 0;
    }
    return result;
}

int32_t MemoryServices::getExtendedErrorInformation(char *message)
{
    m_context.log.entry(
        "\nFunction: GetExtendedErrorInformation - Parameter: ErrMsg = 0x%08" PRIXPTR
        " (Ptr)\n",
        pointerValue(message));
    if (!message)
        return 0;
    std::memcpy(message, m_context.errorText.text(), m_context.errorText.length() + 1);
    return int32_t(m_context.errorText.length());
}

int32_t MemoryServices::getComponentName(char *name)
{
    m_context.log.entry("\nFunction: GetComponentName - Parameter: 0x%08" PRIXPTR " (Ptr)\n",
                        pointerValue(name));
    if (!name)
        return 0;
    std::memcpy(name, componentName, sizeof componentName);
    return int32_t(sizeof componentName - 1);
}

uint8_t MemoryServices::serviceMemoryTable(void *table)
{
    m_context.log.entry("\nFunction: ServiceMemoryTable - Parameter: 0x%08" PRIXPTR " (Ptr)\n",
                        pointerValue(table));
    return 1;
}
