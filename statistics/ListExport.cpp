#include "statistics/ListExport.h"

#include "data/StringTable.h"
#include "statistics/ExportCriteria.h"
#include "statistics/ExportGrid.h"

QStringList ListExportLines(const ExportCriteria &criteria, const ExportGrid &grid)
{
    QStringList lines = criteria.lines(ExportCriteria::Export::List);
    lines << resString(27154);
    QList<int> shown;
    for (const int column : grid.columns()) {
        if (grid.visible(column))
            shown << column;
    }
    QString heading;
    for (const int column : shown)
        heading += grid.caption(column) + u';';
    lines << heading;
    const int rows = grid.rowCount();
    lines.reserve(lines.size() + rows + 1);
    for (int row = 0; row < rows; ++row) {
        QString line;
        for (const int column : shown)
            line += grid.text(row, column) + u';';
        lines << line;
    }
    lines << QString();
    return lines;
}
