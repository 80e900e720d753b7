#include "newtests/NewCustomerFiling.h"

#include "data/ColumnCaptions.h"
#include "data/Database.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"

QString WithoutLeadingZeros(const QString &typed)
{
    QString number = typed.trimmed();
    while (number.size() > 1 && number.startsWith(u'0'))
        number.remove(0, 1);
    return number;
}

bool CreateCustomerAndFile(Database &connection, Recordset &customers, Recordset &tests,
                           const QStringList &columnTexts)
{
    const ColumnCaptions &c = columnCaptions();
    try {
        Transaction transaction(connection);
        customers.addNew();
        for (int i = 0; i < customers.fieldCount() && i < columnTexts.size(); ++i)
            customers.setValue(i, columnTexts.at(i).trimmed());
        customers.update();
        tests.setValue(c.capKundenNr, columnTexts.value(0).trimmed());
        tests.setValue(c.capNeuePruefung, false);
        tests.update();
        transaction.commit();
        return true;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
    try {
        customers.cancelUpdate();
        tests.cancelUpdate();
    } catch (const RuntimeErrorException &) {
        // Nothing was being edited.
    }
    return false;
}
