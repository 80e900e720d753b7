#pragma once

#include "statistics/CurveChartData.h"

#include <QImage>
#include <QWidget>

#include <utility>

// A curve chart in a window. Fast graphics mode paints the chart live on every repaint; slow
// mode paints it once into a picture and shows that picture until the curve or the size
// changes, as older systems were spared redrawing the chart.
class CurveChartView : public QWidget
{
    Q_OBJECT
public:
    explicit CurveChartView(QWidget *parent = nullptr);

    // The pressure and the flow chart of a test's data tab ("ChartDruck", "ChartFluss"),
    // hidden until a curve is drawn.
    static std::pair<CurveChartView *, CurveChartView *> createPressureAndFlow(QWidget *parent,
                                                                                bool fastMode);

    void setChart(const CurveChartData &chart);
    const CurveChartData &chart() const { return m_chart; }
    // Clears the chart: the view shows an empty white area.
    void clear();

    void setFastMode(bool grafikmodusSchnell);
    bool fastMode() const { return m_fast; }
    // The picture shown in slow mode (null in fast mode or before the first paint).
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CurveChartData m_chart;
    bool m_hasChart = false;
    bool m_fast = true;
    QImage m_picture;
};
