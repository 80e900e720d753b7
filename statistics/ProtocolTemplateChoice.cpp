#include "statistics/ProtocolTemplateChoice.h"

#include <cmath>

QString ProtocolTemplateChoice::fileName(int languageNo) const
{
    return baseName + QString::number(languageNo) + suffix;
}

namespace {

// The reference pressure as it reads with one decimal, cut to its integer part: 22.96 reads
// "23,0" and counts as 23, 22.5 counts as 22; no value counts as 0.
int referencePressureBar(const QVariant &refPressure)
{
    bool ok = false;
    const double value = refPressure.toDouble(&ok);
    if (refPressure.isNull() || !ok)
        return 0;
    return int(std::trunc(std::round(value * 10) / 10));
}

} // namespace

ProtocolTemplateChoice ChooseProtocolTemplate(const QVariant &kind, const QDateTime &testDate,
                                              const QVariant &lineVolume,
                                              const QVariant &refPressure)
{
    static const char *const baseNames[] = {"Leckmengen", "Vorprüfung", "Hauptprüfung",
                                            "Reglerprüfung"};
    ProtocolTemplateChoice choice;
    bool kindOk = false;
    choice.kind = kind.isNull() ? -1 : kind.toInt(&kindOk);
    if (!kindOk || choice.kind < 0 || choice.kind > 3) {
        choice.kind = -1;
        return choice;
    }
    choice.baseName = QString::fromUtf8(baseNames[choice.kind]);
    choice.oldRules = testDate.isValid() && testDate.date() < QDate(2008, 5, 1);
    bool volumeOk = false;
    lineVolume.toDouble(&volumeOk);
    choice.lineVolumeSet = !lineVolume.isNull() && volumeOk;

    if (choice.oldRules) {
        choice.suffix = QStringLiteral("_TRGI8696.vts");
    } else if (choice.kind == 0 && choice.lineVolumeSet) {
        const bool g5952 = referencePressureBar(refPressure) == 23;
        choice.method = g5952 ? ProtocolTemplateChoice::LeakMethod::G5952
                              : ProtocolTemplateChoice::LeakMethod::VP952;
        choice.suffix = g5952 ? QStringLiteral("_G5952.vts") : QStringLiteral("_VP952.vts");
    } else {
        choice.suffix = QStringLiteral(".vts");
    }

    const bool wideLogo = !choice.oldRules && choice.lineVolumeSet;
    switch (choice.kind) {
    case 0:
        choice.logo = wideLogo ? CellRectangle{10, 1, 14, 7} : CellRectangle{10, 1, 12, 7};
        choice.pressureChart = CellRectangle{1, 32, 8, 43};
        choice.flowChart = choice.lineVolumeSet ? CellRectangle{8, 32, 14, 43}
                                                : CellRectangle{8, 32, 12, 43};
        break;
    case 1:
    case 2:
        choice.logo = wideLogo ? CellRectangle{10, 1, 14, 7} : CellRectangle{10, 1, 12, 7};
        choice.pressureChart = CellRectangle{1, 30, 12, 43};
        break;
    default:
        choice.logo = CellRectangle{14, 1, 18, 7};
        break;
    }
    return choice;
}
