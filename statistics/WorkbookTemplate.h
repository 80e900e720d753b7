#pragma once

#include "statistics/CellRectangle.h"
#include "statistics/PageSetup.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QRectF>
#include <QString>

// A protocol template: a grid of columns and rows with cells of fixed text and {Name}
// placeholders, fonts, alignment, borders, merged ranges, images and the named rectangles the
// program fills with its logo and charts. Read from a file by TemplateReader.
class WorkbookTemplate
{
public:
    // A piece of cell text: fixed text, or the value of a name, optionally passed through a
    // value map ("{Befund|Befund}" shows the finding code's text).
    struct Segment
    {
        QString text;   // fixed text, or the name
        QString map;    // value map of a placeholder, may be empty
        bool placeholder = false;
    };

    struct Cell
    {
        int row = 1;
        int column = 1;
        int rowSpan = 1;
        int columnSpan = 1;
        QList<Segment> segments;
        QString font;   // font id; empty: the default font
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        Qt::Edges borders;
        double borderWidth = 0.5; // points
        QColor background;        // invalid: none
        bool wrap = false;
        qint64 line = 0;
    };

    // A picture of the template (an image file) or a rectangle the program fills (an area).
    struct Placement
    {
        QString name;   // area name, or the image file as written
        QString file;   // image file resolved against the template's folder
        CellRectangle rectangle;
        qint64 line = 0;
    };

    QString filePath;
    PageSetup page;
    QList<double> columnWidths; // millimetres
    QList<double> rowHeights;   // millimetres
    QFont defaultFont;
    QHash<QString, QFont> fonts;
    QHash<QString, QHash<QString, QString>> valueMaps; // map id -> code -> text
    QList<Cell> cells;
    QList<Placement> images;
    QList<Placement> areas;

    int columnCount() const { return int(columnWidths.size()); }
    int rowCount() const { return int(rowHeights.size()); }
    QFont fontOf(const Cell &cell) const;

    // Width and height of the grid, in page units.
    QSizeF gridSize() const;
    // A cell with its merged range, in page units relative to the grid's top-left corner.
    QRectF cellRect(const Cell &cell) const;
    // A rectangle of grid lines in page units; false when it leaves the grid or is empty.
    bool contains(const CellRectangle &rectangle) const;
    QRectF rect(const CellRectangle &rectangle) const;
    // The named area, or nullptr.
    const Placement *area(const QString &name) const;

private:
    static double edge(const QList<double> &sizes, int index);
};
