#include "data/RecordsetHelpers.h"

#include "data/Progress.h"
#include "data/Recordset.h"
#include "data/RecordsetFilter.h"
#include "data/RuntimeError.h"

namespace {

constexpr int zeroAttempts = 30;

void writeBack(Recordset &recordset)
{
    if (recordset.lockType() == LockType::Optimistic)
        return; // written at once by deleteCurrent()
    recordset.updateBatch();
}

} // namespace

int MatchKundenNr(Recordset &recordset, const QString &customerNumberField, QString &key)
{
    auto clone = recordset.clone();
    if (clone->recordCount() == 0)
        return 0;
    key = key.trimmed();
    int matches = 0;
    for (int attempt = 0; attempt < zeroAttempts; ++attempt) {
        // '=' compares the whole number like LIKE without wildcards, but a '*' or '?' typed in
        // a customer number stays literal.
        clone->setFilter(u'[' + customerNumberField + QStringLiteral("] = ")
                         + RecordsetFilter::quoted(key));
        matches = clone->recordCount();
        if (matches > 0)
            break;
        key.prepend(u'0');
    }
    return matches;
}

void DeleteCurrentRecord(Recordset &recordset)
{
    try {
        recordset.deleteCurrent();
        writeBack(recordset);
    } catch (const RuntimeErrorException &) {
        // The record stays; the list shows it still.
    }
}

int DeleteSelectedRows(Recordset &recordset, const QList<int> &bookmarks, Progress *progress)
{
    int deleted = 0;
    for (int bookmark : bookmarks) {
        if (progress)
            progress->StepProgress();
        try {
            recordset.setBookmark(bookmark);
            recordset.deleteCurrent();
            ++deleted;
        } catch (const RuntimeErrorException &) {
            // One row that cannot go does not stop the others.
        }
    }
    if (recordset.lockType() == LockType::BatchOptimistic) {
        try {
            recordset.updateBatch();
        } catch (const RuntimeErrorException &) {
            recordset.cancelBatch();
            deleted = 0;
        }
    }
    return deleted;
}

void SortByColumn(Recordset &recordset, int column, int &previousColumn, QString &direction)
{
    if (column == previousColumn && !direction.isEmpty() && direction != QLatin1String("DESC"))
        direction = QStringLiteral("DESC");
    else
        direction = QStringLiteral("ASC");
    recordset.setSort(u'[' + recordset.fieldName(column) + QStringLiteral("] ") + direction);
    previousColumn = column;
}
