#include "statistics/CurveAxis.h"

#include "statistics/CurveDecoder.h"

#include <utility>

CurveAxis curveAxisRange(int testKind, double maximum, double minimum)
{
    if (maximum < minimum)
        std::swap(maximum, minimum);
    // A load test reads in whole mbar, the other kinds in tenths.
    const bool wholeUnits = testKind == 1;
    const int decimals = wholeUnits ? 0 : 1;
    const double unit = wholeUnits ? 1.0 : 0.1;

    CurveAxis axis;
    const double mid = (maximum + minimum) / 2;
    const double s = (maximum - minimum) / 3;
    if (maximum == minimum) {
        axis.maximum = maximum + 2 * unit;
        axis.minimum = minimum - 2 * unit;
    } else if (s < unit) {
        axis.maximum = roundHalfEven(mid + 2 * unit, decimals);
        axis.minimum = axis.maximum - 4 * unit;
    } else {
        const double step = roundHalfEven(s + unit, decimals);
        const double centre = roundHalfEven(mid, decimals);
        axis.maximum = centre + 2 * step;
        axis.minimum = axis.maximum - 4 * step;
    }
    // Sums of tenths pick up binary noise; the axis labels must read as the rule meant them.
    axis.maximum = roundHalfEven(axis.maximum, 4);
    axis.minimum = roundHalfEven(axis.minimum, 4);
    return axis;
}
