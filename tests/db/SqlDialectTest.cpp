#include "data/SqlDialect.h"

#include <QTest>

class SqlDialectTest : public QObject
{
    Q_OBJECT
private slots:
    void translate_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("sqlite");
        QTest::newRow("first and true")
            << "SELECT First (P.x) AS [Prüfer] From P GROUP BY P.x HAVING (((First(P.x)) Is Not "
               "Null) AND ((P.n)=True)) ORDER BY P.x;"
            << "SELECT MIN (P.x) AS [Prüfer] From P GROUP BY P.x HAVING (((MIN(P.x)) Is Not "
               "Null) AND ((P.n)=1)) ORDER BY P.x;";
        QTest::newRow("false") << "WHERE a = False" << "WHERE a = 0";
        QTest::newRow("words in quotes and brackets stay")
            << "SELECT [True first] FROM t WHERE a = 'True * First(' "
            << "SELECT [True first] FROM t WHERE a = 'True * First(' ";
        QTest::newRow("like wildcards") << "WHERE a LIKE '*x?y*' AND b = '*'"
                                        << "WHERE a LIKE '%x_y%' AND b = '*'";
        QTest::newRow("date") << "WHERE d >= #3/1/2024# AND d < #2024-03-02T10:15:00#"
                              << "WHERE d >= '2024-03-01 00:00:00' AND d < '2024-03-02 10:15:00'";
        QTest::newRow("delete all") << "DELETE * FROM Pruefungen" << "DELETE FROM Pruefungen";
        QTest::newRow("delete unmatched")
            << "DELETE Kunden.* FROM Kunden LEFT JOIN Pruefungen ON Kunden.ADS_KundenNr = "
               "Pruefungen.PFG_KundenNr WHERE (((Pruefungen.PFG_KundenNr) Is Null))"
            << "DELETE FROM Kunden WHERE NOT EXISTS (SELECT 1 FROM Pruefungen WHERE "
               "Kunden.ADS_KundenNr = Pruefungen.PFG_KundenNr)";
        QTest::newRow("top") << "Select TOP 3 * From [Tabelle 1]"
                             << "Select * From [Tabelle 1] LIMIT 3";
        QTest::newRow("update set qualifier")
            << "Update Pruefarten Set Pruefarten.PRF_Pruefbezeichnung = ? Where "
               "Pruefarten.PRF_Pruefart = 0"
            << "Update Pruefarten Set PRF_Pruefbezeichnung = ? Where Pruefarten.PRF_Pruefart = 0";
        QTest::newRow("qualified column named like a keyword") << "SELECT t.True FROM t"
                                                               << "SELECT t.True FROM t";
    }
    void translate()
    {
        QFETCH(QString, jet);
        QFETCH(QString, sqlite);
        QCOMPARE(SqlDialect::translate(jet), sqlite);
    }

    void dateLiteral_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("de short") << "de_DE" << "01.03.2024" << "2024-03-01 00:00:00";
        QTest::newRow("de one digit") << "de_DE" << "1.3.2024" << "2024-03-01 00:00:00";
        QTest::newRow("de with time") << "de_DE" << "01.03.2024 10:15:07" << "2024-03-01 10:15:07";
        QTest::newRow("de two-digit year") << "de_DE" << "01.03.24" << "2024-03-01 00:00:00";
        QTest::newRow("de two-digit old year") << "de_DE" << "01.03.95" << "1995-03-01 00:00:00";
        QTest::newRow("us") << "en_US" << "3/1/2024" << "2024-03-01 00:00:00";
        QTest::newRow("iso") << "de_DE" << "2024-03-01" << "2024-03-01 00:00:00";
        QTest::newRow("no date") << "de_DE" << "31.02.2024" << "";
        QTest::newRow("text") << "de_DE" << "gestern" << "";
    }
    void dateLiteral()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const QDateTime value = SqlDialect::parseDateLiteral(text, QLocale(locale));
        QCOMPARE(value.isValid() ? SqlDialect::dateTimeToStorage(value) : QString(), stored);
    }

    void storageRoundTrip()
    {
        const QDateTime when(QDate(2024, 2, 29), QTime(23, 59, 59));
        QCOMPARE(SqlDialect::toStorage(when).toString(), QStringLiteral("2024-02-29 23:59:59"));
        QCOMPARE(SqlDialect::dateTimeFromStorage(u"2024-02-29 23:59:59"), when);
        QCOMPARE(SqlDialect::dateTimeFromStorage(u"2024-02-29T23:59:59"), when);
        QVERIFY(!SqlDialect::dateTimeFromStorage(u"2024-02-30 00:00:00").isValid());
        QCOMPARE(SqlDialect::toStorage(true).toLongLong(), 1);
    }
};

QTEST_GUILESS_MAIN(SqlDialectTest)
#include "SqlDialectTest.moc"
