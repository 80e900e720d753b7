#pragma once

#include "sync/ImageMemory.h"
#include "sync/MemoryDecoder.h"
#include "sync/TestBuilder.h"
#include "sync/image/MemoryImageBuilder.h"

#include <QList>

// Instruments described as tests, laid out by the image builder and decoded back.
namespace SyncFixtures {

inline const QString fabText = QStringLiteral("063 02 00420");

inline CurveDescription pressureCurve(uint8_t unitCode, std::vector<float> samples)
{
    return CurveDescription{82, unitCode, std::move(samples)};
}

inline CurveDescription flowCurve(std::vector<float> samples, uint16_t nameCode = 98)
{
    return CurveDescription{nameCode, 48, std::move(samples)};
}

// A tightness test with both curves and every event a tightness test records.
inline TestDescription tightnessTest(uint16_t measurementNumber = 1)
{
    TestDescription test;
    test.kind = 2;
    test.date = {2024, 3, 14, 9, 26, 53};
    test.startPressure = 0.021f;
    test.endPressure = 0.02f;
    test.flow = 1.5f;
    test.finding = 0;
    test.customerNumber = 4710 + measurementNumber;
    test.meterNumber = 123456;
    test.pipeVolumeCode = 2;
    test.measurementNumber = measurementNumber;
    test.series = {pressureCurve(10, {0.021f, 0.025f, 0.02f}), flowCurve({1.5f, 1.25f, 1.5f})};
    return test;
}

struct Decoded
{
    bool read = false;
    QList<TestRecord> records;
    BuildOutcome outcome;
    DecodedInstrument instrument;
};

inline Decoded decode(ImageMemory &memory)
{
    Decoded result;
    MemoryDecoder decoder(memory);
    result.read = decoder.ReadAll(memory.image().firmwareNumber, memory.image().infoBlockAddress);
    result.instrument = decoder.instrument();
    if (result.read)
        result.outcome = BuildTests(decoder.instrument(), fabText, result.records);
    return result;
}

inline Decoded decode(const MemoryImage &image)
{
    ImageMemory memory(image);
    return decode(memory);
}

inline MemoryImage imageOf(const QList<TestDescription> &tests, uint32_t firmwareNumber = 2500)
{
    MemoryImageBuilder builder(firmwareNumber);
    for (const TestDescription &test : tests)
        builder.addTest(test);
    return builder.build();
}

} // namespace SyncFixtures
