#include "newtests/FileTestUnderCustomer.h"

#include "data/ColumnCaptions.h"
#include "data/Database.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"
#include "data/StringTable.h"
#include "newtests/FilingCase.h"

namespace {

const QString missingMeter = QStringLiteral("00000000");

QString measuredMeterNumber(const Recordset &test, FilingVariant variant)
{
    const QVariant value = test.value(columnCaptions().capZaehlerNr);
    if (value.isNull() && variant == FilingVariant::FilingWindow)
        return missingMeter;
    return value.toString().trimmed();
}

QString customerMeterNumber(const Recordset &customer, FilingVariant variant)
{
    const QVariant value = customer.value(columnCaptions().capAdsZaehlerNr);
    const bool fill = variant == FilingVariant::FilingWindow ? value.isNull()
                                                              : value.toString().isEmpty();
    return fill ? missingMeter : value.toString();
}

// The measured meter number counts when it is a number above 0; one that is no number at all
// cannot be compared and refuses the filing.
bool meterNumberCounts(const QString &measured)
{
    if (measured.isEmpty())
        return false;
    qint64 number = 0;
    if (!readWholeNumber(measured, &number)) {
        throw RuntimeErrorException(13, QStringLiteral("FileTestUnderCustomer"),
                                    resString(27185).arg(measured));
    }
    return number > 0;
}

} // namespace

QString MeterNumberQuestion(const Recordset &test, const Recordset &customer,
                            FilingVariant variant)
{
    const QString measured = measuredMeterNumber(test, variant);
    const QString current = customerMeterNumber(customer, variant);
    if (!meterNumberCounts(measured) || measured == current)
        return {};
    return resString(26926) + QStringLiteral("\n\n") + resString(26927) + current + u'\n'
           + resString(26928) + measured;
}

bool FileTestUnderCustomer(Database &connection, Recordset &test, Recordset &customer,
                           FilingVariant variant, const AskYesNo &ask)
{
    const ColumnCaptions &c = columnCaptions();
    try {
        const QString question = MeterNumberQuestion(test, customer, variant);
        const bool replace = !question.isEmpty() && ask(question);
        const QString measured = measuredMeterNumber(test, variant);
        const QString current = customerMeterNumber(customer, variant);

        Transaction transaction(connection);
        if (replace) {
            customer.setValue(c.capAdsZaehlerNrAlt, current);
            customer.setValue(c.capAdsZaehlerNr, measured);
        } else if (customer.value(c.capAdsZaehlerNr).toString() != current) {
            customer.setValue(c.capAdsZaehlerNr, current);
        }
        test.setValue(c.capKundenNr, customer.value(c.capAdsKundenNr));
        test.setValue(c.capNeuePruefung, false);
        test.update();
        customer.update();
        transaction.commit();
        return true;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
    try {
        test.cancelUpdate();
        customer.cancelUpdate();
    } catch (const RuntimeErrorException &) {
        // Nothing was being edited.
    }
    return false;
}
