#include "cli/TestSelection.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/Recordset.h"
#include "data/SelectLists.h"

QString TestSelection::criteriaHelp()
{
    return QStringLiteral(
        "Criteria (all optional; without --new the filed tests):\n"
        "  --new            the new tests instead of the filed ones\n"
        "  --kind N         test kind 0-3\n"
        "  --customer NR    customer number\n"
        "  --from DATE      tests on or after DATE (YYYY-MM-DD)\n"
        "  --to DATE        tests on or before DATE (YYYY-MM-DD)\n");
}

bool TestSelection::take(const QStringList &arguments, int &i, QString *error)
{
    const QString &option = arguments.at(i);
    if (option == QLatin1String("--new")) {
        newTests = true;
        return true;
    }
    if (option != QLatin1String("--kind") && option != QLatin1String("--customer")
        && option != QLatin1String("--from") && option != QLatin1String("--to"))
        return false;
    if (i + 1 >= arguments.size()) {
        *error = QStringLiteral("%1 needs a value").arg(option);
        return true;
    }
    const QString value = arguments.at(++i);
    bool ok = true;
    if (option == QLatin1String("--kind")) {
        kind = value.toInt(&ok);
        ok = ok && *kind >= 0 && *kind <= 3;
    } else if (option == QLatin1String("--customer")) {
        customer = value;
    } else {
        const QDate date = QDate::fromString(value, Qt::ISODate);
        ok = date.isValid();
        (option == QLatin1String("--from") ? from : to) = date;
    }
    if (!ok)
        *error = QStringLiteral("%1: bad value '%2'").arg(option, value);
    return true;
}

bool TestSelection::matches(const Recordset &tests) const
{
    const ColumnCaptions &c = columnCaptions();
    if (tests.value(c.capNeuePruefung).toBool() != newTests)
        return false;
    if (kind && tests.value(c.capPruefart).toInt() != *kind)
        return false;
    if (!customer.isEmpty()
        && tests.value(c.capKundenNr).toString().trimmed() != customer.trimmed())
        return false;
    const QDate date = tests.value(c.capDatum).toDateTime().date();
    if (from.isValid() && (!date.isValid() || date < from))
        return false;
    return !to.isValid() || (date.isValid() && date <= to);
}

std::unique_ptr<Recordset> TestSelection::select(DatabaseSession &session) const
{
    std::unique_ptr<Recordset> source;
    if (testId) {
        QString select = SqlPruefungenKunden();
        // The number went through toInt(), so it is a plain integer in the statement.
        select.replace(QStringLiteral(" ORDER BY "),
                       QStringLiteral(" WHERE Pruefungen.PFG_ID = %1 ORDER BY ").arg(*testId));
        source = std::make_unique<Recordset>(session.dbConnection, select, LockType::ReadOnly);
    } else {
        source = session.rsPruefungenKunden->clone();
    }
    QList<RecordsetField> fields;
    for (int i = 0; i < source->fieldCount(); ++i)
        fields << RecordsetField::named(source->fieldName(i), source->field(i).type);
    QList<QVariantList> rows;
    for (source->moveFirst(); !source->eof(); source->moveNext()) {
        if (!testId && !matches(*source))
            continue;
        QVariantList row;
        row.reserve(source->fieldCount());
        for (int i = 0; i < source->fieldCount(); ++i)
            row << source->value(i);
        rows << row;
    }
    return std::make_unique<Recordset>(fields, rows);
}
