#pragma once

#include "support/TestDatabase.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/Schema.h"
#include "data/Database.h"
#include "data/StringTable.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>

// A database of the current version with new tests and customers, written the way the
// synchronisation stores tests: as rows of Pruefungen with PFG_NeuePruefung true.
namespace NewTestsFixture {

struct TestRow
{
    QVariant kundenNr{};
    QVariant zaehlerNr = QStringLiteral("00000000");
    int pruefart = 0;
    int befund = 0;
    QVariant druckkurve{};
    QVariant flusskurve{};
    int dauer = 120;
    double druck = 25.0;
    double endDruck = 23.4;
    double fluss = 1.5;
    QString gasart = QStringLiteral("Erdgas");
    QDateTime datum = QDateTime(QDate(2024, 5, 6), QTime(9, 30));
    QVariant fliessdruck{};
    QVariant ruhedruck{};
    QVariant savDruck{};
    QVariant nullabschluss{};
    QVariant gmSicherung{};
    QVariant leitungsVol{};
    QVariant messzeit{};
    QVariant refDruck{};
    QVariant leckrate{};
    QString bemerkung{};
    QString pruefer{};
    QString auftraggeber{};
    QString fabNr = QStringLiteral("063 01 00042");
    bool neu = true;
};

// A pressure curve that rises and settles, and a flow curve.
inline const QString pressureCurve = QStringLiteral("260:230:8:230:245:258:260:252:247:244:242:");
inline const QString flowCurve = QStringLiteral("20:5:6:5:12:18:20:16:15:");

class FixtureDb : public TestDatabase
{
public:

    void addTest(const TestRow &t)
    {
        session.dbConnection.execute(
            QStringLiteral(
                "INSERT INTO Pruefungen (PFG_KundenNr, PFG_ZaehlerNr, PFG_Pruefart, PFG_Befund, "
                "PFG_Druckkurve, PFG_Flusskurve, PFG_Dauer, PFG_Druck, PFG_EndDruck, PFG_Fluss, "
                "PFG_Gasart, PFG_Datum, PFG_Fliessdruck, PFG_Ruhedruck, PFG_SAVDruck, "
                "PFG_Befund_Nullabschluss, PFG_Befund_GMSicherung, PFG_LeitungsVol, "
                "PFG_Messzeit, PFG_RefDruck, PFG_Leckrate, PFG_Bemerkung, PFG_Pruefer, "
                "PFG_Auftraggeber, PFG_FabNr, PFG_NeuePruefung) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {t.kundenNr, t.zaehlerNr, t.pruefart, t.befund, t.druckkurve, t.flusskurve, t.dauer,
             t.druck, t.endDruck, t.fluss, t.gasart, t.datum, t.fliessdruck, t.ruhedruck,
             t.savDruck, t.nullabschluss, t.gmSicherung, t.leitungsVol, t.messzeit, t.refDruck,
             t.leckrate, t.bemerkung, t.pruefer, t.auftraggeber, t.fabNr, t.neu});
    }

    // Kunden-Nr, Name1, Name2, Straße, PLZ, Ort, Telefon, Fax, Zähler-Nr, Zähler-Nr alt; a
    // missing text is stored as NULL.
    void addCustomer(const QStringList &columns)
    {
        QVariantList values;
        for (int i = 0; i < 10; ++i)
            values << (i < columns.size() ? QVariant(columns.at(i)) : QVariant());
        session.dbConnection.execute(
            QStringLiteral("INSERT INTO Kunden (ADS_KundenNr, ADS_Name1, ADS_Name2, ADS_Strasse, "
                           "ADS_PLZ, ADS_Ort, ADS_Telefon, ADS_Fax, ADS_ZaehlerNr, "
                           "ADS_ZaehlerNrAlt) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            values);
    }

    void addNames(const QStringList &inspectors, const QStringList &clients)
    {
        for (const QString &name : inspectors)
            session.dbConnection.execute(QStringLiteral("INSERT INTO Pruefer (PFU_Name) VALUES (?)"),
                                         {name});
        for (const QString &name : clients)
            session.dbConnection.execute(
                QStringLiteral("INSERT INTO Auftraggeber (Auftraggeber) VALUES (?)"), {name});
    }

    // Rereads the shared recordsets after rows were written behind their back.
    void reload() { session.RequeryRecordsets(); }

    // One value per test that matches where (plain SQL on the file).
    QVariantList column(const QString &column, const QString &where = QStringLiteral("1"))
    {
        QVariantList values;
        QSqlQuery query = session.dbConnection.select(
            QStringLiteral("SELECT %1 FROM Pruefungen WHERE %2 ORDER BY PFG_ID").arg(column, where));
        while (query.next())
            values << query.value(0);
        return values;
    }

    QVariant scalar(const QString &statement, const QVariantList &parameters = {})
    {
        QSqlQuery query = session.dbConnection.select(statement, parameters);
        return query.next() ? query.value(0) : QVariant();
    }

};

} // namespace NewTestsFixture
