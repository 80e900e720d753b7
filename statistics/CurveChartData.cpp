#include "statistics/CurveChartData.h"

#include "statistics/CurveDecoder.h"

#include <algorithm>

namespace {

QString formatNumber(double value, int decimals, QChar separator)
{
    const double shown = roundHalfEven(value, decimals >= 0 ? decimals : 4);
    QString text = decimals >= 0 ? QString::number(shown == 0 ? 0.0 : shown, 'f', decimals)
                                 : QString::number(shown == 0 ? 0.0 : shown, 'g', 10);
    return text.replace(u'.', separator);
}

} // namespace

QString CurveChartData::valueLabel(double value) const
{
    return formatNumber(value, labelDecimals, decimalSeparator);
}

QString CurveChartData::timeLabel(double minutes) const
{
    return formatNumber(minutes, -1, decimalSeparator);
}

CurveChartData DrawCurve(const QString &curveText, qint16 measuringTime, const QString &title,
                         int testKind, float endValue, const QLocale &locale)
{
    CurveChartData chart;
    chart.title = title;
    chart.decimalSeparator = locale.decimalPoint().at(0);
    chart.labelDecimals = testKind == 1 ? 0 : testKind == 3 ? -1 : 1;

    const DecodedCurve curve = DecodeCurve(curveText, endValue, locale);
    if (!curve.valid)
        return chart;
    chart.axis = curveAxisRange(testKind, curve.maximum, curve.minimum);

    const int n = int(curve.points.size());
    if (n < 2)
        return chart;
    chart.timeKnown = measuringTime > 0;
    chart.xStep = chart.timeKnown ? roundHalfEven(measuringTime / 60.0 / (n - 1), 4)
                                  : 1.0 / (n - 1);
    for (int c = 0; c < n; ++c)
        chart.points.append(QPointF(c * chart.xStep, curve.points.at(c)));
    // The four-decimal step can carry the last point a hair past the measuring time.
    chart.timeAxisMinutes = std::max(chart.timeKnown ? measuringTime / 60.0 : 1.0,
                                     chart.points.last().x());
    return chart;
}
