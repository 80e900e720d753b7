#include "TestStore.h"

#include "data/Database.h"
#include "data/ErrorReport.h"
#include "data/SqlDialect.h"

#include <QSet>
#include <QSqlQuery>

namespace {

const QString insertStatement = QStringLiteral(
    "INSERT INTO Pruefungen (PFG_KundenNr, PFG_Pruefart, PFG_Druck, PFG_EndDruck, PFG_Fluss, "
    "PFG_Gasart, PFG_Befund, PFG_Datum, PFG_Pruefer, PFG_Druckkurve, PFG_Flusskurve, "
    "PFG_Auftraggeber, PFG_FabNr, PFG_Dauer, PFG_Bemerkung, PFG_NeuePruefung, PFG_Fliessdruck, "
    "PFG_Ruhedruck, PFG_SAVDruck, PFG_Befund_Nullabschluss, PFG_Befund_GMSicherung, "
    "PFG_ZaehlerNr, PFG_LeitungsVol, PFG_Messzeit, PFG_RefDruck, PFG_Leckrate) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");

QString storedDate(const QString &text)
{
    if (text.size() == 19 && text.at(10) == u' ')
        return text; // the usual form; older files may hold others
    return SqlDialect::dateTimeToStorage(SqlDialect::dateTimeFromStorage(text));
}

QString key(const QString &date, const QString &fabNumber)
{
    return date + u'\t' + fabNumber;
}

// The tests already stored for the instruments of the list, as date and instrument number.
// One pass over the table instead of one look-up per record.
QSet<QString> storedTests(Database &database, const QList<TestRecord> &records)
{
    QSet<QString> fabNumbers;
    for (const TestRecord &record : records)
        fabNumbers.insert(record.instrumentNumber);
    QSet<QString> keys;
    if (fabNumbers.isEmpty())
        return keys;
    QVariantList parameters;
    for (const QString &fabNumber : fabNumbers)
        parameters << fabNumber;
    const QString placeholders = QStringLiteral("?, ").repeated(parameters.size()).chopped(2);
    QSqlQuery query = database.select(
        QStringLiteral("SELECT PFG_Datum, PFG_FabNr FROM Pruefungen WHERE PFG_FabNr IN (%1)")
            .arg(placeholders),
        parameters);
    while (query.next())
        keys.insert(key(storedDate(query.value(0).toString()), query.value(1).toString()));
    return keys;
}

QVariantList rowOf(const TestRecord &test)
{
    const QString meterNumber = test.meterNumber.trimmed();
    return {test.customerNumber.trimmed(),
            test.testKind,
            double(test.startPressure),
            double(test.endPressure),
            double(test.flow),
            test.gasType,
            test.finding,
            test.date,
            test.inspector,
            test.pressureCurve,
            test.flowCurve,
            test.client,
            test.instrumentNumber,
            test.duration,
            test.remark,
            true,
            double(test.flowPressure),
            double(test.staticPressure),
            double(test.safetyValvePressure),
            test.zeroShutOffFinding,
            test.lowFlowSafetyFinding,
            meterNumber.isEmpty() ? QStringLiteral("00000000") : meterNumber,
            test.pipeVolume,
            test.measuringTime,
            test.referencePressure,
            test.leakRate};
}

} // namespace

bool StoreTests(Database &database, const QList<TestRecord> &records, StoreCounts *counts,
                const std::function<void()> &afterEach)
{
    StoreCounts done;
    try {
        Transaction transaction(database);
        QSet<QString> stored = storedTests(database, records);
        for (const TestRecord &test : records) {
            const QString testKey = key(SqlDialect::dateTimeToStorage(test.date),
                                        test.instrumentNumber);
            if (stored.contains(testKey)) {
                ++done.skipped;
            } else {
                database.execute(insertStatement, rowOf(test));
                stored.insert(testKey);
                ++done.stored;
            }
            if (afterEach)
                afterEach();
        }
        transaction.commit();
    } catch (const RuntimeErrorException &error) {
        ErrorReport::ShowError(error.error()); // the transaction has rolled back
        return false;
    }
    if (counts)
        *counts = done;
    return true;
}
