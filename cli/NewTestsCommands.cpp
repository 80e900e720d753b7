#include "cli/NewTestsCommands.h"

#include "cli/Command.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/FileLocations.h"
#include "data/ProgramDatabase.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "data/SelectLists.h"
#include "newtests/AutomaticFiling.h"
#include "newtests/NewTestsList.h"
#include "statistics/ColumnFormat.h"
#include "statistics/TestTexts.h"
#include "cli/TestSelection.h"
#include "data/StringTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

namespace {

// One output row of lumetra4 tests: the grid's columns with the grid's texts.
struct TestColumn
{
    QString caption;
    ColumnFormat format;
};

QList<TestColumn> testColumns()
{
    const ColumnCaptions &c = columnCaptions();
    return {{c.capKundenNr, ColumnFormat::None},     {c.capPruefart, ColumnFormat::TestKind},
            {c.capDatum, ColumnFormat::None},        {c.capBefund, ColumnFormat::Finding},
            {c.capDruck, ColumnFormat::None},        {c.capEndDruck, ColumnFormat::None},
            {c.capFluss, ColumnFormat::MissingValue}, {c.capPruefer, ColumnFormat::None},
            {c.capAuftraggeber, ColumnFormat::None}, {c.capFabNr, ColumnFormat::None},
            {c.capZaehlerNr, ColumnFormat::None}};
}

QString cellText(const Recordset &tests, const TestColumn &column)
{
    const QVariant value = tests.value(column.caption);
    if (value.userType() == QMetaType::QDateTime)
        return value.toDateTime().toString(Qt::ISODate);
    return GridText(column.format, value).trimmed();
}

QString csvField(QString text)
{
    if (text.contains(u';') || text.contains(u'"') || text.contains(u'\n'))
        text = u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return text;
}

// Opens an archive for reading its tests as the statistics window on an archive does.
bool openArchive(DatabaseSession &session, const QString &file)
{
    try {
        LoadColumnCaptions();
        session.dbConnection.open(Database::BuildConnectionString(file));
        Schema::upgrade(session.dbConnection);
        OpenRecordset(session.rsPruefungenKunden, session.dbConnection, SqlPruefungenKunden(),
                      LockType::ReadOnly);
        return true;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return false;
    }
}

int listTests(const TestSelection &selection, const QString &format, const QString &archive)
{
    DatabaseSession session;
    if (archive.isEmpty() ? !openSession(session) : !openArchive(session, archive))
        return 1;
    const QString problem = selection.criteria().problem() ? resString(selection.criteria().problem())
                                                           : QString();
    if (!problem.isEmpty())
        return usageError(problem);
    std::unique_ptr<Recordset> tests;
    try {
        tests = selection.select(session);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    }
    const QList<TestColumn> columns = testColumns();
    QJsonArray json;
    if (format == QLatin1String("csv")) {
        QStringList header{QStringLiteral("ID")};
        for (const TestColumn &column : columns)
            header << csvField(column.caption);
        printLine(header.join(u';'));
    }
    for (tests->moveFirst(); !tests->eof(); tests->moveNext()) {
        const qint64 id = tests->rowKey(QStringLiteral("Pruefungen"));
        if (format == QLatin1String("json")) {
            QJsonObject raw;
            for (int field = 0; field < tests->fieldCount(); ++field) {
                if (tests->field(field).lazy)
                    continue; // curves are long; the id leads to them
                raw.insert(tests->fieldName(field),
                           QJsonValue::fromVariant(tests->value(field)));
            }
            json.append(QJsonObject{{QStringLiteral("id"), id},
                                    {QStringLiteral("values"), raw}});
            continue;
        }
        QStringList cells{QString::number(id)};
        for (const TestColumn &column : columns)
            cells << (format == QLatin1String("csv") ? csvField(cellText(*tests, column))
                                                      : cellText(*tests, column));
        printLine(format == QLatin1String("csv") ? cells.join(u';') : cells.join(QStringLiteral("  ")));
    }
    if (format == QLatin1String("json"))
        printLine(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented)));
    else if (format != QLatin1String("csv"))
        printLine(QStringLiteral("%1 test(s)").arg(tests->recordCount()));
    return 0;
}

int listNewTests()
{
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

} // namespace

int runTestsCommand(const QStringList &arguments)
{
    // The new tests as the new tests window lists them.
    if (arguments == QStringList{QStringLiteral("--new")})
        return listNewTests();
    const QString help = QStringLiteral(
        "Usage: lumetra4 tests --new\n"
        "       lumetra4 tests [--archive FILE] [criteria] [--format table|csv|json]\n"
        "The first lists the new tests as the new tests window does; the second the tests\n"
        "that match the criteria of the statistics window, with its texts (csv: semicolons;\n"
        "json: each test's id and stored values); --archive reads an archive database.\n");
    TestSelection selection;
    QString format = QStringLiteral("table");
    QString archive;
    for (int i = 0; i < arguments.size(); ++i) {
        QString error;
        if (selection.take(arguments, i, &error)) {
            if (!error.isEmpty())
                return usageError(error + QStringLiteral("; see --help"));
            continue;
        }
        if (arguments[i] == QLatin1String("--archive") && i + 1 < arguments.size()) {
            archive = arguments[++i];
            continue;
        }
        if (arguments[i] == QLatin1String("--format") && i + 1 < arguments.size()
            && QStringList{"table", "csv", "json"}.contains(arguments[i + 1])) {
            format = arguments[++i];
            continue;
        }
        return usage(arguments, help + TestSelection::criteriaHelp());
    }
    return listTests(selection, format, archive);
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
