#pragma once

#include "InstrumentLine.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// A simulator fixture: a JSON file that lists the instruments on the line.
//
//   {
//     "echo": true,
//     "instruments": [
//       { "fab": "063 01 00042", "count": 3, "firmware": 3000, "tests": 40,
//         "parameters": [ {"number": 20, "type": 2, "value": 1500, "name": "..."} ],
//         "memory": { "0": {"hex": "00 01 02"}, "4": {"size": 2048} },
//         "lastChanged": 4,
//         "faults": { "busy": 2, "badChecksum": 1, "delayMs": 30, "silent": false,
//                     "refuse": [ {"service": 3, "subIndex": 1, "write": true} ],
//                     "foreignFab": "063 09 00001", "oversizeLength": false,
//                     "shortMemory": 4, "unplugAfter": 100, "joinAfter": 50 } } ] }
//
// "fab" is a number or the displayed text (type, second byte, serial number); "count" repeats
// the instrument with the following serial numbers. "tests" is a count of generated tightness
// tests or a list of tests ({"kind", "date": "2025-03-01T08:30:00", "startPressure",
// "endPressure", "flow", "finding", "flowPressure", "staticPressure", "safetyValvePressure",
// "zeroShutOffFinding", "lowFlowSafetyFinding", "customerNumber", "meterNumber",
// "pipeVolumeCode", "measurementNumber", "sampleIntervalMs", "bytesPerSample",
// "pressureCurve": [mbar...], "flowCurve": [l/h...], "fault": "headerCrc" | "seriesCrc" |
// "eventCrc" | "emptySlot" | "measurementNumberZero" | "samplesAboveValidMemory"}) laid out in
// measurement memory (type 2) with parameters 13 and 71 pointing into it. A parameter "value" is a
// number for type codes 0-6, a text for 7 and hex for 8 ("hex" gives the bytes for any type).
// Memory types are given as hex bytes or as a size filled with a counting pattern. Two
// instruments with the same "fab" answer the search one after the other, as on a line with a
// duplicated factory number. Unknown keys are refused, so that a misspelt fault does not pass
// silently.
namespace FixtureReader {

struct Fixture
{
    InstrumentLine line;
    bool echo = true;
};

// Throws std::runtime_error naming the file and what is wrong with it.
Fixture readFile(const QString &path);
Fixture parse(const QByteArray &json, const QString &origin);

// "063 01 00042" or a decimal number; false when the text is neither.
bool parseFabNumber(const QString &text, uint32_t *fabNumber);

} // namespace FixtureReader
