#include "statistics/TemplateReader.h"

#include "statistics/PageUnits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QXmlStreamReader>

namespace {

// Attribute reading that reports what is wrong with a value, in the reader's words.
class Attributes
{
public:
    Attributes(const QXmlStreamAttributes &attributes, QStringList *faults)
        : m_attributes(attributes), m_faults(faults)
    {}

    bool has(const char *name) const { return m_attributes.hasAttribute(QLatin1String(name)); }
    QString text(const char *name, const QString &fallback = QString()) const
    {
        return has(name) ? m_attributes.value(QLatin1String(name)).toString() : fallback;
    }
    double number(const char *name, double fallback, double minimum) const
    {
        if (!has(name))
            return fallback;
        bool ok = false;
        const double value = text(name).trimmed().toDouble(&ok);
        if (!ok || value < minimum) {
            *m_faults << QStringLiteral("attribute %1=\"%2\" is not a number of at least %3")
                             .arg(QLatin1String(name), text(name)).arg(minimum);
            return fallback;
        }
        return value;
    }
    int integer(const char *name, int fallback, int minimum = 1) const
    {
        if (!has(name)) {
            if (fallback < minimum)
                *m_faults << QStringLiteral("attribute %1 is missing").arg(QLatin1String(name));
            return fallback;
        }
        bool ok = false;
        const int value = text(name).trimmed().toInt(&ok);
        if (!ok || value < minimum) {
            *m_faults << QStringLiteral("attribute %1=\"%2\" is not a whole number of at least %3")
                             .arg(QLatin1String(name), text(name)).arg(minimum);
            return fallback;
        }
        return value;
    }
    bool boolean(const char *name) const
    {
        const QString value = text(name, QStringLiteral("false"));
        if (value == u"true" || value == u"1")
            return true;
        if (value != u"false" && value != u"0")
            *m_faults << QStringLiteral("attribute %1=\"%2\" is not true or false")
                             .arg(QLatin1String(name), value);
        return false;
    }
    CellRectangle rectangle() const
    {
        return CellRectangle{integer("left", 0), integer("top", 0), integer("right", 0),
                             integer("bottom", 0)};
    }

private:
    QXmlStreamAttributes m_attributes;
    QStringList *m_faults;
};

// Splits cell text into fixed text and placeholders; faults name the column of the text.
QList<WorkbookTemplate::Segment> parseCellText(const QString &text, QStringList *faults,
                                               QList<qsizetype> *placeholderPositions)
{
    QList<WorkbookTemplate::Segment> segments;
    QString literal;
    auto flushLiteral = [&] {
        if (!literal.isEmpty())
            segments.append({literal, QString(), false});
        literal.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if ((c == u'{' || c == u'}') && i + 1 < text.size() && text.at(i + 1) == c) {
            literal += c;
            ++i;
        } else if (c == u'}') {
            *faults << QStringLiteral("a \"}\" without \"{\"; write \"}}\" for a brace");
            return {};
        } else if (c == u'{') {
            const qsizetype end = text.indexOf(u'}', i);
            if (end < 0) {
                *faults << QStringLiteral("placeholder \"%1\" is not closed with \"}\"")
                               .arg(text.mid(i, 20));
                return {};
            }
            const QString inner = text.mid(i + 1, end - i - 1);
            const QString name = inner.section(u'|', 0, 0).trimmed();
            const QString map = inner.section(u'|', 1).trimmed();
            flushLiteral();
            segments.append({name, map, true});
            placeholderPositions->append(i);
            i = end;
        } else {
            literal += c;
        }
    }
    flushLiteral();
    return segments;
}

Qt::Alignment alignment(const Attributes &attributes, QStringList *faults)
{
    static const QHash<QString, Qt::Alignment> horizontal{
        {QStringLiteral("left"), Qt::AlignLeft},
        {QStringLiteral("center"), Qt::AlignHCenter},
        {QStringLiteral("right"), Qt::AlignRight}};
    static const QHash<QString, Qt::Alignment> vertical{
        {QStringLiteral("top"), Qt::AlignTop},
        {QStringLiteral("center"), Qt::AlignVCenter},
        {QStringLiteral("bottom"), Qt::AlignBottom}};
    const QString h = attributes.text("align", QStringLiteral("left"));
    const QString v = attributes.text("valign", QStringLiteral("center"));
    if (!horizontal.contains(h))
        *faults << QStringLiteral("align=\"%1\" is not left, center or right").arg(h);
    if (!vertical.contains(v))
        *faults << QStringLiteral("valign=\"%1\" is not top, center or bottom").arg(v);
    return horizontal.value(h, Qt::AlignLeft) | vertical.value(v, Qt::AlignVCenter);
}

Qt::Edges borders(const QString &text, QStringList *faults)
{
    static const QHash<QString, Qt::Edges> edges{
        {QStringLiteral("left"), Qt::LeftEdge},     {QStringLiteral("top"), Qt::TopEdge},
        {QStringLiteral("right"), Qt::RightEdge},   {QStringLiteral("bottom"), Qt::BottomEdge},
        {QStringLiteral("all"), Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge}};
    Qt::Edges result;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!edges.contains(word))
            *faults << QStringLiteral("border \"%1\" is not left, top, right, bottom or all")
                           .arg(word);
        result |= edges.value(word);
    }
    return result;
}

} // namespace

