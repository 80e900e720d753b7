#include "statistics/CurvePainter.h"

#include "statistics/CurveChartData.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// A step of 1, 2 or 5 times a power of ten that divides range into about `ticks` parts.
double niceStep(double range, int ticks)
{
    const double rough = range / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough)
            return factor * power;
    }
    return 10 * power;
}

} // namespace

void paintCurve(QPainter &painter, const QRectF &target, const CurveChartData &chart)
{
    if (target.width() < 4 || target.height() < 4)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(target);
    painter.fillRect(target, Qt::white);

    QFont font = painter.font();
    font.setPixelSize(std::max(1, int(std::min(target.height() / 16, target.width() / 24))));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double lineHeight = metrics.height();
    const double pen = std::max(lineHeight / 14, 0.5);

    QFont titleFont = font;
    titleFont.setBold(true);
    const double titleHeight = chart.title.isEmpty() ? lineHeight / 2 : lineHeight * 1.4;
    const CurveAxis &axis = chart.axis;
    double labelWidth = 0;
    for (int i = 0; i <= axis.majorDivisions; ++i) {
        const double value = axis.minimum + (axis.maximum - axis.minimum) * i
                                                / axis.majorDivisions;
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(chart.valueLabel(value)));
    }
    const double axisTitleWidth = chart.valueAxisTitle.isEmpty() ? 0 : lineHeight * 1.2;
    const QRectF plot = target.adjusted(axisTitleWidth + labelWidth + lineHeight * 0.6,
                                        titleHeight, -lineHeight, -lineHeight * 1.6);
    if (plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }

    painter.setFont(titleFont);
    painter.drawText(QRectF(target.left(), target.top(), target.width(), titleHeight),
                     Qt::AlignCenter, chart.title);
    painter.setFont(font);
    if (!chart.valueAxisTitle.isEmpty()) {
        painter.save();
        painter.translate(target.left() + lineHeight * 0.2, plot.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), lineHeight),
                         Qt::AlignCenter, chart.valueAxisTitle);
        painter.restore();
    }

    const double span = axis.maximum - axis.minimum;
    const double minutes = chart.timeAxisMinutes > 0 ? chart.timeAxisMinutes : 1.0;
    auto toPlot = [&](const QPointF &point) {
        return QPointF(plot.left() + point.x() / minutes * plot.width(),
                       plot.bottom() - (point.y() - axis.minimum) / span * plot.height());
    };

    // Value axis: major grid lines with labels, minor ticks between them.
    const int minorLines = axis.majorDivisions * axis.minorDivisions;
    for (int i = 0; i <= minorLines; ++i) {
        const double y = plot.bottom() - plot.height() * i / minorLines;
        const bool major = i % axis.minorDivisions == 0;
        painter.setPen(QPen(major ? QColor(200, 200, 200) : QColor(235, 235, 235), pen / 2));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        if (!major)
            continue;
        painter.setPen(QPen(Qt::black, pen));
        const double value = axis.minimum + span * i / minorLines;
        painter.drawText(QRectF(plot.left() - labelWidth - lineHeight * 0.4, y - lineHeight / 2,
                                labelWidth, lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, chart.valueLabel(value));
    }

    // Time axis in minutes; without a measuring time it carries no numbers.
    if (chart.timeKnown) {
        const double step = niceStep(minutes, 5);
        for (double t = 0; t <= minutes + step / 1000; t += step) {
            const double x = plot.left() + t / minutes * plot.width();
            painter.setPen(QPen(QColor(200, 200, 200), pen / 2));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            painter.setPen(QPen(Qt::black, pen));
            painter.drawText(QRectF(x - labelWidth * 2, plot.bottom() + lineHeight * 0.2,
                                    labelWidth * 4, lineHeight),
                             Qt::AlignHCenter | Qt::AlignTop, chart.timeLabel(t));
        }
    }
    painter.setPen(QPen(Qt::black, pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    if (chart.points.size() >= 2) {
        QPainterPath path(toPlot(chart.points.first()));
        for (qsizetype i = 1; i < chart.points.size(); ++i)
            path.lineTo(toPlot(chart.points.at(i)));
        painter.setClipRect(plot.adjusted(-pen, -pen, pen, pen));
        painter.setPen(QPen(QColor(0, 0, 192), pen * 2, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.drawPath(path);
    }
    painter.restore();
}
