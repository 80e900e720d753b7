#include "data/ColumnCaptions.h"

#include "data/StringTable.h"

namespace {

ColumnCaptions captions;

} // namespace

void LoadColumnCaptions()
{
    captions.capName1 = resString(10);
    captions.capName2 = resString(15);
    captions.capStrasse = resString(20);
    captions.capPLZ = resString(25);
    captions.capOrt = resString(30);
    captions.capTelefon = resString(35);
    captions.capFax = resString(40);
    captions.capAdsKundenNr = resString(45);
    captions.capAdsZaehlerNr = resString(50);
    captions.capAdsZaehlerNrAlt = resString(51);
    captions.capAuftraggeberListe = resString(120);
    captions.capPruefartNr = resString(55);
    captions.capPruefbezeichnung = resString(60);
    captions.capPrueferName = resString(85);
    captions.capKundenNr = resString(45);
    captions.capMessNrKundenNr = resString(164);
    captions.capPruefart = resString(60);
    captions.capDruck = resString(65);
    captions.capEndDruck = resString(161);
    captions.capFluss = resString(70);
    captions.capDatum = resString(100);
    captions.capPruefer = resString(105);
    captions.capDruckkurve = resString(110);
    captions.capFlusskurve = resString(115);
    captions.capAuftraggeber = resString(120);
    captions.capFabNr = resString(125);
    captions.capDauer = resString(75);
    captions.capBemerkung = resString(130);
    captions.capBefund = resString(162);
    captions.capGasart = resString(163);
    captions.capNeuePruefung = resString(165);
    captions.capFliessdruck = resString(166);
    captions.capRuhedruck = resString(167);
    captions.capSAVDruck = resString(168);
    captions.capBefundNullabschluss = resString(169);
    captions.capBefundGMSicherung = resString(170);
    captions.capZaehlerNr = resString(52);
    captions.capLeitungsVol = resString(27157);
    captions.capMesszeit = resString(27158);
    captions.capRefDruck = resString(27161);
    captions.capLeckrate = resString(27160);
}

const ColumnCaptions &columnCaptions()
{
    return captions;
}
