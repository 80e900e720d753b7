#include "newtests/FilingCase.h"

#include <limits>

bool readWholeNumber(const QString &text, qint64 *value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    for (QChar c : trimmed) {
        if (c < u'0' || c > u'9')
            return false;
    }
    bool ok = false;
    *value = trimmed.toLongLong(&ok);
    if (!ok) // more digits than a number holds: still a number, and above 0 unless all zeros
        *value = trimmed.count(u'0') == trimmed.size() ? 0 : std::numeric_limits<qint64>::max();
    return true;
}

std::optional<int> FilingCase(const QString &kundenNr, const QString &zaehlerNr)
{
    qint64 meter = 0;
    if (!zaehlerNr.trimmed().isEmpty() && !readWholeNumber(zaehlerNr, &meter))
        return std::nullopt;
    // Exactly an upper-case M: a lower-case m is no measurement number.
    if (kundenNr.startsWith(u'M'))
        return meter == 0 ? 0 : 1;
    qint64 customer = 0;
    if (!readWholeNumber(kundenNr, &customer) || customer < 1)
        return std::nullopt;
    return meter == 0 ? 2 : 3;
}

QString FilingKey(int filingCase, const QString &kundenNr, const QString &zaehlerNr)
{
    return filingCase == 1 ? zaehlerNr.trimmed() : kundenNr;
}
