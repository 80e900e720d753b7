#include "cli/TestSelection.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/Recordset.h"
#include "data/SelectLists.h"

QString TestSelection::criteriaHelp()
{
    return QStringLiteral(
        "Criteria (all optional; without --new the filed tests):\n"
        "  --new | --filed       the new tests, or the filed ones\n"
        "  --kind N              test kind 0-3\n"
        "  --customer NR         customer number (* and ? match any text)\n"
        "  --inspector NAME      the inspector's name\n"
        "  --client NAME         the client's name\n"
        "  --instrument FAB      the instrument (\"063 01 00042\")\n"
        "  --finding CODE        finding 0 OK, 1 bOK, 2 nOK, 3 aborted\n"
        "  --from DATE           tests on or after DATE (YYYY-MM-DD)\n"
        "  --to DATE             tests on or before DATE (YYYY-MM-DD)\n"
        "  --flow-min X          flow at least X l/h\n"
        "  --flow-max X          flow at most X l/h\n");
}

bool TestSelection::take(const QStringList &arguments, int &i, QString *error)
{
    const QString &option = arguments.at(i);
    if (option == QLatin1String("--new") || option == QLatin1String("--filed")) {
        newTests = option == QLatin1String("--new");
        return true;
    }
    static const QStringList valued{"--kind", "--customer", "--inspector", "--client",
                                    "--instrument", "--finding", "--from", "--to",
                                    "--flow-min", "--flow-max"};
    if (!valued.contains(option))
        return false;
    if (i + 1 >= arguments.size()) {
        *error = QStringLiteral("%1 needs a value").arg(option);
        return true;
    }
    const QString value = arguments.at(++i);
    bool ok = true;
    if (option == QLatin1String("--kind") || option == QLatin1String("--finding")) {
        const int code = value.toInt(&ok);
        ok = ok && code >= 0 && code <= 3;
        (option == QLatin1String("--kind") ? kind : finding) = code;
    } else if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
        const QDate date = QDate::fromString(value, Qt::ISODate);
        ok = date.isValid();
        (option == QLatin1String("--from") ? from : to) = date;
    } else if (option.startsWith(QLatin1String("--flow"))) {
        ok = !QueryCriteria::flowValue(value).isEmpty();
        (option == QLatin1String("--flow-min") ? flowMin : flowMax) = value;
    } else {
        (option == QLatin1String("--customer")     ? customer
         : option == QLatin1String("--inspector")  ? inspector
         : option == QLatin1String("--client")     ? client
                                                   : instrument) = value;
    }
    if (!ok)
        *error = QStringLiteral("%1: bad value '%2'").arg(option, value);
    return true;
}

QueryCriteria TestSelection::criteria() const
{
    QueryCriteria criteria;
    criteria.newTests = newTests;
    criteria.pruefart = kind;
    criteria.kundenNr = customer;
    criteria.befund = finding;
    criteria.from = from;
    criteria.to = to;
    criteria.flowMin = flowMin;
    criteria.flowMax = flowMax;
    criteria.pruefer = inspector;
    criteria.auftraggeber = client;
    criteria.fabNr = instrument;
    return criteria;
}

std::unique_ptr<Recordset> TestSelection::select(DatabaseSession &session) const
{
    if (testId) {
        QString select = SqlPruefungenKunden();
        // The number went through toInt(), so it is a plain integer in the statement.
        select.replace(QStringLiteral(" ORDER BY "),
                       QStringLiteral(" WHERE Pruefungen.PFG_ID = %1 ORDER BY ").arg(*testId));
        return std::make_unique<Recordset>(session.dbConnection, select, LockType::ReadOnly);
    }
    std::unique_ptr<Recordset> tests = session.rsPruefungenKunden->clone();
    tests->setFilter(criteria().filterText());
    return tests;
}
