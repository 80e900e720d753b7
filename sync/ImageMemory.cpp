#include "ImageMemory.h"

#include "sync/image/MemoryLayout.h"

ImageMemory::ImageMemory(MemoryImage image)
    : m_image(std::move(image))
{}

bool ImageMemory::read(uint8_t memoryType, uint32_t address, uint8_t length, QByteArray &data)
{
    m_reads.append({address, length});
    if (memoryType != MemoryLayout::measurementMemoryType) {
        m_lastError = QStringLiteral("memory type %1 is not held").arg(memoryType);
        return false;
    }
    if (length == 0 || length > 251) {
        m_lastError = QStringLiteral("length of a memory read is %1").arg(length);
        return false;
    }
    if (uint64_t(address) + length > m_image.memory.size()) {
        m_lastError = QStringLiteral("get service 'memory data' fails!");
        return false;
    }
    data = QByteArray(reinterpret_cast<const char *>(m_image.memory.data() + address), length);
    return true;
}

int ImageMemory::readsWithin(uint32_t address, uint32_t length) const
{
    int count = 0;
    for (const Read &read : m_reads) {
        if (uint64_t(read.address) + read.length > address
            && read.address < uint64_t(address) + length)
            ++count;
    }
    return count;
}
