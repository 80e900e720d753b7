#include "masterdata/import/SheetGrid.h"

#include "masterdata/import/FieldNames.h"

#include <algorithm>

namespace {

qint64 cellKey(int row, int column)
{
    return (qint64(row) << 32) | quint32(column);
}

} // namespace

void SheetGrid::set(int row, int column, const QString &text)
{
    if (text.isEmpty())
        return;
    m_cells.insert(cellKey(row, column), text);
    if (m_firstRow < 0) {
        m_firstRow = m_lastRow = row;
        m_firstColumn = m_lastColumn = column;
        return;
    }
    m_firstRow = std::min(m_firstRow, row);
    m_lastRow = std::max(m_lastRow, row);
    m_firstColumn = std::min(m_firstColumn, column);
    m_lastColumn = std::max(m_lastColumn, column);
}

qint64 SheetGrid::area() const
{
    if (m_firstRow < 0)
        return 0;
    return qint64(m_lastRow - m_firstRow + 1) * (m_lastColumn - m_firstColumn + 1);
}

ImportTable SheetGrid::table() const
{
    ImportTable table;
    if (m_firstRow < 0)
        return table;
    const auto rowAt = [this](int row) {
        QStringList values;
        for (int column = m_firstColumn; column <= m_lastColumn; ++column)
            values << m_cells.value(cellKey(row, column));
        return values;
    };
    table.fields = FieldNames::fromHeader(rowAt(m_firstRow));
    for (int row = m_firstRow + 1; row <= m_lastRow; ++row)
        table.rows << rowAt(row);
    return table;
}
