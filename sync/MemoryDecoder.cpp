#include "MemoryDecoder.h"

#include "sync/InstrumentMemory.h"
#include "sync/NumberText.h"
#include "sync/image/Crc16Kermit.h"
#include "sync/image/LittleEndian.h"
#include "sync/image/MemoryLayout.h"
#include "data/StringTable.h"

#include <cmath>

using namespace MemoryLayout;

namespace {

// No pressure, flow or number of an instrument comes near this; larger values would overflow
// the conversions to mbar and to the database's single-precision columns.
constexpr double largestPlausibleValue = 1e30;

bool plausible(double value)
{
    return std::isfinite(value) && std::fabs(value) <= largestPlausibleValue;
}

const uint8_t *bytesOf(const QByteArray &data)
{
    return reinterpret_cast<const uint8_t *>(data.constData());
}

bool crcMatches(const uint8_t *structure, uint32_t crcOffset)
{
    return crc16Kermit(structure, crcOffset) == LittleEndian::u16(structure + crcOffset);
}

} // namespace

MemoryDecoder::MemoryDecoder(InstrumentMemory &memory, std::function<bool()> stopRequested)
    : m_memory(memory)
    , m_stopRequested(std::move(stopRequested))
{}

void MemoryDecoder::startInstrument(uint32_t firmwareNumber)
{
    m_instrument = DecodedInstrument();
    m_instrument.firmwareNumber = firmwareNumber;
    m_lastError.clear();
}

bool MemoryDecoder::read(uint32_t address, uint32_t length, QByteArray &data)
{
    if (!m_memory.read(measurementMemoryType, address, uint8_t(length), data)) {
        m_lastError = m_memory.lastError();
        return false;
    }
    if (uint32_t(data.size()) != length) {
        // A short answer would leave parts of a table or block unread without anyone noticing.
        m_lastError = resString(27094)
                          .arg(address).arg(data.size()).arg(length);
        return false;
    }
    return true;
}

bool MemoryDecoder::ReadInfoBlock(uint32_t infoBlockAddress)
{
    if (stopped())
        return false;
    QByteArray data;
    if (!read(infoBlockAddress, infoBlockSize, data))
        return false;
    const uint8_t *info = bytesOf(data);
    InfoBlock &block = m_instrument.info;
    block.tableStart = LittleEndian::u32(info + Info::tableStart);
    block.tableEnd = LittleEndian::u32(info + Info::tableEnd);
    block.headerLength = LittleEndian::u32(info + Info::headerLength);
    block.highestValidAddress = LittleEndian::u32(info + Info::highestValidAddress);
    block.blockLength = LittleEndian::u16(info + Info::blockLength);
    if (!infoLayoutValid())
        m_instrument.layoutFault = true;
    return true;
}

bool MemoryDecoder::infoLayoutValid() const
{
    const InfoBlock &info = m_instrument.info;
    return info.headerLength == headerLength && info.blockLength >= samplesOffset
           && info.blockLength % pageSize == 0;
}

bool MemoryDecoder::ReadMainTable()
{
    if (stopped())
        return false;
    const InfoBlock &info = m_instrument.info;
    m_instrument.mainTable.clear();
    if (info.tableEnd < info.tableStart || info.tableStart % tableEntrySize != 0
        || (info.tableEnd - info.tableStart) % tableEntrySize != 0
        || (info.tableEnd - info.tableStart) / tableEntrySize > maxTableEntries) {
        m_instrument.layoutFault = true;
        return true;
    }
    const uint32_t count = (info.tableEnd - info.tableStart) / tableEntrySize;
    m_instrument.mainTable.reserve(count);
    // The first read ends at a page boundary, so the following reads each cover one page.
    uint32_t position = info.tableStart;
    uint32_t length = pageSize - info.tableStart % pageSize;
    QByteArray data;
    while (position < info.tableEnd) {
        length = std::min(length, info.tableEnd - position);
        if (!read(position, length, data))
            return false;
        for (uint32_t offset = 0; offset + tableEntrySize <= length; offset += tableEntrySize)
            m_instrument.mainTable.append(LittleEndian::u32(bytesOf(data) + offset));
        position += length;
        length = pageSize;
    }
    return true;
}

bool MemoryDecoder::ReadBlockHeaders(double progressStep,
                                     const std::function<void(double)> &advance)
{
    const qsizetype count = m_instrument.mainTable.size();
    m_instrument.blocks = QList<DecodedBlock>(count);
    const bool layoutValid = !m_instrument.layoutFault;
    for (qsizetype k = 0; k < count; ++k) {
        if (stopped())
            return false;
        DecodedBlock &block = m_instrument.blocks[k];
        block.address = m_instrument.mainTable[k];
        const bool inMemory = uint64_t(block.address) + m_instrument.info.blockLength
                              <= uint64_t(UINT32_MAX) + 1;
        block.blockValid = layoutValid && block.address >= 1 && inMemory;
        if (block.blockValid) {
            QByteArray header;
            if (!read(block.address, headerLength, header))
                return false;
            block.bytes = QByteArray(m_instrument.info.blockLength, '\0');
            block.bytes.replace(0, headerLength, header);
        }
        if (advance)
            advance(progressStep / double(count));
    }
    return true;
}

bool MemoryDecoder::headerLayoutValid(const DecodedBlock &block) const
{
    const BlockHeader &header = block.header;
    const uint32_t length = m_instrument.info.blockLength;
    if (header.seriesCount > maxSeries || header.valuesEnd < header.valuesStart
        || header.eventsEnd < header.eventsStart)
        return false;
    const uint64_t sampleBytes = header.valuesEnd - header.valuesStart;
    if (samplesOffset + sampleBytes > length || (sampleBytes > 0 && header.seriesCount == 0))
        return false;
    if (header.eventsStart != header.eventsEnd) {
        if (header.eventsStart < block.address)
            return false;
        const uint64_t offset = header.eventsStart - block.address;
        if (offset + uint64_t(maxEvents) * eventRecordSize > length)
            return false;
    }
    return true;
}

