#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

// Turns the program's statement texts, written in the desktop database dialect of the original
// program ([name] quoting, First(), #date#, =True, * and ? wildcards, DELETE * FROM, TOP n),
// into SQLite, and converts values between their C++ form and the form stored in the file.
//
// Only fixed statement texts go through translate(); values from users or files are bound as
// parameters and never become part of a statement text.
class SqlDialect
{
public:
    static QString translate(const QString &statement);

    // Dates are stored as "yyyy-MM-dd HH:mm:ss" text, so they sort and compare as text;
    // yes/no values as 0 and 1.
    static QVariant toStorage(const QVariant &value);
    static QString dateTimeToStorage(const QDateTime &dateTime);
    // Accepts the stored form, the ISO form with 'T' and a bare date; invalid on anything else.
    static QDateTime dateTimeFromStorage(QStringView text);

    // A date literal as the user's locale writes it (short date, optionally with time), or in
    // ISO form. Two-digit years fall into 1930..2029. Invalid when the text is no date.
    static QDateTime parseDateLiteral(const QString &text, const QLocale &locale = QLocale());
};
