#include "cli/NewTestsCommands.h"

#include "cli/Command.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/FileLocations.h"
#include "data/ProgramDatabase.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "newtests/AutomaticFiling.h"
#include "newtests/NewTestsList.h"
#include "statistics/TestTexts.h"

#include <QCoreApplication>

namespace {

// Opens the database the program would open, brought to the current version, with the
// shared recordsets.
bool openSession(DatabaseSession &session)
{
    try {
        openProgramDatabase(session, programLocations().dbFile);
        return true;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return false;
    }
}

QString describe(const FilingOutcome &outcome)
{
    const QString test = QStringLiteral("%1 (meter %2)")
                             .arg(outcome.kundenNr,
                                  outcome.zaehlerNr.isEmpty() ? QStringLiteral("-")
                                                              : outcome.zaehlerNr);
    switch (outcome.status) {
    case FilingOutcome::Status::Filed:
        return QStringLiteral("filed     %1 under customer %2").arg(test, outcome.customerNr);
    case FilingOutcome::Status::NoCase:
        return QStringLiteral("stays new %1: no customer or measurement number to search for")
            .arg(test);
    case FilingOutcome::Status::NoCustomer:
        return QStringLiteral("stays new %1: no customer holds \"%2\"").arg(test, outcome.key);
    case FilingOutcome::Status::Ambiguous:
        return QStringLiteral("stays new %1: %2 customers hold \"%3\"")
            .arg(test).arg(outcome.matches).arg(outcome.key);
    case FilingOutcome::Status::Failed:
        return QStringLiteral("stays new %1: filing failed (reported above)").arg(test);
    }
    return {};
}

int usage(const QStringList &arguments, const QString &text)
{
    printLine(text);
    return arguments.contains(QStringLiteral("--help")) ? 0 : 2;
}

} // namespace

int runTestsCommand(const QStringList &arguments)
{
    if (arguments != QStringList{QStringLiteral("--new")}) {
        return usage(arguments, QStringLiteral(
                                    "Usage: lumetra4 tests --new\n"
                                    "Lists the new tests: number, meter number, test kind, "
                                    "finding, date, instrument."));
    }
    DatabaseSession session;
    if (!openSession(session))
        return 1;
    const ColumnCaptions &c = columnCaptions();
    auto list = OpenNewTestsList(*session.rsPruefungen);
    for (int row = 0; row < list->recordCount(); ++row) {
        list->move(row);
        printLine(QStringLiteral("%1  %2  %3  %4  %5  %6")
                      .arg(list->value(c.capKundenNr).toString(), -12)
                      .arg(list->value(c.capZaehlerNr).toString().trimmed(), -10)
                      .arg(GridTestKindText(list->value(c.capPruefart)), -28)
                      .arg(GridFindingText(list->value(c.capBefund)), -11)
                      .arg(list->value(c.capDatum).toDateTime().toString(Qt::ISODate))
                      .arg(list->value(c.capFabNr).toString()));
    }
    printLine(QStringLiteral("%1 new test(s)").arg(list->recordCount()));
    return 0;
}

int runFileCommand(const QStringList &arguments)
{
    const bool replace = arguments.contains(QStringLiteral("--yes-replace-meter"));
    const bool keep = arguments.contains(QStringLiteral("--keep-meter"));
    if (!arguments.contains(QStringLiteral("--auto")) || (replace && keep)
        || arguments.size() != 1 + int(replace || keep)) {
        return usage(arguments, QStringLiteral(
            "Usage: lumetra4 file --auto [--yes-replace-meter|--keep-meter]\n"
            "Files every new test under the one customer whose data hold its customer number\n"
            "(or, for a test with a measurement number only, its meter number). Tests with no\n"
            "or several such customers stay new. When a test's meter number differs from the\n"
            "customer's, --yes-replace-meter makes it the customer's meter number; by default\n"
            "(--keep-meter) the customer keeps its own. No question is asked."));
    }
    DatabaseSession session;
    if (!openSession(session))
        return 1;
    auto list = OpenNewTestsList(*session.rsPruefungen);
    QList<int> bookmarks;
    for (int row = 0; row < list->recordCount(); ++row) {
        list->move(row);
        bookmarks << list->bookmark();
    }
    const AutomaticFilingResult result = RunAutomaticFiling(
        session.dbConnection, *list, *session.rsKunden, bookmarks,
        [replace](const QString &) { return replace; });
    int filed = 0;
    for (const FilingOutcome &outcome : result.outcomes) {
        printLine(describe(outcome));
        filed += outcome.status == FilingOutcome::Status::Filed ? 1 : 0;
    }
    printLine(QStringLiteral("%1 of %2 new test(s) filed").arg(filed).arg(bookmarks.size()));
    const bool failed = result.ended
                        || std::any_of(result.outcomes.begin(), result.outcomes.end(),
                                       [](const FilingOutcome &o) {
                                           return o.status == FilingOutcome::Status::Failed;
                                       });
    return failed ? 1 : 0;
}
