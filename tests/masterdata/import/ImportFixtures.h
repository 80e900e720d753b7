#pragma once

#include "data/CodePage.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QStringList>

#include <shapefil.h>
#include <zip.h>

// The customer rows every format's fixture holds, and writers for the formats that the tests
// make themselves: text files in both encodings, .xlsx through libzip, .dbf through shapelib.
// The .xls fixture is made by tests/fixtures/import/make_kunden_xls.py.
namespace ImportFixtures {

inline const QStringList header = {"KNR", "NAME", "STRASSE", "PLZ", "ORT"};

// A row without number, a number twice, quotes, umlauts and a name longer than the column.
inline QList<QStringList> rows(int longNameLength = 300)
{
    return {{"1001", "Müller & Söhne", "Hauptstraße 1", "52062", "Aachen"},
            {"1002", "O'Brien \"Pub\"", "Am Eck 2", "50667", "Köln"},
            {"", "Niemand", "Weg 3", "10115", "Berlin"},
            {"1001", "Müller GmbH", "Hauptstraße 1a", "52062", "Aachen"},
            {"1003", QString(longNameLength, u'L'), "Lang 4", "80331", "München"}};
}

inline QString fixturePath(const QString &name)
{
    return QStringLiteral(LUMETRA4_IMPORT_FIXTURES "/") + name;
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QString csvField(const QString &value, QChar separator)
{
    if (!value.contains(u'"') && !value.contains(separator) && !value.contains(u'\n'))
        return value;
    return u'"' + QString(value).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

inline QString csvText(QChar separator)
{
    QString text = header.join(separator) + QStringLiteral("\r\n");
    for (const QStringList &row : rows()) {
        QStringList fields;
        for (const QString &value : row)
            fields << csvField(value, separator);
        text += fields.join(separator) + QStringLiteral("\r\n");
    }
    return text;
}

inline void writeCsvUtf8Bom(const QString &path, QChar separator = u';')
{
    writeFile(path, "\xEF\xBB\xBF" + csvText(separator).toUtf8());
}

inline void writeCsv1252(const QString &path, QChar separator = u';')
{
    writeFile(path, CodePage::encode(csvText(separator), CodePage::Id::Windows1252));
}

inline QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// Names and texts as shared strings, the row without number as inline strings, numbers as
// numbers; a second sheet "Daten".
inline void writeXlsx(const QString &path)
{
    QStringList shared;
    const auto sharedIndex = [&shared](const QString &text) {
        if (!shared.contains(text))
            shared << text;
        return shared.indexOf(text);
    };
    const char columns[] = "ABCDE";
    QString sheet = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet "
                                   "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/"
                                   "2006/main\"><sheetData>");
    QList<QStringList> all = {header};
    all += rows();
    for (qsizetype r = 0; r < all.size(); ++r) {
        sheet += QStringLiteral("<row r=\"%1\">").arg(r + 1);
        for (qsizetype c = 0; c < all.at(r).size(); ++c) {
            const QString value = all.at(r).at(c);
            const QString ref = QStringLiteral("%1%2").arg(QChar(columns[c])).arg(r + 1);
            if (value.isEmpty())
                continue;
            bool number = false;
            value.toInt(&number);
            if (number && r > 0 && (c == 0 || c == 3))
                sheet += QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(ref, value);
            else if (r == 3)
                sheet += QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>")
                             .arg(ref, xmlEscaped(value));
            else
                sheet += QStringLiteral("<c r=\"%1\" t=\"s\"><v>%2</v></c>")
                             .arg(ref).arg(sharedIndex(value));
        }
        sheet += QStringLiteral("</row>");
    }
    sheet += QStringLiteral("</sheetData></worksheet>");
    QString strings = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns="
                                     "\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                                     "main\">");
    for (const QString &text : std::as_const(shared))
        strings += QStringLiteral("<si><t>%1</t></si>").arg(xmlEscaped(text));
    strings += QStringLiteral("</sst>");
    const QList<std::pair<const char *, QByteArray>> parts = {
        {"[Content_Types].xml", "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas."
                                "openxmlformats.org/package/2006/content-types\"/>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/"
         "spreadsheetml/2006/main\" xmlns:r=\"http://schemas.openxmlformats.org/"
         "officeDocument/2006/relationships\"><sheets><sheet name=\"Kunden\" sheetId=\"1\" "
         "r:id=\"rId1\"/><sheet name=\"Daten\" sheetId=\"2\" r:id=\"rId2\"/></sheets>"
         "</workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/"
         "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"x\" "
         "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"x\" "
         "Target=\"/xl/worksheets/sheet2.xml\"/></Relationships>"},
        {"xl/sharedStrings.xml", strings.toUtf8()},
        {"xl/worksheets/sheet1.xml", sheet.toUtf8()},
        {"xl/worksheets/sheet2.xml",
         "<?xml version=\"1.0\"?><worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\">"
         "<is><t>X</t></is></c></row><row r=\"2\"><c r=\"A2\"><v>1.5</v></c></row></sheetData>"
         "</worksheet>"}};
    int error = 0;
    QFile::remove(path);
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &error);
    if (!zip)
        qFatal("cannot create %s", qPrintable(path));
    QList<QByteArray> keep;
    for (const auto &[name, content] : parts) {
        keep << content;
        zip_source_t *source = zip_source_buffer(zip, keep.last().constData(),
                                                 zip_uint64_t(keep.last().size()), 0);
        if (!source || zip_file_add(zip, name, source, ZIP_FL_ENC_UTF_8) < 0)
            qFatal("cannot add %s", name);
    }
    if (zip_close(zip) != 0)
        qFatal("cannot write %s", qPrintable(path));
}

// Text fields in Windows-1252 with the header's language driver byte saying so (0x57); the
// names' field is as wide as dBase allows, 254 characters.
inline void writeDbf(const QString &path, const QList<QStringList> &content = rows(254))
{
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), "LDID/87");
    if (!dbf)
        qFatal("cannot create %s", qPrintable(path));
    const int widths[] = {10, 254, 40, 5, 40};
    for (qsizetype i = 0; i < header.size(); ++i)
        DBFAddField(dbf, header.at(i).toLatin1().constData(), i == 3 ? FTInteger : FTString,
                    widths[i], 0);
    for (qsizetype r = 0; r < content.size(); ++r) {
        for (qsizetype c = 0; c < content.at(r).size(); ++c) {
            const QString value = content.at(r).at(c);
            if (c == 3)
                DBFWriteIntegerAttribute(dbf, int(r), int(c), value.toInt());
            else
                DBFWriteStringAttribute(dbf, int(r), int(c),
                                        CodePage::encode(value, CodePage::Id::Windows1252)
                                            .constData());
        }
    }
    DBFClose(dbf);
}

} // namespace ImportFixtures
