#include "statistics/QueryCriteria.h"

#include "data/ColumnCaptions.h"
#include "data/Localisation.h"
#include "data/RecordsetFilter.h"

#include <cmath>

namespace {

QString column(const QString &caption)
{
    return QStringLiteral(" AND [") + caption + u']';
}

// A value chosen from a list matches as it is: LIKE would read * and ? in it as wildcards.
QString literalTerm(const QString &caption, const QString &value)
{
    const bool hasWildcard = value.contains(u'*') || value.contains(u'?')
                             || value.contains(u'%');
    return column(caption) + (hasWildcard ? QStringLiteral(" = ") : QStringLiteral(" LIKE "))
           + RecordsetFilter::quoted(value);
}

QString dateText(const QDate &date, const QLocale &locale)
{
    return u'#' + locale.toString(date, fixedShortDateFormat(locale)) + u'#';
}

} // namespace

QString QueryCriteria::filterText(const QLocale &locale) const
{
    const ColumnCaptions &c = columnCaptions();
    QString f = u'[' + c.capNeuePruefung
                + (newTests ? QStringLiteral("] =  TRUE") : QStringLiteral("] = FALSE"));
    if (pruefart)
        f += column(c.capPruefart) + QStringLiteral(" = ") + QString::number(*pruefart);
    if (!kundenNr.trimmed().isEmpty())
        f += column(c.capKundenNr) + QStringLiteral(" LIKE ")
             + RecordsetFilter::quoted(kundenNr.trimmed());
    if (befund)
        f += column(c.capBefund) + QStringLiteral(" LIKE '") + QString::number(*befund) + u'\'';
    if (from.isValid())
        f += column(c.capDatum) + QStringLiteral(" >= ") + dateText(from, locale);
    if (to.isValid())
        f += column(c.capDatum) + QStringLiteral(" <= ") + dateText(to.addDays(1), locale);
    const QString min = flowValue(flowMin, locale);
    if (!min.isEmpty())
        f += column(c.capFluss) + QStringLiteral(" >= ") + min;
    const QString max = flowValue(flowMax, locale);
    if (!max.isEmpty())
        f += column(c.capFluss) + QStringLiteral(" <= ") + max;
    if (!pruefer.isEmpty())
        f += literalTerm(c.capPruefer, pruefer);
    if (!auftraggeber.isEmpty())
        f += literalTerm(c.capAuftraggeber, auftraggeber);
    if (!fabNr.isEmpty())
        f += literalTerm(c.capFabNr, fabNr);
    return f;
}

int QueryCriteria::problem(const QLocale &locale) const
{
    if (from.isValid() && to.isValid() && to < from)
        return 25180;
    for (const QString *flow : {&flowMin, &flowMax}) {
        if (!flow->trimmed().isEmpty() && flowValue(*flow, locale).isEmpty())
            return 25181;
    }
    return 0;
}

QString QueryCriteria::flowValue(const QString &text, const QLocale &locale)
{
    QString value = text.trimmed();
    value.replace(DecimalSeparator(locale), QStringLiteral("."));
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok && std::isfinite(number) ? value : QString();
}
