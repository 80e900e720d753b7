#include "newtests/TestEditing.h"

#include "data/ColumnCaptions.h"
#include "data/Database.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"

namespace {

void writeBack(Recordset &tests)
{
    if (tests.lockType() == LockType::BatchOptimistic)
        tests.updateBatch();
}

} // namespace

bool SaveTestEdits(Database &connection, Recordset &tests, const QString &pruefer,
                   const QString &auftraggeber, const QString &bemerkung)
{
    const ColumnCaptions &c = columnCaptions();
    try {
        Transaction transaction(connection);
        tests.setValue(c.capPruefer, pruefer.trimmed());
        tests.setValue(c.capAuftraggeber, auftraggeber.trimmed());
        tests.setValue(c.capBemerkung, bemerkung.trimmed());
        tests.update();
        writeBack(tests);
        transaction.commit();
        return true;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
    try {
        tests.cancelUpdate();
    } catch (const RuntimeErrorException &) {
        // Nothing was being edited.
    }
    return false;
}

bool DeleteTest(Database &connection, Recordset &tests)
{
    try {
        Transaction transaction(connection);
        tests.deleteCurrent();
        writeBack(tests);
        transaction.commit();
        return true;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return false;
    }
}
