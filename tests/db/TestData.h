#pragma once

#include "data/Database.h"

#include <QDateTime>
#include <QVariantList>

// A small set of customers and tests for the recordset tests; PFG_Bemerkung names each test.
namespace TestData {

inline void insertTest(Database &db, const QVariant &kundenNr, int pruefart, double fluss,
                       int befund, const QDateTime &datum, const QString &pruefer, bool neu,
                       const QString &fabNr, const QString &bemerkung)
{
    db.execute(QStringLiteral("INSERT INTO Pruefungen (PFG_KundenNr, PFG_Pruefart, PFG_Fluss, "
                              "PFG_Befund, PFG_Datum, PFG_Pruefer, PFG_NeuePruefung, PFG_FabNr, "
                              "PFG_Bemerkung, PFG_Druckkurve) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                              "?, ?)"),
               {kundenNr, pruefart, fluss, befund, datum, pruefer, neu, fabNr, bemerkung,
                QStringLiteral("curve of ") + bemerkung});
}

inline void fill(Database &db)
{
    const auto at = [](int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
        return QDateTime(QDate(y, m, d), QTime(h, mi, s));
    };
    db.execute(QStringLiteral("INSERT INTO Kunden (ADS_KundenNr, ADS_Name1, ADS_Ort) VALUES "
                              "(?, ?, ?), (?, ?, ?)"),
               {QStringLiteral("1001"), QStringLiteral("Müller"), QStringLiteral("Köln"),
                QStringLiteral("1011"), QStringLiteral("O'Brien"), QStringLiteral("Bonn")});
    const QString fab = QStringLiteral("063 01 00001");
    insertTest(db, QStringLiteral("1001"), 0, 3.0, 0, at(2024, 3, 1), QStringLiteral("Meier"),
               false, fab, QStringLiteral("t1"));
    insertTest(db, QStringLiteral("1001"), 1, 2.5, 2, at(2024, 3, 2), QStringLiteral("Meier"),
               false, fab, QStringLiteral("t2"));
    insertTest(db, QStringLiteral("1011"), 0, 1.0, 0, at(2024, 3, 2, 0, 0, 1),
               QStringLiteral("Schulz"), false, QStringLiteral("063 01 00002"),
               QStringLiteral("t3"));
    insertTest(db, QVariant(), 0, 2.5, 255, at(2024, 3, 1, 10, 15), QStringLiteral("Meier"),
               true, fab, QStringLiteral("t4"));
    insertTest(db, QStringLiteral("9999"), 2, 5.0, 1, at(2024, 2, 29, 23, 59, 59),
               QStringLiteral("Schulz"), true, QStringLiteral("063 01 00002"),
               QStringLiteral("t5 [b] (c) 'q'"));
}

} // namespace TestData
