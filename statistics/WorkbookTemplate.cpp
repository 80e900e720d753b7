#include "statistics/WorkbookTemplate.h"

#include "statistics/PageUnits.h"

QFont WorkbookTemplate::fontOf(const Cell &cell) const
{
    return fonts.value(cell.font, defaultFont);
}

double WorkbookTemplate::edge(const QList<double> &sizes, int index)
{
    double position = 0;
    for (int i = 0; i < index - 1 && i < sizes.size(); ++i)
        position += sizes.at(i);
    return PageUnits::fromMm(position);
}

QSizeF WorkbookTemplate::gridSize() const
{
    return QSizeF(edge(columnWidths, columnCount() + 1), edge(rowHeights, rowCount() + 1));
}

QRectF WorkbookTemplate::cellRect(const Cell &cell) const
{
    return rect(CellRectangle{cell.column, cell.row, cell.column + cell.columnSpan,
                              cell.row + cell.rowSpan});
}

bool WorkbookTemplate::contains(const CellRectangle &rectangle) const
{
    return rectangle.left >= 1 && rectangle.top >= 1 && rectangle.left < rectangle.right
           && rectangle.top < rectangle.bottom && rectangle.right <= columnCount() + 1
           && rectangle.bottom <= rowCount() + 1;
}

QRectF WorkbookTemplate::rect(const CellRectangle &rectangle) const
{
    const QPointF topLeft(edge(columnWidths, rectangle.left), edge(rowHeights, rectangle.top));
    const QPointF bottomRight(edge(columnWidths, rectangle.right),
                              edge(rowHeights, rectangle.bottom));
    return QRectF(topLeft, bottomRight);
}

const WorkbookTemplate::Placement *WorkbookTemplate::area(const QString &name) const
{
    for (const Placement &placement : areas) {
        if (placement.name == name)
            return &placement;
    }
    return nullptr;
}
