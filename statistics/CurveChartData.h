#pragma once

#include "statistics/CurveAxis.h"

#include <QList>
#include <QLocale>
#include <QPointF>
#include <QString>

// Everything a curve chart shows, worked out without any drawing: the points (X in minutes,
// Y in the unit), the value axis, its label format and the titles.
struct CurveChartData
{
    QString title;
    QString valueAxisTitle;      // "l / h" on a flow chart, else empty
    QList<QPointF> points;
    CurveAxis axis;
    double xStep = 0;            // minutes between points, four decimals
    double timeAxisMinutes = 0;  // the time axis runs from 0 to here
    bool timeKnown = true;       // false: no measuring time, points spread evenly, no time labels
    // Decimals of the value-axis labels: 1 for kinds 0 and 2, 0 for a load test; -1 leaves the
    // format to the chart (regulator tests), which shows as many decimals as a label needs.
    int labelDecimals = 1;
    QChar decimalSeparator = u',';

    // The text of a value-axis label in the chart's format.
    QString valueLabel(double value) const;
    // The text of a time-axis label.
    QString timeLabel(double minutes) const;
};

// Works out the chart of a curve text: the measuring time in seconds, the chart title, the test
// kind (0-3) and the end value that closes the curve. A text without at least two samples gives
// a chart with its axis and no line; a measuring time of 0 (or one that overflowed to a negative
// number) spreads the points evenly instead of dividing by zero.
CurveChartData DrawCurve(const QString &curveText, qint16 measuringTime, const QString &title,
                         int testKind, float endValue, const QLocale &locale = QLocale::system());
