#pragma once

#include <QString>
#include <QStringList>

// The criteria of the statistics window as its controls show them, for the block at the top of
// the list and protocol exports. Empty texts stand for criteria not set.
struct ExportCriteria
{
    QString dataBase;       // the data base box: filed or new tests
    QString testKind;       // the chosen test kind's name
    QString dateFrom;       // the date boxes' texts as typed
    QString dateTo;
    QString finding;
    QString flowMin;
    QString flowMax;
    bool customerShown = false; // the customer number box is offered (filed tests)
    QString customer;
    QString inspector;
    QString client;
    QString fabNr;

    // The string number (203-206) of the chosen test kind's name; 0 when none is chosen.
    int testKindString() const;

    enum class Export { List, Protocol };
    // The criteria lines, ending with the empty line(s) that follow them.
    QStringList lines(Export kind) const;
};

// The names of the test kinds, strings 203-206; 0 when text is none of them.
int TestKindString(const QString &text);
