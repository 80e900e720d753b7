#pragma once

#include "masterdata/import/ImportTable.h"

#include <QHash>

// The cells of a worksheet gathered by position, made into a table as the desktop engine's
// workbook driver reads a sheet: the first used row names the fields, the columns run from the
// first to the last used one, and empty rows between used ones stay as rows without values.
class SheetGrid
{
public:
    void set(int row, int column, const QString &text);
    // Cells the table would hold, empty ones included; readers refuse absurd sizes.
    qint64 area() const;
    ImportTable table() const;

private:
    QHash<qint64, QString> m_cells;
    int m_firstRow = -1;
    int m_lastRow = -1;
    int m_firstColumn = -1;
    int m_lastColumn = -1;
};
