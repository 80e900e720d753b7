#include "data/Localisation.h"

#include <QDate>
#include <QRegularExpression>

QString DecimalSeparator(const QLocale &locale)
{
    return locale.toString(0.5, 'f', 1).mid(1, 1);
}

QString fixedShortDateFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // Widen each run of d, M and y to its fixed width; day and month names stay as they are
    // never part of a short format we can mask, so fall back to day.month.year then.
    static const QRegularExpression runs(QStringLiteral("d+|M+|y+"));
    QString result;
    qsizetype last = 0;
    for (auto it = runs.globalMatch(format); it.hasNext();) {
        const auto match = it.next();
        result += format.mid(last, match.capturedStart() - last);
        const QString run = match.captured();
        if (run.size() > 2 && run.front() != u'y')
            return QStringLiteral("dd.MM.yyyy");
        result += run.front() == u'y' ? QStringLiteral("yyyy") : QString(2, run.front());
        last = match.capturedEnd();
    }
    result += format.mid(last);
    return result;
}

QString DateMask(const QLocale &locale)
{
    QString text = locale.toString(QDate::currentDate(), fixedShortDateFormat(locale));
    for (QChar &c : text) {
        if (c.isDigit())
            c = u'#';
    }
    return text;
}

int localeIdentifier(const QLocale &locale)
{
    struct Entry { QLocale::Language language; QLocale::Territory territory; int id; };
    static const Entry table[] = {
        {QLocale::German, QLocale::AnyTerritory, 1031},
        {QLocale::English, QLocale::UnitedKingdom, 2057},
        {QLocale::English, QLocale::AnyTerritory, 1033},
        {QLocale::Italian, QLocale::AnyTerritory, 1040},
        {QLocale::Polish, QLocale::AnyTerritory, 1045},
        {QLocale::Hungarian, QLocale::AnyTerritory, 1038},
        {QLocale::Slovenian, QLocale::AnyTerritory, 1060},
        {QLocale::Croatian, QLocale::AnyTerritory, 1050},
        {QLocale::Czech, QLocale::AnyTerritory, 1029},
        {QLocale::Arabic, QLocale::AnyTerritory, 1025},
        {QLocale::Chinese, QLocale::Taiwan, 1028},
        {QLocale::Chinese, QLocale::AnyTerritory, 2052},
        {QLocale::Greek, QLocale::AnyTerritory, 1032},
        {QLocale::Hebrew, QLocale::AnyTerritory, 1037},
        {QLocale::Japanese, QLocale::AnyTerritory, 1041},
        {QLocale::Korean, QLocale::AnyTerritory, 1042},
        {QLocale::Romanian, QLocale::AnyTerritory, 1048},
        {QLocale::Russian, QLocale::AnyTerritory, 1049},
        {QLocale::Slovak, QLocale::AnyTerritory, 1051},
        {QLocale::Thai, QLocale::AnyTerritory, 1054},
        {QLocale::Turkish, QLocale::AnyTerritory, 1055},
        {QLocale::Vietnamese, QLocale::AnyTerritory, 1066},
    };
    for (const Entry &e : table) {
        if (e.language == locale.language()
            && (e.territory == QLocale::AnyTerritory || e.territory == locale.territory()))
            return e.id;
    }
    return 1033;
}

LocaleFont localeFontFor(int localeId)
{
    // The East Asian families are those Debian's Noto CJK fonts provide.
    switch (localeId) {
    case 1025: return {178, {}, 0};
    case 1028: return {136, QStringLiteral("Noto Sans CJK TC"), 9};
    case 1029: case 1038: case 1045: case 1048: case 1049: case 1050: case 1051: case 1060:
        return {238, {}, 0};
    case 1032: return {161, {}, 0};
    case 1037: return {177, {}, 0};
    case 1041: return {128, QStringLiteral("Noto Sans CJK JP"), 9};
    case 1042: return {129, QStringLiteral("Noto Sans CJK KR"), 9};
    case 1054: return {222, {}, 0};
    case 1055: return {162, {}, 0};
    case 1066: return {163, {}, 0};
    case 2052: return {134, QStringLiteral("Noto Sans CJK SC"), 9};
    default: return {1, {}, 0};
    }
}
