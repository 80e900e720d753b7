#include "statistics/PagedDocument.h"

#include "statistics/PageUnits.h"

#include <QPainter>

void PagedDocument::beginPage(QPainter &painter, const QRectF &paper) const
{
    const QSizeF sheet = pageSetup().orientedPaper() * PageUnits::perMm;
    const double scale = std::min(paper.width() / sheet.width(), paper.height() / sheet.height());
    painter.translate(paper.topLeft());
    painter.scale(scale, scale);
    painter.fillRect(QRectF(QPointF(0, 0), sheet), Qt::white);
}
