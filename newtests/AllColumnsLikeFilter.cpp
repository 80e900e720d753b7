#include "newtests/AllColumnsLikeFilter.h"

#include "data/Recordset.h"
#include "data/RecordsetFilter.h"

namespace {

QString withoutTrailingStar(QString key)
{
    if (key.endsWith(u'*'))
        key.chop(1);
    return key;
}

} // namespace

QString AllColumnsLikeFilter(const Recordset &recordset, QString key)
{
    const QString pattern = RecordsetFilter::quoted(u'*' + withoutTrailingStar(key) + u'*');
    QString filter;
    for (int i = 0; i < recordset.fieldCount(); ++i) {
        if (i > 0)
            filter += QStringLiteral(" OR ");
        filter += u'[' + recordset.fieldName(i) + QStringLiteral("] LIKE ") + pattern;
    }
    return filter;
}

QList<int> RowsContainingLiterally(Recordset &recordset, QString key)
{
    key = withoutTrailingStar(key);
    QList<int> rows;
    for (int row = 0; row < recordset.recordCount(); ++row) {
        for (int field = 0; field < recordset.fieldCount(); ++field) {
            if (recordset.valueAt(row, field).toString().contains(key, Qt::CaseInsensitive)) {
                recordset.move(row);
                rows << recordset.bookmark();
                break;
            }
        }
    }
    return rows;
}
