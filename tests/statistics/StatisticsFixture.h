#pragma once

#include "support/TestDatabase.h"

#include "data/ColumnCaptions.h"
#include "data/Database.h"
#include "data/DatabaseSession.h"
#include "data/Schema.h"
#include "data/StringTable.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>

// A database of the current version holding filed and new tests and their customers, written
// with bound statements as the synchronisation and the filing leave them.
namespace StatisticsFixture {

struct TestRow
{
    QString bemerkung;             // names the test in assertions
    QVariant kundenNr{};
    int pruefart = 0;
    int befund = 0;
    QDateTime datum = QDateTime(QDate(2008, 3, 1), QTime(9, 30));
    double fluss = 1.5;
    QString pruefer = QStringLiteral("Meier");
    QString auftraggeber = QStringLiteral("Stadtwerke");
    QString fabNr = QStringLiteral("063 01 00042");
    bool neu = false;
    QVariant druckkurve{};
    QVariant flusskurve{};
    QVariant ruhedruck{};
};

inline const QString pressureCurve = QStringLiteral("260:230:8:230:245:258:260:252:247:244:242:");
inline const QString flowCurve = QStringLiteral("20:5:6:5:12:18:20:16:15:");

class FixtureDb : public TestDatabase
{
public:

    void addTest(const TestRow &t)
    {
        session.dbConnection.execute(
            QStringLiteral(
                "INSERT INTO Pruefungen (PFG_Bemerkung, PFG_KundenNr, PFG_Pruefart, PFG_Befund, "
                "PFG_Datum, PFG_Fluss, PFG_Druck, PFG_EndDruck, PFG_Dauer, PFG_Gasart, "
                "PFG_Pruefer, PFG_Auftraggeber, PFG_FabNr, PFG_NeuePruefung, PFG_Druckkurve, "
                "PFG_Flusskurve, PFG_Ruhedruck) "
                "VALUES (?, ?, ?, ?, ?, ?, 25.0, 23.4, 120, 'Erdgas', ?, ?, ?, ?, ?, ?, ?)"),
            {t.bemerkung, t.kundenNr, t.pruefart, t.befund, t.datum, t.fluss, t.pruefer,
             t.auftraggeber, t.fabNr, t.neu, t.druckkurve, t.flusskurve, t.ruhedruck});
    }

    void addCustomer(const QString &kundenNr, const QString &name1, const QString &ort)
    {
        session.dbConnection.execute(
            QStringLiteral("INSERT INTO Kunden (ADS_KundenNr, ADS_Name1, ADS_Strasse, ADS_PLZ, "
                           "ADS_Ort) VALUES (?, ?, 'Hauptstraße 1', '80331', ?)"),
            {kundenNr, name1, ort});
    }

    // The remarks of the stored tests, in the order they were written.
    QStringList remarks()
    {
        QStringList texts;
        QSqlQuery query = session.dbConnection.select(
            QStringLiteral("SELECT PFG_Bemerkung FROM Pruefungen ORDER BY PFG_ID"));
        while (query.next())
            texts << query.value(0).toString();
        return texts;
    }

};

} // namespace StatisticsFixture
