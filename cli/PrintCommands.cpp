#include "cli/PrintCommands.h"

#include "cli/Command.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/ProgramDatabase.h"
#include "data/Recordset.h"
#include "data/SelectLists.h"
#include "data/StringTable.h"
#include "statistics/DocumentPrinter.h"
#include "statistics/ListHeader.h"
#include "statistics/ProtocolBatch.h"
#include "statistics/ProtocolBuilder.h"
#include "statistics/TestListDocument.h"

#include <QDate>
#include <QDateTime>

#include <cstdio>
#include <optional>

namespace {

const QString criteriaHelp = QStringLiteral(
    "Criteria (all optional; without --new the filed tests):\n"
    "  --new            the new tests instead of the filed ones\n"
    "  --kind N         test kind 0-3\n"
    "  --customer NR    customer number\n"
    "  --from DATE      tests on or after DATE (YYYY-MM-DD)\n"
    "  --to DATE        tests on or before DATE (YYYY-MM-DD)\n");

struct Options
{
    QString pdf;
    std::optional<int> testId;
    std::optional<int> kind;
    QString customer;
    QDate from;
    QDate to;
    bool newTests = false;
    int copies = 1;
    bool landscape = false;
    QString templates;
};

void printError(const QString &message)
{
    std::fprintf(stderr, "lumetra4: %s\n", message.toUtf8().constData());
}

// Parses the options; an error text on failure.
QString parse(const QStringList &arguments, bool protocol, Options &options)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &option = arguments.at(i);
        if (option == QLatin1String("--new")) {
            options.newTests = true;
            continue;
        }
        if (option == QLatin1String("--landscape")) {
            options.landscape = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(option);
        const QString value = arguments.at(++i);
        bool ok = true;
        if (option == QLatin1String("--pdf")) {
            options.pdf = value;
        } else if (option == QLatin1String("--kind")) {
            options.kind = value.toInt(&ok);
            ok = ok && *options.kind >= 0 && *options.kind <= 3;
        } else if (option == QLatin1String("--customer")) {
            options.customer = value;
        } else if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
            const QDate date = QDate::fromString(value, Qt::ISODate);
            ok = date.isValid();
            (option == QLatin1String("--from") ? options.from : options.to) = date;
        } else if (protocol && option == QLatin1String("--test")) {
            options.testId = value.toInt(&ok);
        } else if (protocol && option == QLatin1String("--copies")) {
            options.copies = value.toInt(&ok);
            ok = ok && options.copies >= 1 && options.copies <= 99;
        } else if (protocol && option == QLatin1String("--templates")) {
            options.templates = value;
        } else {
            return QStringLiteral("unknown option %1").arg(option);
        }
        if (!ok)
            return QStringLiteral("%1: bad value '%2'").arg(option, value);
    }
    if (options.pdf.isEmpty())
        return QStringLiteral("--pdf FILE is required");
    return {};
}

bool matches(const Recordset &tests, const Options &options)
{
    const ColumnCaptions &c = columnCaptions();
    if (tests.value(c.capNeuePruefung).toBool() != options.newTests)
        return false;
    if (options.kind && tests.value(c.capPruefart).toInt() != *options.kind)
        return false;
    if (!options.customer.isEmpty()
        && tests.value(c.capKundenNr).toString().trimmed() != options.customer.trimmed())
        return false;
    const QDate date = tests.value(c.capDatum).toDateTime().date();
    if (options.from.isValid() && (!date.isValid() || date < options.from))
        return false;
    return !options.to.isValid() || (date.isValid() && date <= options.to);
}

// The tests to print, held in memory in the order of the tests list.
std::unique_ptr<Recordset> selectTests(DatabaseSession &session, const Options &options)
{
    std::unique_ptr<Recordset> source;
    if (options.testId) {
        QString select = SqlPruefungenKunden();
        // The number went through toInt(), so it is a plain integer in the statement.
        select.replace(QStringLiteral(" ORDER BY "),
                       QStringLiteral(" WHERE Pruefungen.PFG_ID = %1 ORDER BY ")
                           .arg(*options.testId));
        source = std::make_unique<Recordset>(session.dbConnection, select, LockType::ReadOnly);
    } else {
        source = session.rsPruefungenKunden->clone();
    }
    QList<RecordsetField> fields;
    for (int i = 0; i < source->fieldCount(); ++i)
        fields << RecordsetField::named(source->fieldName(i), source->field(i).type);
    QList<QVariantList> rows;
    for (source->moveFirst(); !source->eof(); source->moveNext()) {
        if (!options.testId && !matches(*source, options))
            continue;
        QVariantList row;
        for (int i = 0; i < source->fieldCount(); ++i)
            row << source->value(i);
        rows << row;
    }
    return std::make_unique<Recordset>(fields, rows);
}

