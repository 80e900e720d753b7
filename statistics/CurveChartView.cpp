#include "statistics/CurveChartView.h"

#include "statistics/CurvePainter.h"

#include <QPainter>

CurveChartView::CurveChartView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CurveChartView::setChart(const CurveChartData &chart)
{
    m_chart = chart;
    m_hasChart = true;
    m_picture = QImage();
    update();
}

void CurveChartView::clear()
{
    m_chart = CurveChartData();
    m_hasChart = false;
    m_picture = QImage();
    update();
}

void CurveChartView::setFastMode(bool grafikmodusSchnell)
{
    m_fast = grafikmodusSchnell;
    m_picture = QImage();
    update();
}

void CurveChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_hasChart) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    if (m_fast) {
        paintCurve(painter, rect(), m_chart);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (m_picture.size() != size() * ratio) {
        m_picture = QImage(size() * ratio, QImage::Format_RGB32);
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(Qt::white);
        QPainter picturePainter(&m_picture);
        paintCurve(picturePainter, QRectF(QPointF(0, 0), QSizeF(size())), m_chart);
    }
    painter.drawImage(0, 0, m_picture);
}

std::pair<CurveChartView *, CurveChartView *> CurveChartView::createPressureAndFlow(QWidget *parent,
                                                                                   bool fastMode)
{
    auto *pressure = new CurveChartView(parent);
    pressure->setObjectName(QStringLiteral("ChartDruck"));
    auto *flow = new CurveChartView(parent);
    flow->setObjectName(QStringLiteral("ChartFluss"));
    for (CurveChartView *chart : {pressure, flow}) {
        chart->setFastMode(fastMode);
        chart->setMinimumHeight(220);
        chart->hide();
    }
    return {pressure, flow};
}
