#include "cli/ExportCommands.h"

#include "cli/Command.h"
#include "cli/TestSelection.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/Localisation.h"
#include "data/ProgramDatabase.h"
#include "data/Recordset.h"
#include "data/RecordsetModel.h"
#include "data/StringTable.h"
#include "statistics/ExportCriteria.h"
#include "statistics/ExportFile.h"
#include "statistics/ExportGrid.h"
#include "statistics/ListExport.h"
#include "statistics/ProtocolExport.h"
#include "statistics/ProtocolTest.h"
#include "statistics/StatisticsColumns.h"
#include "statistics/StatisticsGridModel.h"

#include <cstdio>
#include <numeric>

namespace {

void printError(const QString &message)
{
    std::fprintf(stderr, "lumetra4: %s\n", message.toUtf8().constData());
}

// The columns the statistics window shows for the data base and the chosen test kind.
QList<bool> gridVisibility(const Recordset &tests, const TestSelection &selection)
{
    QList<bool> visible;
    for (int field = 0; field < tests.fieldCount(); ++field)
        visible << StatisticsColumns::shownByDefault(tests.fieldName(field), selection.newTests);
    const auto set = [&](const QString &caption, bool shown) {
        const int field = tests.fieldIndex(caption);
        if (field >= 0)
            visible[field] = shown;
    };
    for (const auto &[caption, shown] : StatisticsColumns::forTestKind(selection.kind.value_or(-1)))
        set(caption, shown);
    for (const QString &caption : StatisticsColumns::hiddenFor(selection.newTests))
        set(caption, false);
    return visible;
}

// The criteria as the statistics window's controls would show them.
ExportCriteria criteriaOf(const TestSelection &selection)
{
    ExportCriteria criteria;
    criteria.dataBase = resString(selection.newTests ? 25039 : 25038);
    if (selection.kind)
        criteria.testKind = resString(203 + *selection.kind);
    const QString dateFormat = fixedShortDateFormat();
    if (selection.from.isValid())
        criteria.dateFrom = QLocale::system().toString(selection.from, dateFormat);
    if (selection.to.isValid())
        criteria.dateTo = QLocale::system().toString(selection.to, dateFormat);
    criteria.customerShown = !selection.newTests;
    criteria.customer = selection.customer;
    return criteria;
}

int run(const QStringList &arguments, bool protocol, const QString &usage)
{
    if (arguments.contains(QStringLiteral("--help"))) {
        printLine(usage + (protocol ? QString() : TestSelection::criteriaHelp()));
        return 0;
    }
    TestSelection selection;
    QString file;
    for (int i = 0; i < arguments.size(); ++i) {
        QString error;
        const QString &argument = arguments.at(i);
        if (!protocol && selection.take(arguments, i, &error)) {
            if (!error.isEmpty())
                return usageError(error + QStringLiteral("; see --help"));
        } else if (protocol && argument == QLatin1String("--test")) {
            bool ok = i + 1 < arguments.size();
            selection.testId = ok ? arguments.at(++i).toInt(&ok) : 0;
            if (!ok)
                return usageError(QStringLiteral("--test needs a test number; see --help"));
        } else if (argument.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            return usageError(QStringLiteral("unexpected %1; see --help").arg(argument));
        } else {
            file = argument;
        }
    }
    if (file.isEmpty())
        return usageError(QStringLiteral("FILE is required; see --help"));
    if (protocol && !selection.testId)
        return usageError(QStringLiteral("--test ID is required; see --help"));
    try {
        DatabaseSession session;
        openProgramDatabase(session, programLocations().dbFile);
        const std::unique_ptr<Recordset> tests = selection.select(session);
        if (protocol && tests->recordCount() == 0) {
            printError(QStringLiteral("there is no test %1").arg(*selection.testId));
            return 1;
        }
        RecordsetModel model(tests.get());
        StatisticsGridModel grid;
        grid.setSourceModel(&model);
        if (protocol) {
            tests->moveFirst();
            selection.newTests = tests->value(columnCaptions().capNeuePruefung).toBool();
        }
        grid.setNewTests(selection.newTests);
        QList<int> order(tests->fieldCount());
        std::iota(order.begin(), order.end(), 0);
        const ExportGrid exportGrid(grid, order, gridVisibility(*tests, selection));
        const ExportCriteria criteria = criteriaOf(selection);
        const QStringList lines =
            protocol ? ProtocolExportLines(criteria, exportGrid, 0,
                                           ProtocolTest::fromRecordset(*tests).refDruck)
                     : ListExportLines(criteria, exportGrid);
        QString failure;
        switch (ExportFile::write(file, ExportFile::bytes(lines, ExportFile::runningCodePage()),
                                  &failure)) {
        case ExportFile::Result::Written:
            printLine(QStringLiteral("written: %1 (%2 test(s))")
                          .arg(file)
                          .arg(protocol ? 1 : tests->recordCount()));
            return 0;
        case ExportFile::Result::Exists:
            printError(file + u' ' + resString(25361) + u' ' + resString(25362));
            return 1;
        case ExportFile::Result::Failed:
            printError(resString(27230).arg(file, failure));
            return 1;
        }
        return 1;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return 1;
    }
}

} // namespace

int runExportListCommand(const QStringList &arguments)
{
    return run(arguments, false, QStringLiteral(
        "Usage: lumetra4 export-list FILE [criteria]\n"
        "Writes the tests that match the criteria as a semicolon-separated list into FILE, in\n"
        "the code page of the running language with CR LF line ends: the criteria, the columns\n"
        "the statistics window shows and one line per test. FILE must not exist yet; it\n"
        "appears only when it is complete.\n"));
}

int runExportProtocolCommand(const QStringList &arguments)
{
    return run(arguments, true, QStringLiteral(
        "Usage: lumetra4 export-protocol --test ID FILE\n"
        "Writes the data of test ID (its number in the database) as a semicolon-separated\n"
        "protocol into FILE: customer, leak rate values, measured values and curve points.\n"
        "FILE must not exist yet; it appears only when it is complete.\n"));
}
