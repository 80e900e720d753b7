#include "MemoryImageBuilder.h"

#include "Crc16Kermit.h"
#include "LittleEndian.h"
#include "MemoryLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

using namespace MemoryLayout;

namespace {

uint32_t roundUpToPage(uint64_t bytes)
{
    return uint32_t((bytes + pageSize - 1) / pageSize * pageSize);
}

size_t samplesPerSeries(const TestDescription &test)
{
    return test.series.empty() ? 0 : test.series.front().samples.size();
}

uint64_t sampleBytes(const TestDescription &test)
{
    return uint64_t(sampleSize) * test.series.size() * samplesPerSeries(test);
}

void putCrc(uint8_t *structure, uint32_t crcOffset)
{
    LittleEndian::put16(structure + crcOffset, crc16Kermit(structure, crcOffset));
}

// A wrong checksum that still does not read as the 0xFFFF of an empty event record.
void corruptCrc(uint8_t *structure, uint32_t crcOffset)
{
    uint16_t crc = uint16_t(LittleEndian::u16(structure + crcOffset) + 1);
    if (crc == 0xFFFF)
        crc = 0;
    LittleEndian::put16(structure + crcOffset, crc);
}

void check(bool condition, const std::string &what)
{
    if (!condition)
        throw std::invalid_argument("test cannot be stored: " + what);
}

void validate(const TestDescription &test)
{
    check(test.kind >= 0 && test.kind <= 3, "test kind outside 0-3");
    check(test.series.size() <= maxSeries, "more than 2 series");
    for (const CurveDescription &curve : test.series)
        check(curve.samples.size() == samplesPerSeries(test), "series of different lengths");
    const DateTimeDescription &d = test.date;
    check(d.year >= 0 && d.year <= 0xFFFF && d.month >= 0 && d.month <= 255 && d.day >= 0
              && d.day <= 255 && d.hour >= 0 && d.hour <= 255 && d.minute >= 0
              && d.minute <= 255 && d.second >= 0 && d.second <= 255,
          "date field outside its byte");
    if (test.kind == 0)
        check(!test.startPressure, "a serviceability test records only its end pressure");
    else
        check(test.startPressure.has_value() == test.endPressure.has_value(),
              "start and end pressure go together");
    if (test.fault == BlockFault::SeriesCrc)
        check(!test.series.empty(), "a series fault needs a series");
}

} // namespace

MemoryImageBuilder::MemoryImageBuilder(uint32_t firmwareNumber)
    : m_firmwareNumber(firmwareNumber)
{}

void MemoryImageBuilder::addTest(const TestDescription &test)
{
    validate(test);
    check(eventRecords(test).size() <= maxEvents, "more than 10 events");
    check(test.fault != BlockFault::EventCrc || !eventRecords(test).empty(),
          "an event fault needs an event");
    m_tests.push_back(test);
}

uint32_t MemoryImageBuilder::blockLength() const
{
    uint64_t largest = samplesOffset;
    for (const TestDescription &test : m_tests)
        largest = std::max(largest, samplesOffset + sampleBytes(test));
    const uint32_t length = roundUpToPage(largest);
    check(length <= 0xFFFF, "samples longer than a block can be");
    return length;
}

MemoryImage MemoryImageBuilder::build() const
{
    const uint32_t length = blockLength();
    const uint32_t tableEnd = tableStart + tableEntrySize * uint32_t(m_tests.size());
    const uint32_t blocksStart = roundUpToPage(tableEnd);
    const uint64_t memoryEnd = blocksStart + uint64_t(length) * m_tests.size();
    check(memoryEnd <= std::numeric_limits<uint32_t>::max(), "memory beyond 4 GiB");

    MemoryImage image;
    image.firmwareNumber = m_firmwareNumber;
    image.infoBlockAddress = infoBlockAddress;
    image.memory.assign(memoryEnd, 0);
    const uint32_t highestValidAddress = uint32_t(memoryEnd);

    uint8_t *info = image.memory.data() + infoBlockAddress;
    LittleEndian::put32(info + Info::tableStart, tableStart);
    LittleEndian::put32(info + Info::tableEnd, tableEnd);
    LittleEndian::put32(info + Info::headerLength, headerLength);
    LittleEndian::put32(info + Info::highestValidAddress, highestValidAddress);
    LittleEndian::put16(info + Info::blockLength, uint16_t(length));

    for (size_t k = 0; k < m_tests.size(); ++k) {
        const TestDescription &test = m_tests[k];
        const uint32_t address = blocksStart + uint32_t(k) * length;
        const bool empty = test.fault == BlockFault::EmptySlot;
        LittleEndian::put32(image.memory.data() + tableStart + tableEntrySize * k,
                            empty ? 0 : address);
        writeBlock(image.memory.data() + address, address, highestValidAddress, test);
    }
    return image;
}

