#pragma once

#include <QList>
#include <QLocale>
#include <QString>

// A curve as stored in a test: "MAX:MIN:N:V1:V2:...:", every number in tenths of the unit.
struct DecodedCurve
{
    bool valid = false;      // false for an empty or unreadable text; nothing else is set then
    double maximum = 0;      // unit values, four decimals
    double minimum = 0;
    int count = 0;           // points in the list, the appended end value included
    QList<double> points;    // unit values in text order, the end value last
    QString pointList;       // the values part as text ("240:247:254:250:")
};

// Decodes a curve text and appends the end value (a pressure curve ends at the test's end
// pressure, a flow curve at its flow); the end value widens maximum and minimum.
//
// Stored texts are hand-editable, so a text that lies about itself is read for what it holds:
// unreadable maximum or minimum fields come from the points, bounds that do not hold every
// point widen to them, a count above the points present shrinks to them, an unreadable point
// ends the list. A curve of fewer than two samples gives no
// points but keeps its maximum and minimum.
DecodedCurve DecodeCurve(const QString &text, float endValue,
                         const QLocale &locale = QLocale::system());

// Reads one stored number: the locale's rules first, then the C locale's, so texts written
// under another decimal separator still read. Returns false for anything else.
bool parseCurveNumber(const QString &text, const QLocale &locale, double *value);

// Rounds to the given decimals with halves to the even neighbour; values within a rounding
// error of a half count as the half, as decimal arithmetic would see them.
double roundHalfEven(double value, int decimals);
