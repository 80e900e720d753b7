#include "DbFixture.h"
#include "TestData.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseError.h"
#include "data/Recordset.h"
#include "data/RecordsetFilter.h"
#include "data/SelectLists.h"
#include "data/StringTable.h"

#include <QTest>

class RecordsetFilterTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    Database m_db;
    std::unique_ptr<Recordset> m_tests;
    std::unique_ptr<Recordset> m_customers;

    static QStringList markers(Recordset &rs, const QString &field)
    {
        QStringList result;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            result << rs.value(field).toString();
        result.sort();
        return result;
    }

private slots:
    void initTestCase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        LoadColumnCaptions();
        m_db.open(Database::BuildConnectionString(DbFixture::v3(m_dir)));
        TestData::fill(m_db);
        m_tests = std::make_unique<Recordset>(m_db, SqlPruefungenKunden(), LockType::Optimistic);
        m_customers = std::make_unique<Recordset>(m_db, SqlKunden(), LockType::Optimistic);
    }

    void filter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        const QStringList all{"t1", "t2", "t3", "t4", "t5 [b] (c) 'q'"};
        QTest::newRow("new tests, two blanks") << "[Neue Prüfung] =  TRUE"
                                               << QStringList{"t4", "t5 [b] (c) 'q'"};
        QTest::newRow("filed tests") << "[Neue Prüfung] = FALSE" << QStringList{"t1", "t2", "t3"};
        QTest::newRow("statistics example")
            << "[Neue Prüfung] =  TRUE AND [Prüfart] = 0 AND [Fluss (l / h)] >= 2.5"
            << QStringList{"t4"};
        QTest::newRow("statistics full criteria")
            << "[Neue Prüfung] = FALSE AND [Prüfart] = 0 AND [Kunden-Nr] LIKE '1001' AND "
               "[Befund] LIKE '0' AND [Prüfdatum] >= #01.03.2024# AND [Prüfdatum] <= "
               "#02.03.2024# AND [Fluss (l / h)] >= 2.5 AND [Fluss (l / h)] <= 3 AND [Prüfer] "
               "LIKE 'Meier' AND [Fab-Nr] LIKE '063 01 00001'"
            << QStringList{"t1"};
        QTest::newRow("date bounds at midnight")
            << "[Prüfdatum] >= #01.03.2024# AND [Prüfdatum] <= #02.03.2024#"
            << QStringList{"t1", "t2", "t4"};
        QTest::newRow("end bound only") << "[Prüfdatum] <= #01.03.2024#"
                                        << QStringList{"t1", "t5 [b] (c) 'q'"};
        QTest::newRow("test edit window")
            << "([Kunden-Nr] = '1001' AND [Fab-Nr] = '063 01 00001' AND [Prüfdatum] = "
               "#01.03.2024 00:00:00# AND [Neue Prüfung] = False)"
            << QStringList{"t1"};
        QTest::newRow("delete tests of a customer")
            << "([Kunden-Nr] = '9999' AND [Fab-Nr] = '063 01 00002' AND [Prüfdatum] = "
               "#29.02.2024 23:59:59#) AND [Neue Prüfung] = True"
            << QStringList{"t5 [b] (c) 'q'"};
        QTest::newRow("master data: filed tests of customer")
            << "[Kunden-Nr] = '1001' AND [Neue Prüfung] = False" << QStringList{"t1", "t2"};
        QTest::newRow("customer name with apostrophe") << "[Name1] LIKE '*o''brien*'"
                                                       << QStringList{"t3"};
        QTest::newRow("quotes and brackets in a value")
            << "[Bemerkung] = 't5 [b] (c) ''q'''" << QStringList{"t5 [b] (c) 'q'"};
        QTest::newRow("star wildcard") << "[Kunden-Nr] LIKE '10*'" << QStringList{"t1", "t2", "t3"};
        QTest::newRow("question mark wildcard") << "[Kunden-Nr] LIKE '10?1'"
                                                << QStringList{"t1", "t2", "t3"};
        QTest::newRow("inner wildcard") << "[Fab-Nr] LIKE '063*2'"
                                        << QStringList{"t3", "t5 [b] (c) 'q'"};
        QTest::newRow("no wildcard is exact") << "[Kunden-Nr] LIKE '100'" << QStringList{};
        QTest::newRow("case-insensitive") << "[Prüfer] = 'MEIER'" << QStringList{"t1", "t2", "t4"};
        QTest::newRow("AND before OR") << "[Prüfart] = 2 OR [Prüfart] = 0 AND [Befund] = 255"
                                       << QStringList{"t4", "t5 [b] (c) 'q'"};
        QTest::newRow("parentheses first") << "([Prüfart] = 2 OR [Prüfart] = 0) AND [Befund] = 0"
                                           << QStringList{"t1", "t3"};
        QTest::newRow("missing customer is null") << "[Name1] = NULL"
                                                  << QStringList{"t4", "t5 [b] (c) 'q'"};
        QTest::newRow("not equal") << "[Prüfart] <> 0" << QStringList{"t2", "t5 [b] (c) 'q'"};
        QTest::newRow("bare field name") << "Befund = 2" << QStringList{"t2"};
        QTest::newRow("empty removes") << "" << all;
    }
    void filter()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        auto clone = m_tests->clone();
        clone->setFilter(filter);
        QCOMPARE(markers(*clone, columnCaptions().capBemerkung), expected);
        QCOMPARE(clone->recordCount(), expected.size());
    }

    void customerSearch_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("name") << "müll" << QStringList{"1001"};
        QTest::newRow("town") << "BONN" << QStringList{"1011"};
        QTest::newRow("number") << "10" << QStringList{"1001", "1011"};
        QTest::newRow("apostrophe, quoted") << "O'B" << QStringList{"1011"};
    }
    // The customer search puts one LIKE per column, joined by OR.
    void customerSearch()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, expected);
        QStringList terms;
        for (int i = 0; i < m_customers->fieldCount(); ++i) {
            terms << u'[' + m_customers->fieldName(i) + QStringLiteral("] LIKE ")
                         + RecordsetFilter::quoted(u'*' + key + u'*');
        }
        auto clone = m_customers->clone();
        clone->setFilter(terms.join(QStringLiteral(" OR ")));
        QCOMPARE(markers(*clone, columnCaptions().capAdsKundenNr), expected);
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("number");
        QTest::newRow("unbalanced apostrophe") << "[Name1] LIKE '*O'Brien*'" << 3001;
        QTest::newRow("missing value") << "[Prüfart] = " << 3001;
        QTest::newRow("missing operator") << "[Prüfart] 0" << 3001;
        QTest::newRow("open parenthesis") << "([Prüfart] = 0" << 3001;
        QTest::newRow("close parenthesis") << "[Prüfart] = 0)" << 3001;
        QTest::newRow("open bracket") << "[Prüfart = 0" << 3001;
        QTest::newRow("dangling AND") << "[Prüfart] = 0 AND" << 3001;
        QTest::newRow("impossible date") << "[Prüfdatum] >= #31.02.2024#" << 3001;
        QTest::newRow("unclosed date") << "[Prüfdatum] >= #01.02.2024" << 3001;
        QTest::newRow("text for number") << "[Fluss (l / h)] >= 'viel'" << 3001;
        QTest::newRow("LIKE without text") << "[Kunden-Nr] LIKE 1001" << 3001;
        QTest::newRow("stray character") << "[Prüfart] = 0 ; DROP TABLE Kunden" << 3001;
        QTest::newRow("unknown field") << "[Kundennummer] = '1'" << 3265;
    }
    void malformed()
    {
        QFETCH(QString, filter);
        QFETCH(int, number);
        auto clone = m_tests->clone();
        clone->setFilter(QStringLiteral("[Prüfart] = 0"));
        try {
            clone->setFilter(filter);
            QFAIL("the filter was accepted");
        } catch (const RuntimeErrorException &error) {
            QCOMPARE(error.error().number, number);
            QVERIFY(!error.error().description.isEmpty());
        }
        // The previous filter stays in force.
        QCOMPARE(clone->filter(), QStringLiteral("[Prüfart] = 0"));
        QCOMPARE(clone->recordCount(), 3);
    }
};

QTEST_GUILESS_MAIN(RecordsetFilterTest)
#include "RecordsetFilterTest.moc"
