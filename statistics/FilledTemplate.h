#pragma once

#include "statistics/PagedDocument.h"
#include "statistics/WorkbookTemplate.h"

#include <QHash>
#include <QString>

#include <functional>

// A protocol: a template with the values of its names and the pictures placed over its
// rectangles. Values are shown as plain text exactly once: a value that itself looks like
// "{Name}", holds quotes or line breaks is printed as it is.
class FilledTemplate : public PagedDocument
{
public:
    using Drawing = std::function<void(QPainter &painter, const QRectF &target)>;

    explicit FilledTemplate(WorkbookTemplate workbook);

    const WorkbookTemplate &workbook() const { return m_workbook; }

    // Defines a name; a name that is never defined shows as empty text.
    void defineName(const QString &name, const QString &value);
    QString value(const QString &name) const { return m_values.value(name); }
    // The text a cell shows.
    QString cellText(const WorkbookTemplate::Cell &cell) const;

    // Places a drawing (a chart) over a rectangle; false when the rectangle leaves the grid.
    bool placeDrawing(const CellRectangle &rectangle, Drawing drawing);
    // Places a picture file (SVG, PNG, JPEG) stretched over a rectangle. A missing or
    // unreadable file leaves the rectangle empty and gives false.
    bool placePicture(const CellRectangle &rectangle, const QString &file);

    void setFooterText(const QString &text) { m_page.footerText = text; }
    void setLandscape(bool landscape) { m_page.landscape = landscape; }
    // Outlines the template's areas and names them; for checking a template's layout.
    void setOutlineAreas(bool outline) { m_outlineAreas = outline; }

    // Where a rectangle of the grid lands on the sheet, in page units (tenths of a point from
    // the sheet's top-left corner); for previews that point at cells and for checks.
    QRectF sheetRect(const CellRectangle &rectangle) const;

    PageSetup pageSetup() const override { return m_page; }
    int pageCount() const override { return 1; }
    void paintPage(QPainter &painter, const QRectF &paper, int index,
                   const PageContext &context) const override;

private:
    struct Placed
    {
        CellRectangle rectangle;
        Drawing drawing;
    };

    void paintCell(QPainter &painter, const WorkbookTemplate::Cell &cell) const;
    QRectF contentRect() const;
    double gridScale() const;

    WorkbookTemplate m_workbook;
    PageSetup m_page;
    QHash<QString, QString> m_values;
    QList<Placed> m_pictures;
    bool m_outlineAreas = false;
};