void MemoryImageBuilder::writeBlock(uint8_t *block, uint32_t address,
                                    uint32_t highestValidAddress,
                                    const TestDescription &test) const
{
    const auto events = eventRecords(test);
    const uint32_t samplesStart = test.fault == BlockFault::SamplesAboveValidMemory
                                      ? highestValidAddress + sampleSize
                                      : address + samplesOffset;
    const uint32_t eventsStart = address + eventAreaOffset;

    LittleEndian::put32(block + Header::valuesStart, samplesStart);
    LittleEndian::put32(block + Header::valuesEnd, samplesStart + uint32_t(sampleBytes(test)));
    block[Header::seriesCount] = uint8_t(test.series.size());
    LittleEndian::put16(block + Header::measurementNumber,
                        test.fault == BlockFault::MeasurementNumberZero ? 0
                                                                        : test.measurementNumber);
    LittleEndian::put32(block + Header::eventsStart, eventsStart);
    LittleEndian::put32(block + Header::eventsEnd,
                        eventsStart + eventRecordSize * uint32_t(events.size()));
    LittleEndian::put16(block + Header::sampleInterval, test.sampleIntervalMs);
    putCrc(block, headerCrcOffset);
    if (test.fault == BlockFault::HeaderCrc)
        corruptCrc(block, headerCrcOffset);

    for (size_t s = 0; s < test.series.size(); ++s) {
        uint8_t *entry = block + seriesTableOffset + seriesEntrySize * s;
        LittleEndian::put16(entry + Series::nameCode, test.series[s].nameCode);
        entry[Series::unitCode] = test.series[s].unitCode;
        entry[Series::bytesPerSample] = test.bytesPerSample;
        putCrc(entry, Series::crc);
    }
    if (test.fault == BlockFault::SeriesCrc)
        corruptCrc(block + seriesTableOffset, Series::crc);

    std::fill_n(block + eventAreaOffset, maxEvents * eventRecordSize, uint8_t(0xFF));
    for (size_t r = 0; r < events.size(); ++r)
        std::copy(events[r].begin(), events[r].end(),
                  block + eventAreaOffset + eventRecordSize * r);
    if (test.fault == BlockFault::EventCrc)
        corruptCrc(block + eventAreaOffset, Event::crc);

    const size_t count = samplesPerSeries(test);
    const size_t seriesCount = test.series.size();
    for (size_t j = 0; j < count; ++j) {
        for (size_t s = 0; s < seriesCount; ++s) {
            LittleEndian::putSingle(block + samplesOffset + sampleSize * (s + seriesCount * j),
                                    test.series[s].samples[j]);
        }
    }
}

std::vector<std::vector<uint8_t>> MemoryImageBuilder::eventRecords(
    const TestDescription &test) const
{
    std::vector<std::vector<uint8_t>> records;
    const auto add = [&](uint8_t code) -> uint8_t * {
        records.emplace_back(eventRecordSize, uint8_t(0));
        records.back()[Event::code] = code;
        return records.back().data();
    };
    const auto addSingle = [&](uint8_t code, std::optional<double> value) {
        if (value)
            LittleEndian::putSingle(add(code) + Event::value, float(*value));
    };
    const auto addNumber = [&](uint8_t code, std::optional<double> value) {
        if (!value)
            return;
        if (m_firmwareNumber <= integerNumbersAfterFirmware) {
            addSingle(code, value);
            return;
        }
        const double rounded = std::nearbyint(*value);
        check(rounded >= std::numeric_limits<int32_t>::min()
                  && rounded <= std::numeric_limits<int32_t>::max(),
              "number outside 32 bits");
        LittleEndian::put32(add(code) + Event::value, uint32_t(int32_t(rounded)));
    };
    const auto toDouble = [](const auto &value) -> std::optional<double> {
        return value ? std::optional<double>(double(*value)) : std::nullopt;
    };

    static constexpr uint8_t dateEvents[] = {EventCode::ServiceabilityTest, EventCode::LoadTest,
                                             EventCode::TightnessTest, EventCode::RegulatorTest};
    uint8_t *date = add(dateEvents[test.kind]);
    date[Event::day] = uint8_t(test.date.day);
    date[Event::month] = uint8_t(test.date.month);
    LittleEndian::put16(date + Event::year, uint16_t(test.date.year));
    date[Event::second] = uint8_t(test.date.second);
    date[Event::minute] = uint8_t(test.date.minute);
    date[Event::hour] = uint8_t(test.date.hour);

    addSingle(EventCode::Pressure, toDouble(test.startPressure));
    addSingle(EventCode::Pressure, toDouble(test.endPressure));
    addSingle(EventCode::Flow, toDouble(test.flow));
    addSingle(EventCode::Finding, toDouble(test.finding));
    addNumber(EventCode::CustomerNumber, test.customerNumber);
    addNumber(EventCode::MeterNumber, test.meterNumber);
    addSingle(EventCode::PipeVolume, toDouble(test.pipeVolumeCode));
    addSingle(EventCode::FlowPressure, toDouble(test.flowPressure));
    addSingle(EventCode::StaticPressure, toDouble(test.staticPressure));
    addSingle(EventCode::SafetyValvePressure, toDouble(test.safetyValvePressure));
    addSingle(EventCode::ZeroShutOffFinding, toDouble(test.zeroShutOffFinding));
    addSingle(EventCode::LowFlowSafetyFinding, toDouble(test.lowFlowSafetyFinding));

    for (auto &record : records)
        putCrc(record.data(), Event::crc);
    return records;
}
