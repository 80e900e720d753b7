#include "cli/PrintCommands.h"

#include "cli/Command.h"
#include "cli/TestSelection.h"
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

struct Options
{
    QString pdf;
    TestSelection selection;
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
        QString error;
        if (options.selection.take(arguments, i, &error)) {
            if (!error.isEmpty())
                return error;
            continue;
        }
        const QString &option = arguments.at(i);
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
        } else if (protocol && option == QLatin1String("--test")) {
            options.selection.testId = value.toInt(&ok);
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

ListHeaderCriteria headerCriteria(const Options &options)
{
    ListHeaderCriteria criteria;
    const TestSelection &s = options.selection;
    criteria.newTests = s.newTests;
    if (s.kind)
        criteria.testKind = resString(203 + *s.kind);
    criteria.startDate = s.from;
    criteria.endDate = s.to;
    criteria.customer = s.customer;
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
        printLine(usage + TestSelection::criteriaHelp());
        return 0;
    }
    Options options;
    const QString error = parse(arguments, protocol, options);
    if (!error.isEmpty())
        return usageError(error + QStringLiteral("; see --help"));
    try {
        DatabaseSession session;
        openProgramDatabase(session, programLocations().dbFile);
        const std::unique_ptr<Recordset> tests = options.selection.select(session);
        if (tests->recordCount() == 0) {
            printError(options.selection.testId
                           ? QStringLiteral("there is no test %1").arg(*options.selection.testId)
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
