#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

// One test as read from an instrument's memory or an infrared file; one value per column of
// Pruefungen that a synchronisation fills. Pressures are in mbar, flows in l/h.
struct TestRecord
{
    // Not measured, for the flow, static and safety shut-off valve pressures.
    static constexpr float notMeasured = -99999.0f;
    static constexpr uint8_t noFinding = 255;

    QString customerNumber;   // PFG_KundenNr
    QString meterNumber;      // PFG_ZaehlerNr
    QString measurementText;  // infrared import only
    uint8_t testKind = 0;     // PFG_Pruefart
    float startPressure = 0;  // PFG_Druck
    float endPressure = 0;    // PFG_EndDruck
    float flow = 0;           // PFG_Fluss
    QDateTime date;           // PFG_Datum
    QString inspector;        // PFG_Pruefer
    QString pressureCurve;    // PFG_Druckkurve
    QString flowCurve;        // PFG_Flusskurve
    QString client;           // PFG_Auftraggeber
    QString instrumentNumber; // PFG_FabNr
    int16_t duration = 0;     // PFG_Dauer, seconds
    QString remark;           // PFG_Bemerkung
    uint8_t finding = noFinding;              // PFG_Befund
    QString gasType;                          // PFG_Gasart
    float flowPressure = notMeasured;         // PFG_Fliessdruck
    float staticPressure = notMeasured;       // PFG_Ruhedruck
    float safetyValvePressure = notMeasured;  // PFG_SAVDruck
    uint8_t zeroShutOffFinding = noFinding;   // PFG_Befund_Nullabschluss
    uint8_t lowFlowSafetyFinding = noFinding; // PFG_Befund_GMSicherung
    QString pipeVolume;                       // PFG_LeitungsVol
    QString measuringTime;                    // PFG_Messzeit
    QString referencePressure;                // PFG_RefDruck
    QString leakRate;                         // PFG_Leckrate

    bool operator==(const TestRecord &) const = default;
};
