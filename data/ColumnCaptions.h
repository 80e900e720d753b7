#pragma once

#include <QString>

// The localised column captions: the aliases of the select lists and the names by which the
// program addresses the fields of the shared recordsets. Set once per run by LoadColumnCaptions.
struct ColumnCaptions
{
    QString capName1; // 10, Kunden.ADS_Name1
    QString capName2; // 15, Kunden.ADS_Name2
    QString capStrasse; // 20, Kunden.ADS_Strasse
    QString capPLZ; // 25, Kunden.ADS_PLZ
    QString capOrt; // 30, Kunden.ADS_Ort
    QString capTelefon; // 35, Kunden.ADS_Telefon
    QString capFax; // 40, Kunden.ADS_Fax
    QString capAdsKundenNr; // 45, Kunden.ADS_KundenNr
    QString capAdsZaehlerNr; // 50, Kunden.ADS_ZaehlerNr
    QString capAdsZaehlerNrAlt; // 51, Kunden.ADS_ZaehlerNrAlt
    QString capAuftraggeberListe; // 120, Auftraggeber.Auftraggeber
    QString capPruefartNr; // 55, Pruefarten.PRF_Pruefart
    QString capPruefbezeichnung; // 60, Pruefarten.PRF_Pruefbezeichnung
    QString capPrueferName; // 85, Pruefer.PFU_Name
    QString capKundenNr; // 45, Pruefungen.PFG_KundenNr
    QString capMessNrKundenNr; // 164
    QString capPruefart; // 60, Pruefungen.PFG_Pruefart
    QString capDruck; // 65, Pruefungen.PFG_Druck
    QString capEndDruck; // 161, Pruefungen.PFG_EndDruck
    QString capFluss; // 70, Pruefungen.PFG_Fluss
    QString capDatum; // 100, Pruefungen.PFG_Datum
    QString capPruefer; // 105, Pruefungen.PFG_Pruefer
    QString capDruckkurve; // 110, Pruefungen.PFG_Druckkurve
    QString capFlusskurve; // 115, Pruefungen.PFG_Flusskurve
    QString capAuftraggeber; // 120, Pruefungen.PFG_Auftraggeber
    QString capFabNr; // 125, Pruefungen.PFG_FabNr
    QString capDauer; // 75, Pruefungen.PFG_Dauer
    QString capBemerkung; // 130, Pruefungen.PFG_Bemerkung
    QString capBefund; // 162, Pruefungen.PFG_Befund
    QString capGasart; // 163, Pruefungen.PFG_Gasart
    QString capNeuePruefung; // 165, Pruefungen.PFG_NeuePruefung
    QString capFliessdruck; // 166, Pruefungen.PFG_Fliessdruck
    QString capRuhedruck; // 167, Pruefungen.PFG_Ruhedruck
    QString capSAVDruck; // 168, Pruefungen.PFG_SAVDruck
    QString capBefundNullabschluss; // 169, Pruefungen.PFG_Befund_Nullabschluss
    QString capBefundGMSicherung; // 170, Pruefungen.PFG_Befund_GMSicherung
    QString capZaehlerNr; // 52, Pruefungen.PFG_ZaehlerNr
    QString capLeitungsVol; // 27157, Pruefungen.PFG_LeitungsVol
    QString capMesszeit; // 27158, Pruefungen.PFG_Messzeit
    QString capRefDruck; // 27161, Pruefungen.PFG_RefDruck
    QString capLeckrate; // 27160, Pruefungen.PFG_Leckrate
};

// Loads the 41 captions from the string table of the running language; called at start-up
// before anything touches the database (and by tests after switching the language).
void LoadColumnCaptions();

// The captions of this run.
const ColumnCaptions &columnCaptions();
