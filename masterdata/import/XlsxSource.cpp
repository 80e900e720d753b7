#include "masterdata/import/XlsxSource.h"

#include "data/StringTable.h"
#include "masterdata/import/CellText.h"
#include "masterdata/import/SheetGrid.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

#include <zip.h>

namespace {

// Larger parts are not what a customer list holds; refusing them keeps a damaged or hostile
// archive from claiming all memory.
constexpr zip_uint64_t largestPart = 256 * 1024 * 1024;
constexpr qint64 largestSheet = 20'000'000;

// "AB12" -> column 27 and row 12 (both from 1); false for anything else.
bool parseReference(QStringView reference, int *row, int *column)
{
    qsizetype i = 0;
    int c = 0;
    while (i < reference.size() && reference.at(i).isLetter() && i < 3)
        c = c * 26 + (reference.at(i++).toUpper().unicode() - u'A' + 1);
    bool ok = false;
    const int r = reference.sliced(i).toInt(&ok);
    if (i == 0 || !ok || r < 1 || c > 16384 || r > 1048576)
        return false;
    *row = r;
    *column = c;
    return true;
}

// The text of a string item (<si> or <is>): its <t> elements, without phonetic runs.
QString stringItem(QXmlStreamReader &xml)
{
    QString text;
    const QString endName = xml.name().toString();
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (xml.isEndElement() && xml.name() == endName)
            break;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"rPh")
            xml.skipCurrentElement();
        else if (xml.name() == u"t")
            text += xml.readElementText();
    }
    return text;
}

} // namespace

XlsxSource::XlsxSource(const QString &filePath)
    : ImportSource(filePath)
{
    int error = 0;
    m_zip = zip_open(QFile::encodeName(filePath).constData(), ZIP_RDONLY | ZIP_CHECKCONS,
                     &error);
    if (!m_zip) {
        if (error == ZIP_ER_OPEN || error == ZIP_ER_READ || error == ZIP_ER_NOENT) {
            zip_error_t zipError;
            zip_error_init_with_code(&zipError, error);
            const QString reason = QString::fromLocal8Bit(zip_error_strerror(&zipError));
            zip_error_fini(&zipError);
            fail(reason);
        }
        fail(resString(25336).arg(QStringLiteral("Excel")));
    }
    readSheetList();
}

XlsxSource::~XlsxSource()
{
    if (m_zip)
        zip_discard(m_zip);
}

QByteArray XlsxSource::entry(const QString &name)
{
    const QByteArray entryName = name.toUtf8();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(m_zip, entryName.constData(), 0, &stat) != 0)
        fail(resString(25336).arg(QStringLiteral("Excel")));
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > largestPart)
        fail(resString(25336).arg(QStringLiteral("Excel")));
    zip_file_t *file = zip_fopen(m_zip, entryName.constData(), 0);
    if (!file)
        fail(resString(25336).arg(QStringLiteral("Excel")));
    QByteArray content(qsizetype(stat.size), Qt::Uninitialized);
    zip_int64_t done = 0;
    while (done < zip_int64_t(stat.size)) {
        const zip_int64_t read = zip_fread(file, content.data() + done, stat.size - done);
        if (read <= 0)
            break;
        done += read;
    }
    // Reading on to the end lets the archive check the part's checksum.
    char extra;
    const bool sound = done == zip_int64_t(stat.size) && zip_fread(file, &extra, 1) == 0;
    zip_fclose(file);
    if (!sound)
        fail(resString(25337));
    return content;
}

