#include "TestBuilder.h"

#include "sync/CurveText.h"
#include "sync/EventEvaluation.h"
#include "sync/InstrumentCatalogue.h"
#include "sync/NumberText.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr uint8_t unitMbar = 9;
constexpr uint8_t unitBar = 10;
constexpr uint8_t unitLitresPerHour = 48;
// Pipe volume tests up to this firmware number assume 22 mbar, later ones 23 mbar.
constexpr uint32_t referencePressureFirmware = 3000;

bool isZeroOrEmpty(const QString &text)
{
    return text.isEmpty() || text == QLatin1String("0");
}

// Test duration in seconds from the size of the samples; empty when it does not fit 16 bits.
std::optional<int16_t> duration(const DecodedBlock &block)
{
    const BlockHeader &header = block.header;
    if (header.valuesEnd <= header.valuesStart)
        return int16_t(0);
    const double seconds = double(header.valuesEnd - header.valuesStart)
                           / block.series[0].bytesPerSample / header.seriesCount
                           * (header.sampleInterval / 1000.0);
    const double rounded = std::nearbyint(seconds);
    if (!(rounded <= std::numeric_limits<int16_t>::max()))
        return std::nullopt;
    return int16_t(rounded);
}

std::optional<TestRecord> buildTest(const DecodedBlock &block, uint32_t firmwareNumber,
                                    const QString &fabText, const QLocale &locale)
{
    const EventSummary events = EvaluateEvents(block, locale);
    const auto seconds = duration(block);
    if (!events.plausible || !seconds)
        return std::nullopt;

    TestRecord test;
    test.customerNumber = isZeroOrEmpty(events.customerText)
                              ? u'M' + QString::number(block.header.measurementNumber)
                                           .rightJustified(4, u'0')
                              : events.customerText.rightJustified(6, u'0');
    test.meterNumber = (isZeroOrEmpty(events.meterText) ? QStringLiteral("0") : events.meterText)
                           .rightJustified(8, u'0');
    test.testKind = events.testKind;
    test.date = events.date;
    test.startPressure = events.startPressure;
    test.endPressure = events.endPressure;
    test.flow = events.flow;
    for (int s = 0; s < block.header.seriesCount; ++s) {
        const SeriesEntry &series = block.series[s];
        if (series.unitCode == unitMbar || series.unitCode == unitBar) {
            // The events record pressures in bar.
            test.startPressure = events.startPressure * 1000;
            test.endPressure = events.endPressure * 1000;
            test.pressureCurve = BuildCurve(block, s, locale);
        } else if (series.unitCode == unitLitresPerHour) {
            test.flowCurve = BuildCurve(block, s, locale);
            test.gasType = InstrumentCatalogue::gasType(series.nameCode);
        }
    }
    test.instrumentNumber = fabText;
    test.duration = *seconds;
    test.finding = events.finding;
    test.flowPressure = events.flowPressure;
    test.staticPressure = events.staticPressure;
    test.safetyValvePressure = events.safetyValvePressure;
    test.zeroShutOffFinding = events.zeroShutOffFinding;
    test.lowFlowSafetyFinding = events.lowFlowSafetyFinding;
    if (!events.pipeVolumeText.isEmpty()) {
        test.pipeVolume = events.pipeVolumeText;
        double reference = firmwareNumber < referencePressureFirmware ? 22 : 23;
        if (test.endPressure > 30)
            reference = test.endPressure;
        test.referencePressure = NumberText::fromSingle(float(reference), locale);
        const double leakRate = test.endPressure != 0
                                    ? reference * test.flow / test.endPressure
                                    : test.flow;
        test.leakRate = NumberText::fromSingle(float(leakRate), locale);
    }
    test.measuringTime = NumberText::fromSingle(float(test.duration / 60.0), locale);
    return test;
}

} // namespace

BuildOutcome BuildTests(const DecodedInstrument &instrument, const QString &fabText,
                        QList<TestRecord> &records, const std::function<bool()> &stopRequested,
                        const QLocale &locale)
{
    BuildOutcome outcome;
    outcome.layoutFault = instrument.layoutFault;
    for (const DecodedBlock &block : instrument.blocks) {
        if (stopRequested && stopRequested()) {
            outcome.completed = false;
            return outcome;
        }
        if (block.address < 1)
            continue; // an empty slot holds no test
        std::optional<TestRecord> test;
        if (block.blockValid && block.header.measurementNumber >= 1)
            test = buildTest(block, instrument.firmwareNumber, fabText, locale);
        if (!test) {
            ++outcome.blocksWithoutTest;
            continue;
        }
        records.append(*test);
        ++outcome.testsBuilt;
    }
    return outcome;
}
