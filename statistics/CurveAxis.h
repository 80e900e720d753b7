#pragma once

// The value axis of a curve chart: four major steps around the curve's centre, in whole
// units for a load test and in tenths for the other test kinds.
struct CurveAxis
{
    double maximum = 1;
    double minimum = 0;
    int majorDivisions = 4;
    int minorDivisions = 2;
};

// The "round" value-axis range for a curve's maximum and minimum. Never gives an empty or
// inverted range, also for bounds that were stored the wrong way round.
CurveAxis curveAxisRange(int testKind, double maximum, double minimum);
