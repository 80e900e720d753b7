#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// The criteria of a tests list as its printed header states them. Texts are as the user chose
// or typed them; an empty text or an invalid date is a criterion not in use.
struct ListHeaderCriteria
{
    bool newTests = false; // the data base: new tests, else filed tests
    QString testKind;
    QDate startDate;
    QDate endDate;         // the last day shown; the header names the day after, as the filter
    QString finding;
    QString flowMin;
    QString flowMax;
    QString customer;
    QString inspector;
    QString client;
    QString fabNr;
};

// The page header of a printed tests list, in the header codes of HeaderFooterText: the date
// on the right, the bold title naming the data base, then one line per criterion in use in a
// fixed-pitch font.
QString MakeHeader(const ListHeaderCriteria &criteria, const QLocale &locale = QLocale::system());