TemplateReader::TemplateReader(QSet<QString> knownNames)
    : m_knownNames(std::move(knownNames))
{}

void TemplateReader::fail(qint64 line, const QString &message)
{
    m_errors.append(TemplateError{m_path, line, message});
}

QString TemplateReader::errorText() const
{
    QStringList lines;
    for (const TemplateError &error : m_errors)
        lines << error.text();
    return lines.join(u'\n');
}

std::optional<WorkbookTemplate> TemplateReader::read(const QString &path)
{
    m_errors.clear();
    m_path = path;
    QFile file(path);
    if (!file.exists()) {
        fail(0, QStringLiteral("the template file does not exist"));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(0, QStringLiteral("the template file cannot be read: ") + file.errorString());
        return std::nullopt;
    }
    return read(file.readAll(), path);
}

std::optional<WorkbookTemplate> TemplateReader::read(const QByteArray &content,
                                                     const QString &path)
{
    m_errors.clear();
    m_path = path;
    WorkbookTemplate workbook;
    workbook.filePath = path;
    workbook.defaultFont = PageUnits::font(QStringLiteral("Arial"), 10);
    const QDir folder = QFileInfo(path).absoluteDir();

    QXmlStreamReader xml(content);
    QStringList faults;
    auto report = [&](qint64 line) {
        for (const QString &fault : std::as_const(faults))
            fail(line, fault);
        faults.clear();
    };

    if (!xml.readNextStartElement() || xml.name() != u"workbook-template") {
        fail(std::max<qint64>(1, xml.lineNumber()),
             xml.hasError() ? xml.errorString()
                            : QStringLiteral("not a workbook template: the root element must be "
                                             "<workbook-template>"));
        return std::nullopt;
    }
    {
        const Attributes root(xml.attributes(), &faults);
        if (root.text("version", QStringLiteral("1")) != u"1")
            faults << QStringLiteral("template version %1 is not known; this program reads "
                                     "version 1").arg(root.text("version"));
        report(xml.lineNumber());
    }

    QString currentMap;
    while (xml.readNextStartElement()) {
        const qint64 line = xml.lineNumber();
        const Attributes attributes(xml.attributes(), &faults);
        const auto element = xml.name();
        if (element == u"page") {
            PageSetup &page = workbook.page;
            const QString paper = attributes.text("paper", QStringLiteral("A4"));
            const QPageSize::PageSizeId id = paper == u"A4"     ? QPageSize::A4
                                             : paper == u"A3"     ? QPageSize::A3
                                             : paper == u"A5"     ? QPageSize::A5
                                             : paper == u"Letter" ? QPageSize::Letter
                                                                  : QPageSize::Custom;
            if (id == QPageSize::Custom)
                faults << QStringLiteral("paper \"%1\" is not A4, A3, A5 or Letter").arg(paper);
            else
                page.paperSize = QPageSize::size(id, QPageSize::Millimeter);
            const QString orientation = attributes.text("orientation",
                                                        QStringLiteral("portrait"));
            if (orientation != u"portrait" && orientation != u"landscape")
                faults << QStringLiteral("orientation \"%1\" is not portrait or landscape")
                              .arg(orientation);
            page.landscape = orientation == u"landscape";
            page.margins = QMarginsF(attributes.number("left", page.margins.left(), 0),
                                     attributes.number("top", page.margins.top(), 0),
                                     attributes.number("right", page.margins.right(), 0),
                                     attributes.number("bottom", page.margins.bottom(), 0));
            page.header = attributes.number("header", page.header, 0);
            page.footer = attributes.number("footer", page.footer, 0);
            xml.skipCurrentElement();
        } else if (element == u"header" || element == u"footer") {
            const bool header = element == u"header";
            (header ? workbook.page.headerText : workbook.page.footerText) = xml.readElementText();
        } else if (element == u"font") {
            const QString id = attributes.text("id");
            if (id.isEmpty())
                faults << QStringLiteral("a font needs an id");
            else if (workbook.fonts.contains(id))
                faults << QStringLiteral("font \"%1\" is defined twice").arg(id);
            const QFont font = PageUnits::font(attributes.text("family", QStringLiteral("Arial")),
                                               attributes.number("size", 10, 1),
                                               attributes.boolean("bold"),
                                               attributes.boolean("italic"));
            workbook.fonts.insert(id, font);
            if (attributes.boolean("default"))
                workbook.defaultFont = font;
            xml.skipCurrentElement();
        } else if (element == u"column" || element == u"row") {
            const bool column = element == u"column";
            const double size = attributes.number(column ? "width" : "height", -1, 0.1);
            if (size < 0 && faults.isEmpty())
                faults << QStringLiteral("a %1 needs its %2").arg(element.toString(),
                                                                   column ? "width" : "height");
            const int count = attributes.integer("count", 1);
            for (int i = 0; i < count && i < 1000 && size > 0; ++i)
                (column ? workbook.columnWidths : workbook.rowHeights).append(size);
            xml.skipCurrentElement();
        } else if (element == u"map") {
            currentMap = attributes.text("id");
            if (currentMap.isEmpty())
                faults << QStringLiteral("a value map needs an id");
            workbook.valueMaps.insert(currentMap, {});
            while (xml.readNextStartElement()) {
                if (xml.name() != u"entry") {
                    fail(xml.lineNumber(), QStringLiteral("<%1> is not allowed in a value map")
                                               .arg(xml.name().toString()));
                    xml.skipCurrentElement();
                    continue;
                }
                const QString code = xml.attributes().value(QLatin1String("code")).toString().trimmed();
                workbook.valueMaps[currentMap].insert(code, xml.readElementText());
            }
        } else if (element == u"cell") {
            WorkbookTemplate::Cell cell;
            cell.line = line;
            cell.row = attributes.integer("row", 0);
            cell.column = attributes.integer("col", 0);
            cell.rowSpan = attributes.integer("rowspan", 1);
            cell.columnSpan = attributes.integer("colspan", 1);
            cell.font = attributes.text("font");
            cell.alignment = alignment(attributes, &faults);
            cell.borders = borders(attributes.text("border"), &faults);
            cell.borderWidth = attributes.number("border-width", 0.5, 0.1);
            cell.wrap = attributes.boolean("wrap");
            if (attributes.has("background")) {
                cell.background = QColor::fromString(attributes.text("background"));
                if (!cell.background.isValid())
                    faults << QStringLiteral("background \"%1\" is not a colour")
                                  .arg(attributes.text("background"));
            }
            report(line);
            const QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            QList<qsizetype> positions;
            cell.segments = parseCellText(text, &faults, &positions);
            report(line);
            for (qsizetype s = 0, p = 0; s < cell.segments.size(); ++s) {
                const WorkbookTemplate::Segment &segment = cell.segments.at(s);
                if (!segment.placeholder)
                    continue;
                const qint64 placeholderLine = line + text.left(positions.at(p++)).count(u'\n');
                if (!m_knownNames.contains(segment.text))
                    fail(placeholderLine, QStringLiteral("unknown placeholder {%1}")
                                              .arg(segment.text));
                if (!segment.map.isEmpty() && !workbook.valueMaps.contains(segment.map))
                    fail(placeholderLine, QStringLiteral("unknown value map \"%1\" (maps must "
                                                         "come before the cells that use them)")
                                              .arg(segment.map));
            }
            workbook.cells.append(cell);
        } else if (element == u"image" || element == u"area") {
            WorkbookTemplate::Placement placement;
            placement.line = line;
            placement.rectangle = attributes.rectangle();
            if (element == u"image") {
                placement.name = attributes.text("src");
                if (placement.name.isEmpty())
                    faults << QStringLiteral("an image needs its file in src");
                else
                    placement.file = folder.absoluteFilePath(placement.name);
                workbook.images.append(placement);
            } else {
                placement.name = attributes.text("name");
                if (placement.name.isEmpty())
                    faults << QStringLiteral("an area needs a name");
                workbook.areas.append(placement);
            }
            xml.skipCurrentElement();
        } else {
            faults << QStringLiteral("<%1> is not a template element").arg(element.toString());
            xml.skipCurrentElement();
        }
        report(line);
    }
    if (xml.hasError()) {
        fail(xml.lineNumber(), xml.errorString());
        return std::nullopt;
    }
    validate(workbook);
    if (!m_errors.isEmpty())
        return std::nullopt;
    return workbook;
}

