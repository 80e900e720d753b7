#pragma once

#include "statistics/TemplateError.h"
#include "statistics/WorkbookTemplate.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// Reads protocol templates: UTF-8 XML files (*.vts) of the form
//
//   <workbook-template version="1">
//     <page paper="A4" orientation="portrait" left="15" top="10" right="10" bottom="15"
//           header="5" footer="6"/>                        (millimetres)
//     <footer>&amp;C&amp;"Arial"&amp;8notice</footer>       (header likewise)
//     <font id="title" family="Arial" size="14" bold="true" default="false"/>
//     <column width="14" count="13"/>                    (widths in mm, left to right)
//     <row height="5" count="52"/>                       (heights in mm, top to bottom)
//     <map id="Befund"><entry code="0">OK</entry>...</map>
//     <cell row="9" col="1" colspan="4" font="title" align="center" valign="top"
//           border="bottom" background="#e0e0e0" wrap="true">Kunde: {Kunde}</cell>
//     <image src="stamp.png" left="1" top="44" right="4" bottom="48"/>
//     <area name="logo" left="10" top="1" right="14" bottom="7"/>
//   </workbook-template>
//
// Cell text holds fixed text and placeholders {Name} or {Name|map}; "{{" and "}}" are braces.
// Images and areas are given by grid lines (see CellRectangle). Every fault is reported with
// the file and the line; a template with faults is not used.
class TemplateReader
{
public:
    // knownNames: the names a placeholder may use; any other is a fault.
    explicit TemplateReader(QSet<QString> knownNames);

    std::optional<WorkbookTemplate> read(const QString &path);
    std::optional<WorkbookTemplate> read(const QByteArray &content, const QString &path);

    const QList<TemplateError> &errors() const { return m_errors; }
    QString errorText() const; // all errors, one per line

private:
    void fail(qint64 line, const QString &message);
    void validate(const WorkbookTemplate &workbook);

    QSet<QString> m_knownNames;
    QList<TemplateError> m_errors;
    QString m_path;
};
