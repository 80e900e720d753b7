#pragma once

#include <QRectF>

class QPainter;
struct CurveChartData;

// Draws a curve chart into a rectangle of any painter: a window, an image, a printed page or a
// PDF (as vectors). Fonts and lines scale with the rectangle, so the same chart reads alike on
// screen and paper.
void paintCurve(QPainter &painter, const QRectF &target, const CurveChartData &chart);
