#include "statistics/ProtocolTest.h"

#include "data/ColumnCaptions.h"
#include "data/Recordset.h"

ProtocolTest ProtocolTest::fromRecordset(const Recordset &list)
{
    const ColumnCaptions &c = columnCaptions();
    const auto value = [&list](const QString &caption) {
        const int index = list.fieldIndex(caption);
        return index < 0 ? QVariant() : list.value(index);
    };
    const auto text = [&value](const QString &caption) { return value(caption).toString(); };

    ProtocolTest test;
    test.kind = value(c.capPruefart);
    test.date = value(c.capDatum).toDateTime();
    test.kundenNr = text(c.capKundenNr);
    test.name1 = text(c.capName1);
    test.name2 = text(c.capName2);
    test.strasse = text(c.capStrasse);
    test.plz = text(c.capPLZ);
    test.ort = text(c.capOrt);
    test.zaehlerNr = text(c.capZaehlerNr);
    test.adsZaehlerNr = text(c.capAdsZaehlerNr);
    test.adsZaehlerNrAlt = text(c.capAdsZaehlerNrAlt);
    test.newTest = value(c.capNeuePruefung).toBool();
    test.druck = value(c.capDruck);
    test.endDruck = value(c.capEndDruck);
    test.fluss = value(c.capFluss);
    test.leitungsVol = value(c.capLeitungsVol);
    test.refDruck = value(c.capRefDruck);
    test.leckrate = value(c.capLeckrate);
    test.fliessdruck = value(c.capFliessdruck);
    test.ruhedruck = value(c.capRuhedruck);
    test.savDruck = value(c.capSAVDruck);
    test.befund = value(c.capBefund);
    test.befundNullabschluss = value(c.capBefundNullabschluss);
    test.befundGMSicherung = value(c.capBefundGMSicherung);
    test.pruefer = text(c.capPruefer);
    test.auftraggeber = text(c.capAuftraggeber);
    test.fabNr = text(c.capFabNr);
    test.bemerkung = text(c.capBemerkung);
    test.druckkurve = text(c.capDruckkurve);
    test.flusskurve = text(c.capFlusskurve);
    test.dauer = qint16(value(c.capDauer).toInt());
    return test;
}
