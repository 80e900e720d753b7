#include "statistics/StatisticsColumns.h"

#include "data/ColumnCaptions.h"

namespace StatisticsColumns {

bool shownByDefault(const QString &caption, bool newTests)
{
    const ColumnCaptions &c = columnCaptions();
    if (caption == c.capName1 || caption == c.capName2 || caption == c.capAdsZaehlerNr)
        return !newTests;
    if (caption == c.capZaehlerNr)
        return newTests;
    return QList<QString>{c.capKundenNr, c.capPruefart, c.capDatum, c.capBefund, c.capPruefer,
                          c.capAuftraggeber, c.capFabNr, c.capBemerkung}
        .contains(caption);
}

QList<std::pair<QString, bool>> forTestKind(int kind)
{
    const ColumnCaptions &c = columnCaptions();
    // Prüfart, Befund, Druck Anfang, Druck Ende, Fluss, then the regulator columns.
    bool pruefart = false, befund = true, druck = false, endDruck = false, fluss = false,
         regulator = false;
    switch (kind) {
    case 0: endDruck = fluss = true; break;
    case 1:
    case 2: druck = endDruck = true; break;
    case 3: befund = false; regulator = true; break;
    default: pruefart = true; break;
    }
    return {{c.capPruefart, pruefart},        {c.capBefund, befund},
            {c.capDruck, druck},              {c.capEndDruck, endDruck},
            {c.capFluss, fluss},              {c.capFliessdruck, regulator},
            {c.capRuhedruck, regulator},      {c.capSAVDruck, regulator},
            {c.capBefundNullabschluss, regulator}, {c.capBefundGMSicherung, regulator}};
}

QList<QString> hiddenFor(bool newTests)
{
    const ColumnCaptions &c = columnCaptions();
    if (newTests)
        return {c.capAdsZaehlerNr, c.capAdsZaehlerNrAlt};
    return {c.capZaehlerNr};
}

int widthTwips(const QString &caption)
{
    const ColumnCaptions &c = columnCaptions();
    if (caption == c.capKundenNr || caption == c.capZaehlerNr || caption == c.capAdsZaehlerNr
        || caption == c.capAdsZaehlerNrAlt)
        return 2500;
    if (caption == c.capPruefart)
        return 2100;
    if (caption == c.capBefund)
        return 1200;
    return 0;
}

bool centred(const QString &caption)
{
    const ColumnCaptions &c = columnCaptions();
    return QList<QString>{c.capBefund, c.capDruck, c.capEndDruck, c.capFluss, c.capFliessdruck,
                          c.capRuhedruck, c.capSAVDruck, c.capBefundNullabschluss,
                          c.capBefundGMSicherung}
        .contains(caption);
}

} // namespace StatisticsColumns
