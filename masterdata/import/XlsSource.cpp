#include "masterdata/import/XlsSource.h"

#include "data/StringTable.h"
#include "masterdata/import/CellText.h"
#include "masterdata/import/SheetGrid.h"

#include <QFile>
#include <QFileInfo>

#include <freexl.h>

namespace {

constexpr qint64 largestSheet = 20'000'000;

QString cellText(const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return CellText::number(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QString();
    default:
        return {};
    }
}

} // namespace

XlsSource::XlsSource(const QString &filePath)
    : ImportSource(filePath)
{
    QFileInfo info(filePath);
    if (!info.isFile() || !info.isReadable()) {
        QFile file(filePath);
        file.open(QIODevice::ReadOnly);
        fail(file.errorString());
    }
    if (freexl_open(QFile::encodeName(filePath).constData(), &m_handle) != FREEXL_OK) {
        if (m_handle)
            freexl_close(m_handle);
        m_handle = nullptr;
        damaged();
    }
    unsigned int count = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        damaged();
    for (unsigned int index = 0; index < count && index <= 0xFFFF; ++index) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(m_handle, (unsigned short)index, &name) != FREEXL_OK)
            damaged();
        m_sheets << (name ? QString::fromUtf8(name) : QString());
    }
}

XlsSource::~XlsSource()
{
    if (m_handle)
        freexl_close(m_handle);
}

void XlsSource::damaged() const
{
    fail(resString(25336).arg(QStringLiteral("Excel")));
}

QStringList XlsSource::tableNames()
{
    QStringList names;
    for (const QString &sheet : std::as_const(m_sheets))
        names << sheet + u'$';
    return names;
}

ImportTable XlsSource::readTable(const QString &name)
{
    qsizetype index = -1;
    for (qsizetype i = 0; i < m_sheets.size() && index < 0; ++i) {
        if ((m_sheets.at(i) + u'$').compare(name, Qt::CaseInsensitive) == 0
            || m_sheets.at(i).compare(name, Qt::CaseInsensitive) == 0)
            index = i;
    }
    if (index < 0)
        fail(resString(25338).arg(name));
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(m_handle, (unsigned short)index) != FREEXL_OK
        || freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK
        || qint64(rows) * columns > largestSheet)
        damaged();
    SheetGrid grid;
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(m_handle, row, column, &cell) != FREEXL_OK)
                damaged();
            grid.set(int(row), int(column), cellText(cell));
        }
    }
    return grid.table();
}
