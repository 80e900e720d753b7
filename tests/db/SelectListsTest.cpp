#include "data/ColumnCaptions.h"
#include "data/SelectLists.h"
#include "data/StringTable.h"
#include "support/LanguageRows.h"

#include <QRegularExpression>
#include <QTest>

class SelectListsTest : public QObject
{
    Q_OBJECT
private slots:
    void texts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
        QTest::newRow("criteria list, German")
            << "de" << SqlPrueferNeu()
            << "SELECT First (Pruefungen.PFG_Pruefer) AS [Prüfer] From Pruefungen GROUP BY "
               "Pruefungen.PFG_Pruefer, Pruefungen.PFG_NeuePruefung HAVING "
               "(((First(Pruefungen.PFG_Pruefer)) Is Not Null) AND "
               "((Pruefungen.PFG_NeuePruefung)=True)) ORDER BY Pruefungen.PFG_Pruefer;";
        QTest::newRow("test kinds") << "de" << SqlPruefarten()
                                    << "SELECT Pruefarten.PRF_Pruefart AS [Prüfart-Nr], "
                                       "Pruefarten.PRF_Pruefbezeichnung AS [Prüfart] FROM "
                                       "Pruefarten ORDER BY PRF_Pruefart";
        QTest::newRow("inspectors") << "de" << SqlPrueferListe()
                                    << "SELECT Pruefer.PFU_Name AS [Name] From Pruefer";
    }
    void texts()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }

    void joinedListKeepsItsSeparators()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
        const QString text = SqlPruefungenKunden();
        QVERIFY(text.contains(QStringLiteral("AS [Prüfart],Pruefungen.PFG_Datum AS [Prüfdatum], ")));
        QVERIFY(text.endsWith(QStringLiteral("AS [Zähler-Nr alt] FROM Pruefungen LEFT JOIN "
                                             "Kunden ON Pruefungen.PFG_KundenNr = "
                                             "Kunden.ADS_KundenNr ORDER BY "
                                             "Pruefungen.PFG_KundenNr ASC")));
        QCOMPARE(text.count(QStringLiteral(" AS [")), 33);
        QCOMPARE(SqlPruefungen().count(QStringLiteral(" AS [")), 26);
    }

    // The captions name the columns of the queries: two equal ones in a language would make
    // one column shadow the other (the test duration read as the measuring time, say).
    void columnNamesDifferInEveryLanguage_data() { addLanguageRows(); }
    void columnNamesDifferInEveryLanguage()
    {
        QFETCH(QString, language);
        StringTable::setLanguage(language);
        LoadColumnCaptions();
        static const QRegularExpression alias(QStringLiteral(" AS \\[([^\\]]+)\\]"));
        for (const QString &query : {SqlPruefungen(), SqlPruefungenKunden(), SqlKunden()}) {
            QStringList seen;
            for (const QRegularExpressionMatch &match : alias.globalMatch(query)) {
                const QString name = match.captured(1).toLower();
                QVERIFY2(!seen.contains(name), qPrintable(match.captured(1) + " twice"));
                seen << name;
            }
        }
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
    }

    void englishCaptions()
    {
        StringTable::setLanguage(QStringLiteral("en"));
        LoadColumnCaptions();
        QVERIFY(SqlKunden().contains(QStringLiteral("Kunden.ADS_Ort AS [Country]")));
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
        QVERIFY(SqlKunden().contains(QStringLiteral("Kunden.ADS_Ort AS [Ort]")));
    }
};

QTEST_GUILESS_MAIN(SelectListsTest)
#include "SelectListsTest.moc"
