#include "data/SelectLists.h"

#include "data/ColumnCaptions.h"

#include <initializer_list>

namespace {

struct Item
{
    const char *column;
    const QString &caption;
    const char *separator = ", ";
};

QString selectList(std::initializer_list<Item> items, const QString &tail)
{
    QString text = QStringLiteral("SELECT ");
    const Item *last = items.end() - 1;
    for (const Item &item : items) {
        text += QLatin1String(item.column) + QStringLiteral(" AS [") + item.caption + u']';
        text += &item == last ? QStringLiteral(" ") : QString::fromLatin1(item.separator);
    }
    return text + tail;
}

QString criteriaList(const char *column, const QString &caption, bool newTests)
{
    const QString c = QLatin1String(column);
    return QStringLiteral("SELECT First (") + c + QStringLiteral(") AS [") + caption
           + QStringLiteral("] From Pruefungen GROUP BY ") + c
           + QStringLiteral(", Pruefungen.PFG_NeuePruefung HAVING (((First(") + c
           + QStringLiteral(")) Is Not Null) AND ((Pruefungen.PFG_NeuePruefung)=")
           + (newTests ? QStringLiteral("True") : QStringLiteral("False"))
           + QStringLiteral(")) ORDER BY ") + c + u';';
}

} // namespace

QString SqlPruefungen()
{
    const ColumnCaptions &c = columnCaptions();
    return selectList({{"Pruefungen.PFG_KundenNr", c.capKundenNr},
                       {"Pruefungen.PFG_Pruefart", c.capPruefart},
                       {"Pruefungen.PFG_Druck", c.capDruck},
                       {"Pruefungen.PFG_EndDruck", c.capEndDruck},
                       {"Pruefungen.PFG_Fluss", c.capFluss},
                       {"Pruefungen.PFG_Gasart", c.capGasart},
                       {"Pruefungen.PFG_Befund", c.capBefund},
                       {"Pruefungen.PFG_Datum", c.capDatum},
                       {"Pruefungen.PFG_Pruefer", c.capPruefer},
                       {"Pruefungen.PFG_Druckkurve", c.capDruckkurve},
                       {"Pruefungen.PFG_Flusskurve", c.capFlusskurve},
                       {"Pruefungen.PFG_Auftraggeber", c.capAuftraggeber},
                       {"Pruefungen.PFG_FabNr", c.capFabNr},
                       {"Pruefungen.PFG_Dauer", c.capDauer},
                       {"Pruefungen.PFG_Bemerkung", c.capBemerkung},
                       {"Pruefungen.PFG_NeuePruefung", c.capNeuePruefung},
                       {"Pruefungen.PFG_Fliessdruck", c.capFliessdruck},
                       {"Pruefungen.PFG_Ruhedruck", c.capRuhedruck},
                       {"Pruefungen.PFG_SAVDruck", c.capSAVDruck},
                       {"Pruefungen.PFG_Befund_Nullabschluss", c.capBefundNullabschluss},
                       {"Pruefungen.PFG_Befund_GMSicherung", c.capBefundGMSicherung},
                       {"Pruefungen.PFG_ZaehlerNr", c.capZaehlerNr},
                       {"Pruefungen.PFG_LeitungsVol", c.capLeitungsVol},
                       {"Pruefungen.PFG_Messzeit", c.capMesszeit},
                       {"Pruefungen.PFG_RefDruck", c.capRefDruck},
                       {"Pruefungen.PFG_Leckrate", c.capLeckrate}},
                      QStringLiteral("FROM Pruefungen"));
}

