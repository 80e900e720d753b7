#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

// What the statistics window narrows the tests down by, and the filter text that the tests
// list evaluates for it. Every term names its column by the localised caption. Values typed or
// chosen by the user go in as quoted texts, so a quote in a name can never end a term early.
struct QueryCriteria
{
    bool newTests = true;          // "Neue Prüfungen" rather than the filed tests
    std::optional<int> pruefart;   // test kind 0-3
    QString kundenNr;              // may hold * and ? on purpose
    std::optional<int> befund;     // finding 0-3
    QDate from;                    // invalid: no bound
    QDate to;                      // the whole day counts, up to midnight of the next
    QString flowMin;               // as typed, with the locale's decimal separator
    QString flowMax;
    QString pruefer;               // chosen from a list: matched literally
    QString auftraggeber;
    QString fabNr;

    QString filterText(const QLocale &locale = QLocale::system()) const;

    // The string number of the message that says why the criteria cannot be used: 25180 for
    // an end date before the start date, 25181 for a flow that is no number; 0 when they can.
    int problem(const QLocale &locale = QLocale::system()) const;

    // A flow as the filter reads it: trimmed, with "." as decimal separator; empty when the
    // text is empty or no number.
    static QString flowValue(const QString &text, const QLocale &locale = QLocale::system());
};
