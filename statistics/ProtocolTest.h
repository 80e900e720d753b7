#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

class Recordset;

// The fields of one test that its protocol shows, as stored (nulls kept), together with the
// customer's fields of a filed test.
struct ProtocolTest
{
    QVariant kind;
    QDateTime date;
    QString kundenNr;
    QString name1;
    QString name2;
    QString strasse;
    QString plz;
    QString ort;
    QString zaehlerNr;      // the meter number the test carries
    QString adsZaehlerNr;   // the customer's current meter number
    QString adsZaehlerNrAlt;
    bool newTest = false;
    QVariant druck;
    QVariant endDruck;
    QVariant fluss;
    QVariant leitungsVol;
    QVariant refDruck;
    QVariant leckrate;
    QVariant fliessdruck;
    QVariant ruhedruck;
    QVariant savDruck;
    QVariant befund;
    QVariant befundNullabschluss;
    QVariant befundGMSicherung;
    QString pruefer;
    QString auftraggeber;
    QString fabNr;
    QString bemerkung;
    QString druckkurve;
    QString flusskurve;
    qint16 dauer = 0; // measuring time in seconds

    // The current row of a tests list, its fields found by the column captions; fields the
    // list does not have stay empty.
    static ProtocolTest fromRecordset(const Recordset &list);
};
