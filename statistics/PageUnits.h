#pragma once

#include <QFont>
#include <QtMath>

// Pages are laid out in tenths of a typographic point, so that font sizes of half points are
// whole pixel sizes and text scales with the page on every device.
namespace PageUnits {

constexpr double perMm = 720 / 25.4;
constexpr double perPoint = 10;

inline double fromMm(double mm) { return mm * perMm; }

// A font of the given point size, measured in page units.
inline QFont font(const QString &family, double points, bool bold = false, bool italic = false)
{
    QFont result(family);
    const QString lower = family.toLower();
    if (lower.contains(u"courier") || lower.contains(u"gothic") || lower.contains(u"mono"))
        result.setStyleHint(QFont::TypeWriter);
    else
        result.setStyleHint(QFont::SansSerif);
    result.setPixelSize(qMax(1, qRound(points * perPoint)));
    result.setBold(bold);
    result.setItalic(italic);
    result.setHintingPreference(QFont::PreferNoHinting);
    // No ligatures: searching and copying text out of a PDF must find "fl" as two letters.
    // The program's languages all use Latin letters, which need no shaping.
    result.setStyleStrategy(QFont::PreferNoShaping);
    return result;
}

} // namespace PageUnits
