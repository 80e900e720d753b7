#include "masterdata/MasterListSearch.h"

#include "data/DatabaseError.h"
#include "data/Recordset.h"
#include "data/RecordsetFilter.h"
#include "data/StringTable.h"

QString MasterListSearchFilter(const Recordset &list, const QString &key)
{
    QString text = key;
    if (text.endsWith(u'*'))
        text.chop(1);
    for (QChar wildcard : {u'*', u'?', u'%'}) {
        if (text.contains(wildcard))
            throw DatabaseError::make(DatabaseError::InvalidArgument,
                                      QStringLiteral("MasterListSearchFilter"), resString(25794));
    }
    const QString pattern = RecordsetFilter::quoted(u'*' + text + u'*');
    QString filter;
    for (int i = 0; i < list.fieldCount(); ++i) {
        if (i > 0)
            filter += QStringLiteral(" OR ");
        filter += u'[' + list.fieldName(i) + QStringLiteral("] LIKE ") + pattern;
    }
    return filter;
}

bool ApplyMasterListSearch(Recordset &list, const QString &key)
{
    list.setFilter(QString());
    if (key.isEmpty())
        return false;
    if (list.recordCount() > 0)
        list.setFilter(MasterListSearchFilter(list, key));
    return true;
}