DecodedBlock *MemoryDecoder::blockOfStep(int k, bool *result)
{
    if (stopped()) {
        *result = false;
        return nullptr;
    }
    *result = true; // a block that is not there leaves nothing to do
    return k >= 0 && k < m_instrument.blocks.size() ? &m_instrument.blocks[k] : nullptr;
}

bool MemoryDecoder::ReadBlock(int k)
{
    bool result = true;
    DecodedBlock *step = blockOfStep(k, &result);
    if (!step)
        return result;
    DecodedBlock &block = *step;
    if (!block.blockValid)
        return true;
    const uint8_t *bytes = bytesOf(block.bytes);
    BlockHeader &header = block.header;
    header.valuesStart = LittleEndian::u32(bytes + Header::valuesStart);
    header.valuesEnd = LittleEndian::u32(bytes + Header::valuesEnd);
    header.seriesCount = bytes[Header::seriesCount];
    header.measurementNumber = LittleEndian::u16(bytes + Header::measurementNumber);
    header.eventsStart = LittleEndian::u32(bytes + Header::eventsStart);
    header.eventsEnd = LittleEndian::u32(bytes + Header::eventsEnd);
    header.sampleInterval = LittleEndian::u16(bytes + Header::sampleInterval);
    // A header that fails a check costs no further reads.
    if (header.valuesStart > m_instrument.info.highestValidAddress
        || !crcMatches(bytes, headerCrcOffset) || !headerLayoutValid(block)) {
        block.blockValid = false;
        return true;
    }
    const uint32_t pages = m_instrument.info.blockLength / pageSize;
    QByteArray page;
    for (uint32_t m = 0; m < pages; ++m) {
        if (!read(block.address + pageSize * m, pageSize, page))
            return false;
        block.bytes.replace(qsizetype(pageSize) * m, pageSize, page);
    }
    return true;
}

bool MemoryDecoder::ReadSeriesTable(int k)
{
    bool result = true;
    DecodedBlock *step = blockOfStep(k, &result);
    if (!step)
        return result;
    DecodedBlock &block = *step;
    if (!block.blockValid)
        return true;
    for (int s = 0; s < block.header.seriesCount; ++s) {
        const uint8_t *entry = bytesOf(block.bytes) + seriesTableOffset + seriesEntrySize * s;
        block.series[s].nameCode = LittleEndian::u16(entry + Series::nameCode);
        block.series[s].unitCode = entry[Series::unitCode];
        block.series[s].bytesPerSample = entry[Series::bytesPerSample];
        if (!crcMatches(entry, Series::crc))
            block.blockValid = false;
    }
    if (block.blockValid && !samplesValid(block))
        block.blockValid = false;
    return true;
}

bool MemoryDecoder::samplesValid(const DecodedBlock &block) const
{
    const int count = block.sampleCount();
    if (count > 0 && block.series[0].bytesPerSample == 0)
        return false; // the test duration would divide by it
    for (int s = 0; s < block.header.seriesCount; ++s) {
        for (int j = 0; j < count; ++j) {
            if (!plausible(block.sample(s, j)))
                return false;
        }
    }
    return true;
}

bool MemoryDecoder::ReadEvents(int k)
{
    bool result = true;
    DecodedBlock *step = blockOfStep(k, &result);
    if (!step)
        return result;
    DecodedBlock &block = *step;
    block.eventCount = 0;
    block.events = {};
    if (!block.blockValid || block.header.eventsStart == block.header.eventsEnd)
        return true;
    const bool integerNumbers = m_instrument.firmwareNumber > integerNumbersAfterFirmware;
    const uint32_t areaOffset = block.header.eventsStart - block.address;
    for (uint32_t r = 0; r < maxEvents; ++r) {
        const uint8_t *record = bytesOf(block.bytes) + areaOffset + eventRecordSize * r;
        if (record[Event::crc] == 0xFF && record[Event::crc + 1] == 0xFF)
            continue;
        ++block.eventCount;
        EventRecord &event = block.events[r];
        event.code = record[Event::code];
        event.day = record[Event::day];
        event.month = record[Event::month];
        event.year = LittleEndian::u16(record + Event::year);
        event.second = record[Event::second];
        event.minute = record[Event::minute];
        event.hour = record[Event::hour];
        const bool isNumber = event.code == EventCode::CustomerNumber
                              || event.code == EventCode::MeterNumber;
        if (integerNumbers && isNumber)
            event.value = int32_t(LittleEndian::u32(record + Event::value));
        else
            event.value = NumberText::roundToThousandths(
                LittleEndian::single(record + Event::value));
        if (!crcMatches(record, Event::crc) || !plausible(event.value))
            block.blockValid = false;
    }
    return true;
}

bool MemoryDecoder::ReadAll(uint32_t firmwareNumber, uint32_t infoBlockAddress)
{
    startInstrument(firmwareNumber);
    if (!ReadInfoBlock(infoBlockAddress) || !ReadMainTable() || !ReadBlockHeaders())
        return false;
    const int count = int(m_instrument.blocks.size());
    for (int k = 0; k < count; ++k) {
        if (!ReadBlock(k))
            return false;
    }
    for (int k = 0; k < count; ++k) {
        if (!ReadSeriesTable(k) || !ReadEvents(k))
            return false;
    }
    return true;
}
