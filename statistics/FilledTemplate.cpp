#include "statistics/FilledTemplate.h"

#include "statistics/HeaderFooterText.h"
#include "statistics/PageContext.h"
#include "statistics/PageUnits.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <memory>

namespace {

FilledTemplate::Drawing pictureDrawing(const QString &file)
{
    if (!QFileInfo(file).isFile())
        return {};
    if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        auto renderer = std::make_shared<QSvgRenderer>(file);
        if (!renderer->isValid())
            return {};
        return [renderer](QPainter &painter, const QRectF &target) {
            renderer->render(&painter, target);
        };
    }
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return [image](QPainter &painter, const QRectF &target) {
        painter.drawImage(target, image);
    };
}

} // namespace

FilledTemplate::FilledTemplate(WorkbookTemplate workbook)
    : m_workbook(std::move(workbook)), m_page(m_workbook.page)
{
    for (const WorkbookTemplate::Placement &image : std::as_const(m_workbook.images))
        placePicture(image.rectangle, image.file);
}

void FilledTemplate::defineName(const QString &name, const QString &value)
{
    m_values.insert(name, value);
}

QString FilledTemplate::cellText(const WorkbookTemplate::Cell &cell) const
{
    QString text;
    for (const WorkbookTemplate::Segment &segment : cell.segments) {
        if (!segment.placeholder) {
            text += segment.text;
            continue;
        }
        const QString value = m_values.value(segment.text);
        const QHash<QString, QString> map = m_workbook.valueMaps.value(segment.map);
        const QString key = value.trimmed();
        text += map.contains(key) ? map.value(key) : value;
    }
    return text;
}

bool FilledTemplate::placeDrawing(const CellRectangle &rectangle, Drawing drawing)
{
    if (!drawing || !m_workbook.contains(rectangle))
        return false;
    m_pictures.append(Placed{rectangle, std::move(drawing)});
    return true;
}

bool FilledTemplate::placePicture(const CellRectangle &rectangle, const QString &file)
{
    return placeDrawing(rectangle, pictureDrawing(file));
}

void FilledTemplate::paintCell(QPainter &painter, const WorkbookTemplate::Cell &cell) const
{
    const QRectF rect = m_workbook.cellRect(cell);
    if (cell.background.isValid())
        painter.fillRect(rect, cell.background);
    QString text = cellText(cell);
    if (!text.isEmpty()) {
        // Line breaks of any convention break lines; nothing else in a value is interpreted.
        text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
        const QFont font = m_workbook.fontOf(cell);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const double padding = PageUnits::fromMm(0.8);
        int flags = int(cell.alignment) | Qt::TextDontClip;
        if (cell.wrap)
            flags |= Qt::TextWordWrap;
        painter.drawText(rect.adjusted(padding, 0, -padding, 0), flags, text);
    }
    if (cell.borders) {
        painter.setPen(QPen(Qt::black, cell.borderWidth * PageUnits::perPoint));
        if (cell.borders & Qt::LeftEdge)
            painter.drawLine(rect.topLeft(), rect.bottomLeft());
        if (cell.borders & Qt::TopEdge)
            painter.drawLine(rect.topLeft(), rect.topRight());
        if (cell.borders & Qt::RightEdge)
            painter.drawLine(rect.topRight(), rect.bottomRight());
        if (cell.borders & Qt::BottomEdge)
            painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
}

QRectF FilledTemplate::contentRect() const
{
    const QSizeF sheet = m_page.orientedPaper() * PageUnits::perMm;
    return QRectF(QPointF(0, 0), sheet).marginsRemoved(m_page.margins * PageUnits::perMm);
}

double FilledTemplate::gridScale() const
{
    // A grid wider or taller than the page is printed smaller, as fit-to-page would.
    const QSizeF grid = m_workbook.gridSize();
    const QRectF content = contentRect();
    return std::min({1.0, content.width() / grid.width(), content.height() / grid.height()});
}

QRectF FilledTemplate::sheetRect(const CellRectangle &rectangle) const
{
    const QRectF grid = m_workbook.rect(rectangle);
    const double scale = gridScale();
    return QRectF(contentRect().topLeft() + grid.topLeft() * scale, grid.size() * scale);
}

void FilledTemplate::paintPage(QPainter &painter, const QRectF &paper, int,
                               const PageContext &context) const
{
    painter.save();
    beginPage(painter, paper);
    const QSizeF sheet = m_page.orientedPaper() * PageUnits::perMm;
    const QRectF content = contentRect();

    const QFont baseFont = PageUnits::font(QStringLiteral("Arial"), 10);
    HeaderFooterText(m_page.headerText, baseFont)
        .paint(painter, QRectF(content.left(), PageUnits::fromMm(m_page.header), content.width(),
                               content.top()), true, context);
    const double footerBottom = sheet.height() - PageUnits::fromMm(m_page.footer);
    HeaderFooterText(m_page.footerText, baseFont)
        .paint(painter, QRectF(content.left(), content.bottom(), content.width(),
                               footerBottom - content.bottom()), false, context);

    const double scale = gridScale();
    painter.translate(content.topLeft());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);

    for (const WorkbookTemplate::Cell &cell : m_workbook.cells)
        paintCell(painter, cell);
    for (const Placed &picture : m_pictures) {
        painter.save();
        const QRectF target = m_workbook.rect(picture.rectangle);
        painter.setClipRect(target);
        picture.drawing(painter, target);
        painter.restore();
    }
    if (m_outlineAreas) {
        painter.setFont(PageUnits::font(QStringLiteral("Arial"), 7));
        for (const WorkbookTemplate::Placement &area : m_workbook.areas) {
            const QRectF target = m_workbook.rect(area.rectangle);
            painter.setPen(QPen(QColor(220, 0, 0), PageUnits::perPoint, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(target);
            painter.drawText(target.adjusted(PageUnits::perPoint * 2, PageUnits::perPoint, 0, 0),
                             Qt::AlignLeft | Qt::AlignTop, area.name);
        }
    }
    painter.restore();
}
