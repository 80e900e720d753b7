#pragma once

#include <QColor>
#include <QList>
#include <QLocale>
#include <QString>

class Recordset;

// What the data tabs of the new tests and statistics windows show for one test, worked out without widgets.
struct TestDataPanel
{
    // A row of label, value and unit with its marker beside it.
    struct Row
    {
        QString label;
        QString value;
        QString unit;
        QColor marker;       // invalid: the frame's colour
        bool border = false; // the marker is drawn with a single border
    };

    QString title;
    QList<Row> rows;         // four rows; unused ones empty with a frame-coloured marker
    Row finding;             // the finding (regulator tests: the low-flow safety device)
    bool extraShown = false; // further measured values (serviceability tests)
    QString extraTitle;
    QList<Row> extraRows;    // pipe volume, measuring time, reference pressure, leak rate

    // The panel of the current test of a recordset of the tests select list.
    static TestDataPanel fromCurrentTest(const Recordset &tests,
                                         const QLocale &locale = QLocale::system());
};
