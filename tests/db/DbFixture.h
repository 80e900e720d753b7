#pragma once

#include "data/Database.h"
#include "data/Schema.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// Databases for the tests: the current version as the program creates it, and the older
// versions built from their column lists.
namespace DbFixture {

inline QString v3(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("Lumetra4Desktop.db"));
    Schema::createEmptyDatabase(path);
    return path;
}

// Runs plain SQLite statements on a file outside the program's connection.
inline void run(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("fixture");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString &statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement + u' ' + query.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// A version 1, 2 or 3 database with the tables of that version (no keys declared, as an old
// file converted from the desktop engine would have) and the given version text.
inline QString legacy(const QTemporaryDir &dir, int version, const QString &versionText)
{
    const QString path = dir.filePath(QStringLiteral("Lumetra4Desktop.db"));
    QString tests = QStringLiteral(
        "CREATE TABLE Pruefungen (PFG_KundenNr VARCHAR(255), PFG_Pruefart TINYINT, "
        "PFG_Druck REAL, PFG_EndDruck REAL, PFG_Fluss REAL, PFG_Gasart VARCHAR(255), "
        "PFG_Befund TINYINT, PFG_Datum DATETIME, PFG_Pruefer VARCHAR(255), "
        "PFG_Druckkurve LONGTEXT, PFG_Flusskurve LONGTEXT, PFG_Auftraggeber VARCHAR(255), "
        "PFG_FabNr VARCHAR(255), PFG_Dauer SMALLINT, PFG_Bemerkung VARCHAR(255), "
        "PFG_NeuePruefung BOOLEAN, PFG_Fliessdruck REAL, PFG_Ruhedruck REAL, PFG_SAVDruck REAL, "
        "PFG_Befund_Nullabschluss TINYINT, PFG_Befund_GMSicherung TINYINT");
    if (version >= 2)
        tests += QStringLiteral(", PFG_ZaehlerNr CHAR(50) NOT NULL DEFAULT '00000000'");
    if (version >= 3) {
        tests += QStringLiteral(", PFG_LeitungsVol CHAR(50), PFG_Messzeit CHAR(50), "
                                "PFG_RefDruck CHAR(50), PFG_Leckrate CHAR(50)");
    }
    tests += u')';
    run(path, {tests,
               QStringLiteral("CREATE TABLE Kunden (ADS_KundenNr VARCHAR(255), ADS_Name1 "
                              "VARCHAR(255), ADS_Name2 VARCHAR(255), ADS_Strasse VARCHAR(255), "
                              "ADS_PLZ VARCHAR(255), ADS_Ort VARCHAR(255), ADS_Telefon "
                              "VARCHAR(255), ADS_Fax VARCHAR(255), ADS_ZaehlerNr VARCHAR(255), "
                              "ADS_ZaehlerNrAlt VARCHAR(255))"),
               QStringLiteral("CREATE TABLE Auftraggeber (Auftraggeber VARCHAR(255))"),
               QStringLiteral("CREATE TABLE Pruefer (PFU_Name VARCHAR(255))"),
               QStringLiteral("CREATE TABLE Pruefarten (PRF_Pruefart INTEGER, "
                              "PRF_Pruefbezeichnung VARCHAR(255))"),
               QStringLiteral("INSERT INTO Pruefarten VALUES (0, 'a'), (1, 'b'), (2, 'c'), "
                              "(3, 'd')"),
               QStringLiteral("CREATE TABLE DatenbankINI (Datenbankversion VARCHAR(255))"),
               QStringLiteral("INSERT INTO DatenbankINI VALUES ('%1')").arg(versionText)});
    return path;
}

inline QStringList columns(const QString &path, const QString &table)
{
    QStringList names;
    const QString name = QStringLiteral("fixture-columns");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(QStringLiteral("PRAGMA table_info(%1)").arg(table), db);
        while (query.next())
            names << query.value(1).toString();
    }
    QSqlDatabase::removeDatabase(name);
    return names;
}

} // namespace DbFixture
