#pragma once

#include "sync/InstrumentMemory.h"
#include "sync/image/MemoryImage.h"

#include <QList>

// An instrument's measurement memory held in a memory image; keeps a log of the reads.
class ImageMemory : public InstrumentMemory
{
public:
    struct Read
    {
        uint32_t address;
        uint8_t length;
        bool operator==(const Read &) const = default;
    };

    explicit ImageMemory(MemoryImage image);

    bool read(uint8_t memoryType, uint32_t address, uint8_t length, QByteArray &data) override;
    QString lastError() const override { return m_lastError; }

    const MemoryImage &image() const { return m_image; }
    MemoryImage &image() { return m_image; }
    const QList<Read> &reads() const { return m_reads; }
    void clearReads() { m_reads.clear(); }
    // The reads that touched [address, address + length).
    int readsWithin(uint32_t address, uint32_t length) const;

private:
    MemoryImage m_image;
    QList<Read> m_reads;
    QString m_lastError;
};
