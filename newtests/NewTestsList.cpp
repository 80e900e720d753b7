#include "newtests/NewTestsList.h"

#include "data/ColumnCaptions.h"
#include "data/Progress.h"
#include "data/Recordset.h"
#include "data/RecordsetHelpers.h"
#include "data/StringTable.h"

QString NewTestsFilter()
{
    return u'[' + columnCaptions().capNeuePruefung + QStringLiteral("] =  TRUE");
}

std::unique_ptr<Recordset> OpenNewTestsList(Recordset &rsPruefungen)
{
    std::unique_ptr<Recordset> list = rsPruefungen.clone();
    list->setFilter(NewTestsFilter());
    if (list->recordCount() > 0)
        list->moveFirst();
    return list;
}

int DeleteMarkedTests(Recordset &tests, const QList<int> &bookmarks, Progress *progress)
{
    if (progress)
        progress->ShowProgress(true, qint32(bookmarks.size()), resString(25791));
    const int deleted = DeleteSelectedRows(tests, bookmarks, progress);
    if (progress)
        progress->ShowProgress(false);
    return deleted;
}
