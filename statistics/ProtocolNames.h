#pragma once

#include <QSet>
#include <QString>

// The names the program defines when it fills a protocol template; placeholders may use these.
// "Leistungsvolumen" is the line volume: the templates have always spelled it so.
inline QSet<QString> protocolNames()
{
    return {QStringLiteral("Kunde"),         QStringLiteral("KundenNr"),
            QStringLiteral("ZaehlerNr"),     QStringLiteral("ZaehlerNrAlt"),
            QStringLiteral("Strasse"),       QStringLiteral("Ort"),
            QStringLiteral("Druck"),         QStringLiteral("Druckende"),
            QStringLiteral("Fluss"),         QStringLiteral("Leistungsvolumen"),
            QStringLiteral("RefDruck"),      QStringLiteral("LeckrateG5952"),
            QStringLiteral("LeckrateVP952"), QStringLiteral("Fliessdruck"),
            QStringLiteral("Ruhedruck"),     QStringLiteral("SAV"),
            QStringLiteral("Nullabschluss"), QStringLiteral("GMSicherung"),
            QStringLiteral("Pruefer"),       QStringLiteral("Befund"),
            QStringLiteral("Auftraggeber"),  QStringLiteral("Messgeraet"),
            QStringLiteral("Bemerkung"),     QStringLiteral("Pruefdatum")};
}