ListHeaderCriteria headerCriteria(const Options &options)
{
    ListHeaderCriteria criteria;
    criteria.newTests = options.newTests;
    if (options.kind)
        criteria.testKind = resString(203 + *options.kind);
    criteria.startDate = options.from;
    criteria.endDate = options.to;
    criteria.customer = options.customer;
    return criteria;
}

QStringList listColumns()
{
    const ColumnCaptions &c = columnCaptions();
    return {c.capKundenNr, c.capName1, c.capPruefart, c.capDatum, c.capBefund, c.capPruefer,
            c.capAuftraggeber, c.capDruck, c.capEndDruck, c.capFluss, c.capFabNr};
}

int run(const QStringList &arguments, bool protocol, const QString &usage)
{
    if (arguments.contains(QStringLiteral("--help"))) {
        printLine(usage + criteriaHelp);
        return 0;
    }
    Options options;
    const QString error = parse(arguments, protocol, options);
    if (!error.isEmpty())
        return usageError(error + QStringLiteral("; see --help"));
    try {
        DatabaseSession session;
        openProgramDatabase(session, programLocations().dbFile);
        const std::unique_ptr<Recordset> tests = selectTests(session, options);
        if (tests->recordCount() == 0) {
            printError(options.testId ? QStringLiteral("there is no test %1").arg(*options.testId)
                                      : QStringLiteral("no test matches the criteria"));
            return 1;
        }
        QString failure;
        bool written = false;
        int pages = 0;
        if (protocol) {
            ProtocolBuilder builder(options.templates.isEmpty()
                                        ? ProtocolBuilder::defaultTemplateFolder()
                                        : options.templates,
                                    StringTable::instance().languageNo(),
                                    programLocations().logoFile());
            builder.setNotice([](const QString &message) { printError(message); });
            QList<ProtocolTest> list;
            for (tests->moveFirst(); !tests->eof(); tests->moveNext())
                list << ProtocolTest::fromRecordset(*tests);
            const ProtocolBatch batch(builder, list, options.copies, options.landscape);
            if (batch.protocolCount() == 0) {
                printError(QStringLiteral("none of the tests has a protocol (unknown test kind)"));
                return 1;
            }
            pages = batch.pageCount();
            written = DocumentPrinter::writePdf(batch, options.pdf, &failure, resString(564));
        } else {
            const auto document = BuildTestList(*tests, listColumns(),
                                                MakeHeader(headerCriteria(options)),
                                                options.landscape);
            pages = document->pageCount();
            written = DocumentPrinter::writePdf(*document, options.pdf, &failure);
        }
        if (!written) {
            printError(failure);
            return 1;
        }
        printLine(QStringLiteral("written: %1 (%2 test(s), %3 page(s))")
                      .arg(options.pdf).arg(tests->recordCount()).arg(pages));
        return 0;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    }
}

} // namespace

int runPrintProtocolCommand(const QStringList &arguments)
{
    return run(arguments, true, QStringLiteral(
        "Usage: lumetra4 print-protocol (--test ID | [criteria]) --pdf FILE\n"
        "          [--copies N] [--landscape] [--templates DIR]\n"
        "Writes the protocol of test ID (its number in the database), or of every test that\n"
        "matches the criteria, one page per test and copy, into FILE. The file appears only\n"
        "when it is complete. --templates reads the templates from DIR.\n"));
}

int runPrintListCommand(const QStringList &arguments)
{
    return run(arguments, false, QStringLiteral(
        "Usage: lumetra4 print-list [criteria] --pdf FILE [--landscape]\n"
        "Writes the list of the tests that match the criteria into FILE (A4, the criteria in\n"
        "the header, page numbers).\n"));
}
