#include "cli/ImportCustomersCommand.h"

#include "cli/Command.h"
#include "data/ColumnCaptions.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/ProgramDatabase.h"
#include "data/StringTable.h"
#include "masterdata/import/CustomerImport.h"
#include "masterdata/import/ImportSourceFactory.h"

#include <QCommandLineParser>

namespace {

// The table to read: the one named, or the only one a source with a table list has.
bool chooseTable(ImportSource &source, const QString &requested, QString *table,
                 QString *error)
{
    const QStringList tables = source.tableNames();
    if (!requested.isEmpty() || tables.isEmpty()) {
        *table = requested;
        return true;
    }
    if (tables.size() == 1) {
        *table = tables.first();
        return true;
    }
    *error = QStringLiteral("the file holds several tables, choose one with --table: %1")
                 .arg(tables.join(QStringLiteral(", ")));
    return false;
}

// A mapped field the source lacks would empty that column silently: refuse it.
QString unknownSourceField(const ImportMapping &mapping, const ImportTable &table)
{
    for (const ImportMapping::Entry &entry : mapping.entries()) {
        if (!entry.source.isEmpty() && table.fieldIndex(entry.source) < 0)
            return QStringLiteral("the source has no field '%1'; its fields: %2")
                .arg(entry.source, table.fields.join(QStringLiteral(", ")));
    }
    return {};
}

} // namespace

int runImportCustomersCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Imports customers from FILE (.txt, .csv, .xls, .xlsx, .mdb, .accdb, .dbf). --map "
        "names, for each customer field (caption or column, e.g. Kunden-Nr or ADS_KundenNr), "
        "the source field it takes; Kunden-Nr must be mapped. Existing customers are left "
        "alone unless --update is given."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the source file"));
    const QCommandLineOption table(QStringLiteral("table"),
                                   QStringLiteral("the table or worksheet (Kunden$) to read"),
                                   QStringLiteral("NAME"));
    const QCommandLineOption map(QStringLiteral("map"),
                                 QStringLiteral("DESTINATION=SOURCE pairs separated by commas"),
                                 QStringLiteral("MAPPING"));
    const QCommandLineOption update(QStringLiteral("update"),
                                    QStringLiteral("overwrite the mapped fields of existing "
                                                   "customers"));
    const QCommandLineOption noUpdate(QStringLiteral("no-update"),
                                      QStringLiteral("leave existing customers alone (default)"));
    parser.addOptions({table, map, update, noUpdate});
    if (!parser.parse(QStringList{QStringLiteral("lumetra4 import-customers")} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        printLine(parser.helpText().trimmed());
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return usageError(QStringLiteral("import-customers needs exactly one FILE"));
    if (parser.isSet(update) && parser.isSet(noUpdate))
        return usageError(QStringLiteral("--update and --no-update exclude each other"));

    LoadColumnCaptions(); // the mapping names the customer fields by their captions
    ImportMapping mapping;
    const QString mappingError = mapping.parse(parser.value(map));
    if (!mappingError.isEmpty())
        return usageError(QStringLiteral("--map: %1").arg(mappingError));
    if (!mapping.keyMapped())
        return usageError(QStringLiteral("--map must map %1")
                              .arg(mapping.entries().at(ImportMapping::keyEntry).caption));

    try {
        const auto source = OpenImportSource(parser.positionalArguments().first());
        QString tableName;
        QString error;
        if (!chooseTable(*source, parser.value(table), &tableName, &error))
            return usageError(error);
        // The whole source is read before the database is touched.
        const ImportTable rows = source->readTable(tableName);
        error = unknownSourceField(mapping, rows);
        if (!error.isEmpty())
            return usageError(error);
        if (rows.rows.isEmpty()) {
            printLine(resString(25277));
            return 0;
        }
        DatabaseSession session;
        openProgramDatabase(session, programLocations().dbFile);
        const ImportCounts counts =
            CustomerImport(session.dbConnection, mapping,
                           parser.isSet(update) ? UpdateMethod::Update : UpdateMethod::NoUpdate)
                .run(rows);
        printLine(ImportCountsMessage(counts));
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    }
    return 0;
}
