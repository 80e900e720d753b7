#include "SyncFixtures.h"

#include "support/CapturingPresenter.h"

#include "data/Database.h"
#include "data/Schema.h"
#include "sync/TestStore.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace SyncFixtures;

namespace {

int count(Database &db, const QString &where = QStringLiteral("1 = 1"))
{
    QSqlQuery query = db.select(QStringLiteral("SELECT count(*) FROM Pruefungen WHERE ") + where);
    query.next();
    return query.value(0).toInt();
}

} // namespace

class TestStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("store%1.db").arg(++m_number));
        Schema::createEmptyDatabase(m_path);
        m_db = std::make_unique<Database>();
        m_db->open(Database::BuildConnectionString(m_path));
    }

    void cleanup()
    {
        m_db.reset();
        QLocale::setDefault(QLocale::c());
    }

    void storesEveryColumn()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        TestDescription test = tightnessTest(7);
        test.meterNumber.reset();
        const Decoded decoded = decode(imageOf({test}));
        QVERIFY(StoreTests(*m_db, decoded.records));
        QSqlQuery row = m_db->select(QStringLiteral(
            "SELECT PFG_KundenNr, PFG_Pruefart, PFG_Druck, PFG_EndDruck, PFG_Fluss, PFG_Gasart, "
            "PFG_Befund, PFG_Datum, PFG_Druckkurve, PFG_FabNr, PFG_Dauer, PFG_NeuePruefung, "
            "PFG_Fliessdruck, PFG_ZaehlerNr, PFG_LeitungsVol, PFG_Messzeit, PFG_RefDruck, "
            "PFG_Leckrate, PFG_Pruefer FROM Pruefungen"));
        QVERIFY(row.next());
        QCOMPARE(row.value(0).toString(), QStringLiteral("004717"));
        QCOMPARE(row.value(1).toInt(), 2);
        QCOMPARE(row.value(2).toFloat(), 21.0f);
        QCOMPARE(row.value(3).toFloat(), 20.0f);
        QCOMPARE(row.value(4).toFloat(), 1.5f);
        QCOMPARE(row.value(5).toString(), QStringLiteral("Erdgas"));
        QCOMPARE(row.value(6).toInt(), 0);
        QCOMPARE(row.value(7).toString(), QStringLiteral("2024-03-14 09:26:53"));
        QCOMPARE(row.value(8).toString(), QStringLiteral("250:200:3:210:250:200:"));
        QCOMPARE(row.value(9).toString(), fabText);
        QCOMPARE(row.value(10).toInt(), 3);
        QCOMPARE(row.value(11).toInt(), 1);
        QCOMPARE(row.value(12).toFloat(), TestRecord::notMeasured);
        QCOMPARE(row.value(13).toString(), QStringLiteral("00000000"));
        QCOMPARE(row.value(14).toString(), QStringLiteral("200"));
        QCOMPARE(row.value(15).toString(), QStringLiteral("0,05"));
        QCOMPARE(row.value(16).toString(), QStringLiteral("22"));
        QCOMPARE(row.value(17).toString(), QStringLiteral("1,65"));
        QCOMPARE(row.value(18).toString(), QString());
    }

    void sameInstrumentTwiceIsStoredOnce()
    {
        const Decoded decoded = decode(imageOf({tightnessTest(1), tightnessTest(2)}));
        // Two tests at the same date and instrument: the second is a duplicate.
        QCOMPARE(decoded.records.size(), 2);
        StoreCounts counts;
        QVERIFY(StoreTests(*m_db, decoded.records, &counts));
        QCOMPARE(counts.stored, 1);
        QCOMPARE(counts.skipped, 1);

        TestDescription later = tightnessTest(3);
        later.date.minute = 27;
        QList<TestRecord> again = decoded.records + decode(imageOf({later})).records;
        QVERIFY(StoreTests(*m_db, again, &counts));
        QCOMPARE(counts.stored, 1);
        QCOMPARE(counts.skipped, 2);
        QCOMPARE(count(*m_db), 2);
    }

    void otherInstrumentSameDateIsStored()
    {
        QList<TestRecord> records = decode(imageOf({tightnessTest()})).records;
        records.append(records.front());
        records.back().instrumentNumber = QStringLiteral("063 02 00421");
        QVERIFY(StoreTests(*m_db, records));
        QCOMPARE(count(*m_db), 2);
    }

    void olderDateFormsAreRecognised()
    {
        m_db->execute(QStringLiteral("INSERT INTO Pruefungen (PFG_Datum, PFG_FabNr) VALUES "
                                     "('2024-03-14T09:26:53', ?)"),
                      {fabText});
        StoreCounts counts;
        QVERIFY(StoreTests(*m_db, decode(imageOf({tightnessTest()})).records, &counts));
        QCOMPARE(counts.skipped, 1);
    }

    void failureInTheMiddleStoresNothing()
    {
        // A trigger makes the second insert fail, as a full disk or a broken file would.
        m_db->execute(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE INSERT ON Pruefungen WHEN NEW.PFG_KundenNr = '004712' "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        TestDescription second = tightnessTest(2);
        second.date.minute = 30;
        TestDescription third = tightnessTest(3);
        third.date.minute = 31;
        const Decoded decoded = decode(imageOf({tightnessTest(1), second, third}));
        CapturingPresenter presenter;
        QVERIFY(!StoreTests(*m_db, decoded.records));
        QCOMPARE(presenter.messages.size(), 1);
        QVERIFY(presenter.messages.front().contains(QLatin1String("disk full")));
        QCOMPARE(count(*m_db), 0);
        QVERIFY(!m_db->inTransaction());
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_number = 0;
    std::unique_ptr<Database> m_db;
};

QTEST_GUILESS_MAIN(TestStoreTest)
#include "TestStoreTest.moc"
