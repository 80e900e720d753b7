#include "EventEvaluation.h"

#include "sync/NumberText.h"
#include "sync/image/MemoryLayout.h"

#include <cmath>

namespace {

void setDate(EventSummary &summary, uint8_t testKind, const EventRecord &event)
{
    summary.testKind = testKind;
    summary.date = QDateTime(QDate(event.year, event.month, event.day),
                             QTime(event.hour, event.minute, event.second));
    if (!summary.date.isValid())
        summary.plausible = false;
}

uint8_t findingOf(EventSummary &summary, double value)
{
    const double rounded = std::nearbyint(value);
    if (rounded < 0 || rounded > 255) {
        summary.plausible = false;
        return TestRecord::noFinding;
    }
    return uint8_t(rounded);
}

QString pipeVolumeText(double value, const QString &unchanged)
{
    static const char *const volumes[] = {"50", "100", "200", "300", "400", "500"};
    for (int code = 0; code < 6; ++code) {
        if (value == code)
            return QString::fromLatin1(volumes[code]);
    }
    return unchanged;
}

} // namespace

EventSummary EvaluateEvents(const DecodedBlock &block, const QLocale &locale)
{
    EventSummary summary;
    bool pressureSeen = false;
    const int count = std::min<int>(block.eventCount, int(block.events.size()));
    for (int slot = 0; slot < count; ++slot) {
        const EventRecord &event = block.events[slot];
        const double v = event.value;
        switch (event.code) {
        case EventCode::RegulatorTest:
            setDate(summary, 3, event);
            break;
        case EventCode::FlowPressure:
            summary.flowPressure = float(v);
            break;
        case EventCode::StaticPressure:
            summary.staticPressure = float(v);
            break;
        case EventCode::SafetyValvePressure:
            summary.safetyValvePressure = float(v);
            break;
        case EventCode::ZeroShutOffFinding:
            summary.zeroShutOffFinding = findingOf(summary, v);
            break;
        case EventCode::LowFlowSafetyFinding:
            summary.lowFlowSafetyFinding = findingOf(summary, v);
            break;
        case EventCode::ServiceabilityTest:
            setDate(summary, 0, event);
            break;
        case EventCode::TightnessTest:
            setDate(summary, 2, event);
            break;
        case EventCode::LoadTest:
            setDate(summary, 1, event);
            break;
        case EventCode::Flow:
            summary.flow = float(v);
            break;
        case EventCode::Pressure:
            // A serviceability test records only its end pressure.
            if (summary.testKind != 0 && !pressureSeen)
                summary.startPressure = float(v);
            else
                summary.endPressure = float(v);
            pressureSeen = true;
            break;
        case EventCode::Finding:
            summary.finding = findingOf(summary, v);
            break;
        case EventCode::CustomerNumber:
            summary.customerText = NumberText::fromDouble(v, locale);
            break;
        case EventCode::MeterNumber:
            summary.meterText = NumberText::fromDouble(v, locale);
            break;
        case EventCode::PipeVolume:
            summary.pipeVolumeText = pipeVolumeText(v, summary.pipeVolumeText);
            break;
        default:
            break;
        }
    }
    return summary;
}
