#pragma once

#include <cstdint>

// Where the instrument keeps its stored tests in measurement memory, shared by the decoder
// of the synchronisation and by the image builder of the simulator.
namespace MemoryLayout {

constexpr uint8_t measurementMemoryType = 2;
// No read is longer than one memory page of the instrument.
constexpr uint32_t pageSize = 132;
constexpr uint32_t infoBlockSize = 26;
constexpr uint32_t tableEntrySize = 4;
constexpr uint32_t headerLength = 52;
constexpr uint32_t headerCrcOffset = 50;
constexpr uint32_t seriesEntrySize = 16;
constexpr uint32_t maxSeries = 2;
constexpr uint32_t eventRecordSize = 18;
constexpr uint32_t maxEvents = 10;
// Block offsets: series table, event area and samples follow the header without gaps.
constexpr uint32_t seriesTableOffset = headerLength;
constexpr uint32_t eventAreaOffset = seriesTableOffset + maxSeries * seriesEntrySize;
constexpr uint32_t samplesOffset = headerLength + 212;
static_assert(eventAreaOffset + maxEvents * eventRecordSize == samplesOffset);
constexpr uint32_t sampleSize = 4;

// Info block offsets.
namespace Info {
constexpr uint32_t tableStart = 0;
constexpr uint32_t tableEnd = 4;
constexpr uint32_t headerLength = 8;
constexpr uint32_t highestValidAddress = 16;
constexpr uint32_t blockLength = 20;
} // namespace Info

// Block header offsets.
namespace Header {
constexpr uint32_t valuesStart = 0;
constexpr uint32_t valuesEnd = 4;
constexpr uint32_t seriesCount = 9;
constexpr uint32_t measurementNumber = 10;
constexpr uint32_t eventsStart = 12;
constexpr uint32_t eventsEnd = 16;
constexpr uint32_t sampleInterval = 46;
} // namespace Header

// Series entry offsets.
namespace Series {
constexpr uint32_t nameCode = 0;
constexpr uint32_t unitCode = 2;
constexpr uint32_t bytesPerSample = 11;
constexpr uint32_t crc = 14;
} // namespace Series

// Event record offsets.
namespace Event {
constexpr uint32_t code = 0;
constexpr uint32_t day = 2;
constexpr uint32_t month = 3;
constexpr uint32_t year = 4;
constexpr uint32_t second = 6;
constexpr uint32_t minute = 7;
constexpr uint32_t hour = 8;
constexpr uint32_t value = 10;
constexpr uint32_t crc = 16;
} // namespace Event

// Firmware numbers above this one store customer and meter numbers as whole numbers.
constexpr uint32_t integerNumbersAfterFirmware = 2002;

} // namespace MemoryLayout

namespace EventCode {
constexpr uint8_t RegulatorTest = 0xDC;
constexpr uint8_t FlowPressure = 0xDD;
constexpr uint8_t StaticPressure = 0xDE;
constexpr uint8_t SafetyValvePressure = 0xDF;
constexpr uint8_t ZeroShutOffFinding = 0xE0;
constexpr uint8_t LowFlowSafetyFinding = 0xE1;
constexpr uint8_t ServiceabilityTest = 0xE9;
constexpr uint8_t TightnessTest = 0xEA;
constexpr uint8_t LoadTest = 0xEB;
constexpr uint8_t Flow = 0xEC;
constexpr uint8_t Pressure = 0xED;
constexpr uint8_t Finding = 0xEE;
constexpr uint8_t CustomerNumber = 0xEF;
constexpr uint8_t MeterNumber = 0xF0;
constexpr uint8_t PipeVolume = 0xF1;
} // namespace EventCode
