#pragma once

#include "sync/DecodedMemory.h"
#include "sync/TestRecord.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// What the event records of one block say about its test.
struct EventSummary
{
    uint8_t testKind = 0;
    // Without a date event the test carries the zero date of the desktop database.
    QDateTime date{QDate(1899, 12, 30), QTime(0, 0)};
    float startPressure = 0; // as recorded (bar)
    float endPressure = 0;
    float flow = 0;
    uint8_t finding = TestRecord::noFinding;
    float flowPressure = TestRecord::notMeasured;
    float staticPressure = TestRecord::notMeasured;
    float safetyValvePressure = TestRecord::notMeasured;
    uint8_t zeroShutOffFinding = TestRecord::noFinding;
    uint8_t lowFlowSafetyFinding = TestRecord::noFinding;
    QString customerText;
    QString meterText;
    QString pipeVolumeText;
    // False when an event holds what no test can: a date that is no calendar date, a finding
    // outside 0-255. Such a block yields no test.
    bool plausible = true;
};

// Evaluates the event slots 0 to eventCount - 1 of a block in order.
EventSummary EvaluateEvents(const DecodedBlock &block, const QLocale &locale = QLocale());
