#include "statistics/PageSetup.h"

#include <QPageSize>

QSizeF PageSetup::orientedPaper() const
{
    return landscape ? paperSize.transposed() : paperSize;
}

QPageLayout PageSetup::pageLayout() const
{
    const QPageSize size(paperSize, QPageSize::Millimeter);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}
