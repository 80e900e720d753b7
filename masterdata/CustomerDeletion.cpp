#include "masterdata/CustomerDeletion.h"

#include "data/ColumnCaptions.h"
#include "data/Database.h"
#include "data/Progress.h"
#include "data/Recordset.h"
#include "data/RecordsetFilter.h"
#include "data/RuntimeError.h"

namespace {

void writeBack(Recordset &recordset)
{
    if (recordset.lockType() == LockType::BatchOptimistic)
        recordset.updateBatch();
}

// Rows removed in memory while the database rolled back must show again.
void rereadAfterRollback(Recordset &customers, Recordset &tests)
{
    for (Recordset *list : {&customers, &tests}) {
        try {
            list->requery();
        } catch (const RuntimeErrorException &) {
            // The original failure is the one worth reporting.
        }
    }
}

} // namespace

QString FiledTestsFilter(const QString &kundenNr)
{
    const ColumnCaptions &c = columnCaptions();
    return u'[' + c.capKundenNr + QStringLiteral("] = ") + RecordsetFilter::quoted(kundenNr)
           + QStringLiteral(" AND [") + c.capNeuePruefung + QStringLiteral("] = False");
}

int CountFiledTests(Recordset &tests, const QString &kundenNr)
{
    const std::unique_ptr<Recordset> filed = tests.clone();
    filed->setFilter(FiledTestsFilter(kundenNr));
    return filed->recordCount();
}

void DeleteCustomerWithFiledTests(Recordset &customers, Recordset &tests)
{
    const QString kundenNr = customers.value(columnCaptions().capAdsKundenNr).toString();
    const std::unique_ptr<Recordset> filed = tests.clone();
    filed->setFilter(FiledTestsFilter(kundenNr));
    while (filed->recordCount() > 0) {
        filed->moveFirst();
        filed->deleteCurrent();
    }
    writeBack(*filed);
    customers.deleteCurrent();
    writeBack(customers);
}

void DeleteCustomers(Database &connection, Recordset &customers, Recordset &tests,
                     const QList<int> &bookmarks, Progress *progress)
{
    try {
        Transaction transaction(connection);
        for (int bookmark : bookmarks) {
            if (progress)
                progress->StepProgress();
            customers.setBookmark(bookmark);
            DeleteCustomerWithFiledTests(customers, tests);
        }
        transaction.commit();
    } catch (const RuntimeErrorException &) {
        rereadAfterRollback(customers, tests);
        throw;
    }
}
