#pragma once

#include <QLocale>
#include <QString>

// The decimal separator of the locale ("," or ".").
QString DecimalSeparator(const QLocale &locale = QLocale::system());

// An input mask for a date in the locale's short format, with four-digit years and two-digit
// days and months, every digit replaced by '#': "##.##.####" for German.
QString DateMask(const QLocale &locale = QLocale::system());

// The locale's short date format widened to fixed two-digit day and month and four-digit year,
// the format that DateMask describes.
QString fixedShortDateFormat(const QLocale &locale = QLocale::system());

// Windows locale identifier of a locale (1031 German, 1033 English (US), ...); 1033 when unknown.
int localeIdentifier(const QLocale &locale);

// What the font table gives a locale: the character set and, for some East Asian locales,
// a font family of their own at 9 points.
struct LocaleFont
{
    int charset = 1;
    QString family; // empty: keep the window's family
    int pointSize = 0;
};
LocaleFont localeFontFor(int localeId);
