#include "statistics/ListHeader.h"

#include "data/Localisation.h"
#include "data/StringTable.h"

#include <QStringList>

QString MakeHeader(const ListHeaderCriteria &criteria, const QLocale &locale)
{
    const QString format = fixedShortDateFormat(locale);
    const auto date = [&](const QDate &d) { return locale.toString(d, format); };
    const QString flowMin = criteria.flowMin.trimmed();
    const QString flowMax = criteria.flowMax.trimmed();
    const QString unit = QStringLiteral(" L/h");

    QStringList lines;
    if (!criteria.testKind.isEmpty())
        lines << resString(25042) + criteria.testKind;
    if (criteria.startDate.isValid() && criteria.endDate.isValid())
        lines << resString(25043) + date(criteria.startDate) + resString(25044)
                     + date(criteria.endDate.addDays(1));
    else if (criteria.startDate.isValid())
        lines << resString(25046) + date(criteria.startDate);
    else if (criteria.endDate.isValid())
        lines << resString(25047) + date(criteria.endDate.addDays(1));
    if (!criteria.finding.isEmpty())
        lines << resString(25074) + criteria.finding;
    if (!flowMin.isEmpty() && !flowMax.isEmpty())
        lines << resString(25048) + flowMin + QStringLiteral(" L/h <= ") + flowMax + unit;
    else if (!flowMin.isEmpty())
        lines << resString(25048) + flowMin + unit;
    else if (!flowMax.isEmpty())
        lines << resString(25049) + flowMax + unit;
    if (!criteria.customer.isEmpty())
        lines << resString(25052) + criteria.customer;
    if (!criteria.inspector.isEmpty())
        lines << resString(25053) + criteria.inspector;
    if (!criteria.client.isEmpty())
        lines << resString(25054) + criteria.client;
    if (!criteria.fabNr.isEmpty())
        lines << resString(25055) + criteria.fabNr;

    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("&R&D") + crlf + QStringLiteral("&L&B&12") + resString(25056)
           + QLatin1Char('"') + resString(criteria.newTests ? 25057 : 25058) + QLatin1Char('"')
           + QStringLiteral("&\"Letter Gothic\"&10") + crlf + crlf + lines.join(crlf);
}
