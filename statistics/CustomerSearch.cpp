#include "statistics/CustomerSearch.h"

#include "data/Recordset.h"
#include "data/RecordsetFilter.h"

QString CustomerSearchFilter(const Recordset &customers, QString text)
{
    if (text.endsWith(u'*'))
        text.chop(1);
    if (text.isEmpty())
        return {};
    const QString pattern = RecordsetFilter::quoted(u'*' + text + u'*');
    QString filter;
    for (int field = 0; field < customers.fieldCount(); ++field) {
        if (field > 0)
            filter += QStringLiteral(" OR ");
        filter += u'[' + customers.fieldName(field) + QStringLiteral("] LIKE ") + pattern;
    }
    return filter;
}