void XlsxSource::readSheetList()
{
    QHash<QString, QString> targets;
    {
        QXmlStreamReader xml(entry(QStringLiteral("xl/_rels/workbook.xml.rels")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"Relationship") {
                QString target = xml.attributes().value(QLatin1String("Target")).toString();
                target = target.startsWith(u'/') ? target.mid(1)
                                                 : QStringLiteral("xl/") + target;
                targets.insert(xml.attributes().value(QLatin1String("Id")).toString(), target);
            }
        }
        if (xml.hasError())
            fail(resString(25336).arg(QStringLiteral("Excel")));
    }
    QXmlStreamReader xml(entry(QStringLiteral("xl/workbook.xml")));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"sheet") {
            const QXmlStreamAttributes attributes = xml.attributes();
            QString id;
            for (const QXmlStreamAttribute &attribute : attributes) {
                if (attribute.name() == u"id")
                    id = attribute.value().toString();
            }
            const QString part = targets.value(id);
            if (part.isEmpty())
                fail(resString(25336).arg(QStringLiteral("Excel")));
            m_sheets.append({attributes.value(QLatin1String("name")).toString(), part});
        }
    }
    if (xml.hasError())
        fail(resString(25336).arg(QStringLiteral("Excel")));
}

void XlsxSource::readSharedStrings()
{
    if (m_sharedStringsRead)
        return;
    m_sharedStringsRead = true;
    if (zip_name_locate(m_zip, "xl/sharedStrings.xml", 0) < 0)
        return; // a workbook of numbers and inline strings only
    QXmlStreamReader xml(entry(QStringLiteral("xl/sharedStrings.xml")));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"si")
            m_sharedStrings << stringItem(xml);
    }
    if (xml.hasError())
        fail(resString(25336).arg(QStringLiteral("Excel")));
}

QStringList XlsxSource::tableNames()
{
    QStringList names;
    for (const Sheet &sheet : std::as_const(m_sheets))
        names << sheet.name + u'$';
    return names;
}

ImportTable XlsxSource::readTable(const QString &name)
{
    auto sheet = std::find_if(m_sheets.cbegin(), m_sheets.cend(), [&name](const Sheet &s) {
        return (s.name + u'$').compare(name, Qt::CaseInsensitive) == 0
               || s.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (sheet == m_sheets.cend())
        fail(resString(25338).arg(name));
    readSharedStrings();
    const auto damaged = [this] { fail(resString(25336).arg(QStringLiteral("Excel"))); };

    SheetGrid grid;
    QXmlStreamReader xml(entry(sheet->part));
    int row = 0;
    int column = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"row") {
            const QStringView r = xml.attributes().value(QLatin1String("r"));
            row = r.isEmpty() ? row + 1 : r.toInt();
            column = 0;
            if (row < 1 || row > 1048576)
                damaged();
            continue;
        }
        if (xml.name() != u"c")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        int cellRow = row;
        if (attributes.hasAttribute(QLatin1String("r"))) {
            if (!parseReference(attributes.value(QLatin1String("r")), &cellRow, &column))
                damaged();
        } else {
            ++column;
        }
        const QString type = attributes.value(QLatin1String("t")).toString();
        QString value;
        QString inlineText;
        while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
            if (xml.isEndElement() && xml.name() == u"c")
                break;
            if (!xml.isStartElement())
                continue;
            if (xml.name() == u"v")
                value = xml.readElementText();
            else if (xml.name() == u"is")
                inlineText = stringItem(xml);
            else
                xml.skipCurrentElement();
        }
        QString text;
        if (type == u"s") {
            bool ok = false;
            const int index = value.toInt(&ok);
            if (!ok || index < 0 || index >= m_sharedStrings.size())
                damaged();
            text = m_sharedStrings.at(index);
        } else if (type == u"inlineStr") {
            text = inlineText;
        } else if (type == u"b") {
            text = value == u"1" ? QStringLiteral("True") : QStringLiteral("False");
        } else if (type.isEmpty() || type == u"n") {
            bool ok = false;
            const double number = value.toDouble(&ok);
            text = ok ? CellText::number(number) : value;
        } else {
            text = value; // str (formula result), e (error value), d (date as text)
        }
        grid.set(cellRow, column, text);
        if (grid.area() > largestSheet)
            damaged();
    }
    if (xml.hasError())
        damaged();
    return grid.table();
}
