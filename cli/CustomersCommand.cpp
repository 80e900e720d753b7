#include "cli/CustomersCommand.h"

#include "cli/Command.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/ProgramDatabase.h"
#include "data/Recordset.h"
#include "masterdata/MasterListSearch.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

QList<QStringList> rowsOf(Recordset &list)
{
    QList<QStringList> rows;
    for (int row = 0; row < list.recordCount(); ++row) {
        QStringList cells;
        for (int field = 0; field < list.fieldCount(); ++field)
            cells << list.valueAt(row, field).toString();
        rows << cells;
    }
    return rows;
}

void printTable(const QStringList &headings, const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QString &heading : headings)
        widths << heading.size();
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row.at(i).size());
    }
    const auto line = [&widths](const QStringList &cells) {
        QString text;
        for (qsizetype i = 0; i < cells.size(); ++i)
            text += (i > 0 ? QStringLiteral("  ") : QString())
                    + cells.at(i).leftJustified(widths[i]);
        return text.trimmed();
    };
    printLine(line(headings));
    for (const QStringList &row : rows)
        printLine(line(row));
    printLine(QStringLiteral("%1 customer(s)").arg(rows.size()));
}

// Semicolon-separated, as the program's other exports; a field with a separator, quote or
// line break goes between quotes with its quotes doubled.
QString csvLine(const QStringList &cells)
{
    QStringList fields;
    for (QString cell : cells) {
        if (cell.contains(u';') || cell.contains(u'"') || cell.contains(u'\n')
            || cell.contains(u'\r'))
            cell = u'"' + cell.replace(u'"', QStringLiteral("\"\"")) + u'"';
        fields << cell;
    }
    return fields.join(u';');
}

// Keys are the database columns, which stay the same in every language.
void printJson(Recordset &list, const QList<QStringList> &rows)
{
    QJsonArray customers;
    for (const QStringList &row : rows) {
        QJsonObject customer;
        for (int field = 0; field < list.fieldCount(); ++field) {
            const RecordsetField &f = list.field(field);
            customer.insert(f.column.isEmpty() ? f.name : f.column, row.at(field));
        }
        customers.append(customer);
    }
    printLine(QString::fromUtf8(QJsonDocument(customers).toJson(QJsonDocument::Indented))
                  .trimmed());
}

} // namespace

int runCustomersCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the customers sorted by number. --search shows only those that hold TEXT in "
        "any column (ignoring case; quotes and other characters are found as typed)."));
    parser.addHelpOption();
    const QCommandLineOption search(QStringLiteral("search"),
                                    QStringLiteral("only customers that hold TEXT"),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("table (default), csv or json"),
                                    QStringLiteral("FORMAT"), QStringLiteral("table"));
    parser.addOption(search);
    parser.addOption(format);
    if (!parser.parse(QStringList{QStringLiteral("lumetra4 customers")} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        printLine(parser.helpText().trimmed());
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().first()));
    const QString style = parser.value(format);
    if (!QStringList{"table", "csv", "json"}.contains(style))
        return usageError(QStringLiteral("unknown format '%1': table, csv or json").arg(style));

    DatabaseSession session;
    std::unique_ptr<Recordset> list;
    try {
        openProgramDatabase(session, programLocations().dbFile);
        list = session.rsKunden->clone();
        list->setSort(u'[' + list->fieldName(0) + QStringLiteral("] ASC"));
        ApplyMasterListSearch(*list, parser.value(search));
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    }
    QStringList headings;
    for (int field = 0; field < list->fieldCount(); ++field)
        headings << list->fieldName(field);
    const QList<QStringList> rows = rowsOf(*list);
    if (style == QLatin1String("json")) {
        printJson(*list, rows);
    } else if (style == QLatin1String("csv")) {
        printLine(csvLine(headings));
        for (const QStringList &row : rows)
            printLine(csvLine(row));
    } else {
        printTable(headings, rows);
    }
    return 0;
}
