#include "statistics/ProtocolNameValues.h"

#include "data/Localisation.h"
#include "data/StringTable.h"
#include "statistics/ProtocolTemplateChoice.h"
#include "statistics/ProtocolTest.h"

namespace {

constexpr double notMeasured = -99999;

QString number(const QVariant &value, const QLocale &locale, int decimals = 1)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (value.isNull() || !ok)
        return {};
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(v, 'f', decimals);
}

QString regulatorPressure(const QVariant &value, const QLocale &locale)
{
    if (!value.isNull() && value.toDouble() == notMeasured)
        return QStringLiteral("---");
    return number(value, locale);
}

QString code(const QVariant &value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    return value.isNull() || !ok ? QString() : QString::number(v);
}

QString joined(const QString &first, const QString &separator, const QString &second)
{
    return first.isEmpty() && second.isEmpty() ? QString() : first + separator + second;
}

// Short date, two blanks, the hour without and the minutes with a leading zero.
QString testDateText(const QDateTime &date, const QLocale &locale)
{
    if (!date.isValid())
        return {};
    return locale.toString(date.date(), fixedShortDateFormat(locale)) + QStringLiteral("  ")
           + date.time().toString(QStringLiteral("H:mm"));
}

} // namespace

QHash<QString, QString> ProtocolNameValues(const ProtocolTest &test, const QLocale &locale)
{
    const ProtocolTemplateChoice choice =
        ChooseProtocolTemplate(test.kind, test.date, test.leitungsVol, test.refDruck);
    QHash<QString, QString> names;
    names.insert(QStringLiteral("Kunde"), joined(test.name1, QStringLiteral("\r\n"), test.name2));
    names.insert(QStringLiteral("KundenNr"), test.kundenNr);
    names.insert(QStringLiteral("ZaehlerNr"), test.newTest ? test.zaehlerNr : test.adsZaehlerNr);
    names.insert(QStringLiteral("ZaehlerNrAlt"), test.adsZaehlerNrAlt);
    names.insert(QStringLiteral("Strasse"), test.strasse);
    names.insert(QStringLiteral("Ort"), joined(test.plz, QStringLiteral(" "), test.ort));

    if (choice.kind >= 0 && choice.kind <= 2) {
        const int decimals = choice.kind == 1 ? 0 : 1;
        names.insert(QStringLiteral("Druck"), number(test.druck, locale, decimals));
        names.insert(QStringLiteral("Druckende"), number(test.endDruck, locale, decimals));
    }
    names.insert(QStringLiteral("Fluss"), number(test.fluss, locale));

    if (choice.kind == 0 && choice.lineVolumeSet) {
        const bool g5952 = choice.method == ProtocolTemplateChoice::LeakMethod::G5952;
        names.insert(QStringLiteral("Leistungsvolumen"),
                     (QStringLiteral("< ") + number(test.leitungsVol, locale)).trimmed());
        // Fixed texts: the methods are defined for 23 and 22 mbar.
        names.insert(QStringLiteral("RefDruck"),
                     g5952 ? QStringLiteral("23,0") : QStringLiteral("22,0"));
        names.insert(g5952 ? QStringLiteral("LeckrateG5952") : QStringLiteral("LeckrateVP952"),
                     number(test.leckrate, locale).trimmed());
    }
    if (choice.kind == 3) {
        names.insert(QStringLiteral("Fliessdruck"), regulatorPressure(test.fliessdruck, locale));
        names.insert(QStringLiteral("Ruhedruck"), regulatorPressure(test.ruhedruck, locale));
        names.insert(QStringLiteral("SAV"), regulatorPressure(test.savDruck, locale));
        names.insert(QStringLiteral("Nullabschluss"), code(test.befundNullabschluss));
        names.insert(QStringLiteral("GMSicherung"), code(test.befundGMSicherung));
    }

    names.insert(QStringLiteral("Pruefer"), test.pruefer);
    names.insert(QStringLiteral("Befund"), code(test.befund));
    names.insert(QStringLiteral("Auftraggeber"), test.auftraggeber);
    names.insert(QStringLiteral("Messgeraet"),
                 test.fabNr.isEmpty() ? QString() : resString(25906) + test.fabNr);
    names.insert(QStringLiteral("Bemerkung"), test.bemerkung);
    names.insert(QStringLiteral("Pruefdatum"), testDateText(test.date, locale));
    return names;
}
