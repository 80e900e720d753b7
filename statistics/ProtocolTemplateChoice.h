#pragma once

#include "statistics/CellRectangle.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

// Which protocol template a test reads and where its logo and charts go.
//
// The file is base name + language number + suffix: "Leckmengen", "Vorprüfung",
// "Hauptprüfung" or "Reglerprüfung" by test kind; "_TRGI8696.vts" for tests before 1 May 2008
// (old rules); for a Gebrauchsfähigkeitsprüfung with a line volume "_G5952.vts" when the
// reference pressure reads 23 mbar, else "_VP952.vts"; otherwise ".vts".
struct ProtocolTemplateChoice
{
    enum class LeakMethod { None, G5952, VP952 };

    int kind = -1;
    bool oldRules = false;
    bool lineVolumeSet = false;
    LeakMethod method = LeakMethod::None;
    QString baseName; // empty: a kind without a protocol
    QString suffix;
    std::optional<CellRectangle> logo;
    std::optional<CellRectangle> pressureChart;
    std::optional<CellRectangle> flowChart;

    bool hasTemplate() const { return !baseName.isEmpty(); }
    QString fileName(int languageNo) const;
};

// kind: PFG_Pruefart; testDate: PFG_Datum; lineVolume and refPressure: PFG_LeitungsVol and
// PFG_RefDruck, null when not measured.
ProtocolTemplateChoice ChooseProtocolTemplate(const QVariant &kind, const QDateTime &testDate,
                                              const QVariant &lineVolume,
                                              const QVariant &refPressure);
