#include "statistics/ProtocolView.h"

#include "statistics/FilledTemplate.h"
#include "statistics/PageContext.h"

#include <QPainter>

ProtocolView::ProtocolView(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
}

void ProtocolView::setProtocol(const FilledTemplate *protocol)
{
    m_protocol = protocol;
    setMinimumSize(pageSizePixels().toSize() + QSize(20, 20));
    update();
}

void ProtocolView::setViewScale(int percent)
{
    m_scale = percent;
    setMinimumSize(pageSizePixels().toSize() + QSize(20, 20));
    update();
}

QSizeF ProtocolView::pageSizePixels() const
{
    if (!m_protocol)
        return {};
    const QSizeF mm = m_protocol->pageSetup().orientedPaper();
    return mm * (logicalDpiX() / 25.4) * (m_scale / 100.0);
}

void ProtocolView::paintEvent(QPaintEvent *)
{
    if (!m_protocol)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF paper(QPointF(10, 10), pageSizePixels());
    painter.fillRect(paper, Qt::white);
    m_protocol->paintPage(painter, paper, 0, PageContext());
}