void TemplateReader::validate(const WorkbookTemplate &workbook)
{
    if (workbook.columnWidths.isEmpty() || workbook.rowHeights.isEmpty()) {
        fail(1, QStringLiteral("the template has no grid: give its <column> and <row> sizes"));
        return;
    }
    const QString outside = QStringLiteral("%1 (%2, %3, %4, %5) lies outside the grid of %6 "
                                           "columns and %7 rows");
    auto check = [&](const CellRectangle &r, const QString &what, qint64 line) {
        if (!workbook.contains(r))
            fail(line, outside.arg(what).arg(r.left).arg(r.top).arg(r.right).arg(r.bottom)
                           .arg(workbook.columnCount()).arg(workbook.rowCount()));
    };
    for (const WorkbookTemplate::Cell &cell : workbook.cells) {
        check(CellRectangle{cell.column, cell.row, cell.column + cell.columnSpan,
                            cell.row + cell.rowSpan},
              QStringLiteral("cell"), cell.line);
        if (!cell.font.isEmpty() && !workbook.fonts.contains(cell.font))
            fail(cell.line, QStringLiteral("unknown font \"%1\"").arg(cell.font));
    }
    for (const WorkbookTemplate::Placement &image : workbook.images) {
        check(image.rectangle, QStringLiteral("image"), image.line);
        if (!image.file.isEmpty() && !QFileInfo(image.file).isReadable())
            fail(image.line, QStringLiteral("image file \"%1\" cannot be read").arg(image.name));
    }
    for (const WorkbookTemplate::Placement &area : workbook.areas)
        check(area.rectangle, QStringLiteral("area \"%1\"").arg(area.name), area.line);
}
