#include "statistics/CurveDecoder.h"

#include <algorithm>
#include <cmath>

bool parseCurveNumber(const QString &text, const QLocale &locale, double *value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double number = strict.toDouble(trimmed, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        number = c.toDouble(trimmed, &ok);
    }
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

double roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    const double lower = std::floor(scaled);
    const double fraction = scaled - lower;
    constexpr double tolerance = 1e-7;
    double rounded;
    if (std::abs(fraction - 0.5) < tolerance)
        rounded = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    else
        rounded = std::round(scaled);
    return rounded / scale;
}

DecodedCurve DecodeCurve(const QString &text, float endValue, const QLocale &locale)
{
    DecodedCurve curve;
    const QStringList fields = text.split(u':');
    if (text.trimmed().isEmpty() || fields.size() < 3)
        return curve;

    double countField = 0;
    if (!parseCurveNumber(fields.at(2), locale, &countField) || countField < 0)
        return curve;
    // More samples than fields cannot be present; the bound also keeps the rounding defined.
    const qint64 statedCount = std::llround(std::min(countField, double(fields.size())));

    QList<double> tenths;
    for (qsizetype i = 3; i < fields.size() && tenths.size() < statedCount; ++i) {
        double value = 0;
        if (!parseCurveNumber(fields.at(i), locale, &value))
            break;
        tenths.append(value);
    }

    double maximum = 0;
    double minimum = 0;
    const bool boundsRead = parseCurveNumber(fields.at(0), locale, &maximum)
                            && parseCurveNumber(fields.at(1), locale, &minimum);
    if (!boundsRead) {
        if (tenths.isEmpty())
            return curve;
        maximum = *std::max_element(tenths.cbegin(), tenths.cend());
        minimum = *std::min_element(tenths.cbegin(), tenths.cend());
    }
    // Written texts always bound their samples; a hand-edited one may not, and its curve
    // would run off the axis.
    if (maximum < minimum)
        std::swap(maximum, minimum);
    for (double value : std::as_const(tenths)) {
        maximum = std::max(maximum, value);
        minimum = std::min(minimum, value);
    }
    curve.valid = true;
    curve.maximum = roundHalfEven(maximum / 10, 4);
    curve.minimum = roundHalfEven(minimum / 10, 4);
    curve.count = int(std::min<qint64>(statedCount, tenths.size()));
    if (curve.count <= 1)
        return curve;

    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    for (double value : std::as_const(tenths)) {
        curve.points.append(value / 10);
        curve.pointList += plain.toString(value, 'g', 15) + u':';
    }
    const double end = roundHalfEven(double(endValue), 4);
    curve.points.append(end);
    curve.pointList += plain.toString(roundHalfEven(end * 10, 3), 'g', 15) + u':';
    curve.count += 1;
    curve.maximum = std::max(curve.maximum, end);
    curve.minimum = std::min(curve.minimum, end);
    return curve;
}
