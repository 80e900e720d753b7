#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// One measurement series of a stored test: what was measured, its unit and its samples.
struct CurveDescription
{
    uint16_t nameCode = 82; // "Druck"; 98 "Erdgas-Konzentration" for a natural-gas flow
    uint8_t unitCode = 9;   // 9 mBar, 10 Bar, 48 l/h
    std::vector<float> samples;
};

// A deliberate fault of a stored block, for fixtures of blocks the decoder must refuse.
enum class BlockFault {
    None,
    HeaderCrc,
    SeriesCrc,
    EventCrc,
    EmptySlot,             // the main table entry is 0
    MeasurementNumberZero,
    SamplesAboveValidMemory,
};

struct DateTimeDescription
{
    int year = 2024;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// One test as the instrument stores it. Values are the instrument's own: pressures in the
// events are in bar. An empty optional writes no event; a test of kind 0 records only its end
// pressure, the other kinds both pressures or neither.
struct TestDescription
{
    int kind = 0; // 0 serviceability, 1 load, 2 tightness, 3 regulator test
    DateTimeDescription date;
    std::optional<float> startPressure;
    std::optional<float> endPressure;
    std::optional<float> flow;
    std::optional<int> finding;
    std::optional<float> flowPressure;
    std::optional<float> staticPressure;
    std::optional<float> safetyValvePressure;
    std::optional<int> zeroShutOffFinding;
    std::optional<int> lowFlowSafetyFinding;
    std::optional<double> customerNumber;
    std::optional<double> meterNumber;
    std::optional<int> pipeVolumeCode;
    uint16_t measurementNumber = 1;
    uint16_t sampleIntervalMs = 1000;
    uint8_t bytesPerSample = 4;
    std::vector<CurveDescription> series; // at most 2, all of the same length
    BlockFault fault = BlockFault::None;
};
