#pragma once

#include "statistics/PagedDocument.h"

#include <QFont>
#include <QList>
#include <QStringList>

// A printed list: a table with its column headings repeated on every page, columns as wide as
// their contents, the whole table made smaller when it is wider than the page (one page
// across, as many pages down as the rows need), grid lines, and the page's header and footer.
class ListDocument : public PagedDocument
{
public:
    ListDocument(QStringList headings, QList<QStringList> rows,
                 const PageSetup &setup = listPageSetup());

    // A4 portrait; 6.5 cm at the top leave room for a header block of thirteen lines; 2.5 cm
    // left, 2 cm right, 2.5 cm at the bottom with the footer 2 cm above the edge, the header
    // 1 cm below it.
    static PageSetup listPageSetup();

    const QStringList &headings() const { return m_headings; }
    int rowsPerPage() const { return m_rowsPerPage; }
    double scale() const { return m_scale; }              // 1 or less
    const QList<double> &columnWidths() const { return m_widths; } // page units, unscaled

    PageSetup pageSetup() const override { return m_setup; }
    int pageCount() const override;
    void paintPage(QPainter &painter, const QRectF &paper, int index,
                   const PageContext &context) const override;

private:
    void layout();
    QRectF contentRect() const;

    QStringList m_headings;
    QList<QStringList> m_rows;
    PageSetup m_setup;
    QFont m_font;
    QFont m_headingFont;
    QList<double> m_widths;
    double m_rowHeight = 0;
    double m_scale = 1;
    int m_rowsPerPage = 1;
};