QString SqlPruefungenKunden()
{
    const ColumnCaptions &c = columnCaptions();
    return selectList({{"Pruefungen.PFG_KundenNr", c.capKundenNr},
                       {"Kunden.ADS_Name1", c.capName1},
                       {"Kunden.ADS_Name2", c.capName2},
                       {"Pruefungen.PFG_Pruefart", c.capPruefart, ","},
                       {"Pruefungen.PFG_Datum", c.capDatum},
                       {"Pruefungen.PFG_Befund", c.capBefund},
                       {"Pruefungen.PFG_Pruefer", c.capPruefer},
                       {"Pruefungen.PFG_Auftraggeber", c.capAuftraggeber},
                       {"Pruefungen.PFG_Druck", c.capDruck},
                       {"Pruefungen.PFG_EndDruck", c.capEndDruck},
                       {"Pruefungen.PFG_Fluss", c.capFluss},
                       {"Pruefungen.PFG_Fliessdruck", c.capFliessdruck},
                       {"Pruefungen.PFG_Ruhedruck", c.capRuhedruck},
                       {"Pruefungen.PFG_SAVDruck", c.capSAVDruck},
                       {"Pruefungen.PFG_Befund_Nullabschluss", c.capBefundNullabschluss},
                       {"Pruefungen.PFG_Befund_GMSicherung", c.capBefundGMSicherung},
                       {"Pruefungen.PFG_Gasart", c.capGasart},
                       {"Pruefungen.PFG_FabNr", c.capFabNr},
                       {"Pruefungen.PFG_Druckkurve", c.capDruckkurve},
                       {"Pruefungen.PFG_Flusskurve", c.capFlusskurve},
                       {"Pruefungen.PFG_Dauer", c.capDauer},
                       {"Pruefungen.PFG_Bemerkung", c.capBemerkung},
                       {"Pruefungen.PFG_NeuePruefung", c.capNeuePruefung},
                       {"Pruefungen.PFG_ZaehlerNr", c.capZaehlerNr},
                       {"Pruefungen.PFG_LeitungsVol", c.capLeitungsVol},
                       {"Pruefungen.PFG_Messzeit", c.capMesszeit},
                       {"Pruefungen.PFG_RefDruck", c.capRefDruck},
                       {"Pruefungen.PFG_Leckrate", c.capLeckrate},
                       {"Kunden.ADS_Strasse", c.capStrasse},
                       {"Kunden.ADS_PLZ", c.capPLZ},
                       {"Kunden.ADS_Ort", c.capOrt},
                       {"Kunden.ADS_ZaehlerNr", c.capAdsZaehlerNr},
                       {"Kunden.ADS_ZaehlerNrAlt", c.capAdsZaehlerNrAlt}},
                      QStringLiteral("FROM Pruefungen LEFT JOIN Kunden ON Pruefungen.PFG_KundenNr"
                                     " = Kunden.ADS_KundenNr ORDER BY Pruefungen.PFG_KundenNr "
                                     "ASC"));
}

QString SqlKunden()
{
    const ColumnCaptions &c = columnCaptions();
    return selectList({{"Kunden.ADS_KundenNr", c.capAdsKundenNr},
                       {"Kunden.ADS_Name1", c.capName1},
                       {"Kunden.ADS_Name2", c.capName2},
                       {"Kunden.ADS_Strasse", c.capStrasse},
                       {"Kunden.ADS_PLZ", c.capPLZ},
                       {"Kunden.ADS_Ort", c.capOrt},
                       {"Kunden.ADS_Telefon", c.capTelefon},
                       {"Kunden.ADS_Fax", c.capFax},
                       {"Kunden.ADS_ZaehlerNr", c.capAdsZaehlerNr},
                       {"Kunden.ADS_ZaehlerNrAlt", c.capAdsZaehlerNrAlt}},
                      QStringLiteral("FROM Kunden"));
}

QString SqlAuftraggeberListe()
{
    return selectList({{"Auftraggeber.Auftraggeber", columnCaptions().capAuftraggeberListe}},
                      QStringLiteral("From Auftraggeber"));
}

QString SqlPrueferListe()
{
    return selectList({{"Pruefer.PFU_Name", columnCaptions().capPrueferName}},
                      QStringLiteral("From Pruefer"));
}

QString SqlPruefarten()
{
    const ColumnCaptions &c = columnCaptions();
    return selectList({{"Pruefarten.PRF_Pruefart", c.capPruefartNr},
                       {"Pruefarten.PRF_Pruefbezeichnung", c.capPruefbezeichnung}},
                      QStringLiteral("FROM Pruefarten ORDER BY PRF_Pruefart"));
}

QString SqlDatenbankVersion()
{
    return QStringLiteral("SELECT DatenbankINI.Datenbankversion FROM DatenbankINI");
}

QString SqlPrueferAlt()
{
    return criteriaList("Pruefungen.PFG_Pruefer", columnCaptions().capPruefer, false);
}

QString SqlPrueferNeu()
{
    return criteriaList("Pruefungen.PFG_Pruefer", columnCaptions().capPruefer, true);
}

QString SqlAuftraggeberAlt()
{
    return criteriaList("Pruefungen.PFG_Auftraggeber", columnCaptions().capAuftraggeber, false);
}

QString SqlAuftraggeberNeu()
{
    return criteriaList("Pruefungen.PFG_Auftraggeber", columnCaptions().capAuftraggeber, true);
}

QString SqlFabNrAlt()
{
    return criteriaList("Pruefungen.PFG_FabNr", columnCaptions().capFabNr, false);
}

QString SqlFabNrNeu()
{
    return criteriaList("Pruefungen.PFG_FabNr", columnCaptions().capFabNr, true);
}

QString SqlDeleteKundenOhnePruefung()
{
    return QStringLiteral("DELETE Kunden.* FROM Kunden LEFT JOIN Pruefungen ON "
                          "Kunden.ADS_KundenNr = Pruefungen.PFG_KundenNr WHERE "
                          "(((Pruefungen.PFG_KundenNr) Is Null))");
}

QString SqlDropAuftraggeber()
{
    return QStringLiteral("DROP TABLE Auftraggeber");
}

QString SqlDropPruefer()
{
    return QStringLiteral("DROP TABLE Pruefer");
}

QString SqlDeletePruefungen()
{
    return QStringLiteral("DELETE * FROM Pruefungen");
}
