#include "DbFixture.h"
#include "TestData.h"

#include "data/ColumnCaptions.h"
#include "data/DatabaseError.h"
#include "data/DatabaseSession.h"
#include "data/Recordset.h"
#include "data/RecordsetModel.h"
#include "data/Schema.h"
#include "data/SelectLists.h"
#include "data/StringTable.h"

#include <QTest>

class RecordsetTest : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DatabaseSession> m_session;
    const ColumnCaptions &c = columnCaptions();

    int count(const QString &statement)
    {
        QSqlQuery query = m_session->dbConnection.select(statement);
        return query.next() ? query.value(0).toInt() : -1;
    }

private slots:
    void initTestCase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        LoadColumnCaptions();
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_session = std::make_unique<DatabaseSession>();
        m_session->dbConnection.open(Database::BuildConnectionString(DbFixture::v3(*m_dir)));
        TestData::fill(m_session->dbConnection);
        CheckDatabaseVersion(*m_session);
    }

    void cleanup()
    {
        m_session.reset();
        m_dir.reset();
    }

    void sharedRecordsetsReadTypedValues()
    {
        Recordset &rs = *m_session->rsPruefungenKunden;
        QCOMPARE(rs.recordCount(), 5);
        QCOMPARE(rs.fieldCount(), 33);
        rs.setFilter(QStringLiteral("[Bemerkung] = 't1'"));
        QCOMPARE(rs.value(c.capDatum).toDateTime(), QDateTime(QDate(2024, 3, 1), QTime(0, 0)));
        QCOMPARE(rs.value(c.capNeuePruefung).typeId(), QMetaType::Bool);
        QCOMPARE(rs.value(c.capFluss).toDouble(), 3.0);
        QCOMPARE(rs.value(c.capName1).toString(), QStringLiteral("Müller"));
        QCOMPARE(rs.value(c.capZaehlerNr).toString(), QStringLiteral("00000000"));
        // Long texts come on demand.
        QCOMPARE(rs.value(c.capDruckkurve).toString(), QStringLiteral("curve of t1"));
        // A test whose customer is unknown is listed with empty customer columns.
        rs.setFilter(QStringLiteral("[Kunden-Nr] = '9999'"));
        QCOMPARE(rs.recordCount(), 1);
        QVERIFY(rs.value(c.capName1).isNull());
        QCOMPARE(m_session->rsKunden->recordCount(), 2);
        QCOMPARE(m_session->rsPruefungen->recordCount(), 5);
    }

    void sortCloneBookmark()
    {
        Recordset &rs = *m_session->rsPruefungen;
        rs.setSort(QStringLiteral("[Prüfdatum] DESC, [Bemerkung]"));
        QCOMPARE(rs.value(c.capBemerkung).toString(), QStringLiteral("t3"));
        rs.moveLast();
        QCOMPARE(rs.value(c.capBemerkung).toString(), QStringLiteral("t5 [b] (c) 'q'"));
        const int mark = rs.bookmark();
        auto clone = rs.clone();
        QCOMPARE(clone->recordCount(), 5);
        QVERIFY(clone->sort().isEmpty());
        clone->setBookmark(mark);
        QCOMPARE(clone->value(c.capBemerkung).toString(), QStringLiteral("t5 [b] (c) 'q'"));
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException, rs.setSort(QStringLiteral("[Prüfdatum] UP")));
    }

    void changesAreWrittenByKeyInsideTheCallersTransaction_data()
    {
        QTest::addColumn<bool>("commit");
        QTest::newRow("commit") << true;
        QTest::newRow("rollback") << false;
    }
    void changesAreWrittenByKeyInsideTheCallersTransaction()
    {
        QFETCH(bool, commit);
        Database &db = m_session->dbConnection;
        auto tests = m_session->rsPruefungen->clone();
        tests->setFilter(QStringLiteral("[Bemerkung] = 't4'"));
        db.beginTrans();
        tests->setValue(c.capKundenNr, QStringLiteral("1011"));
        tests->setValue(c.capNeuePruefung, false);
        tests->update();
        if (commit)
            db.commitTrans();
        else
            db.rollbackTrans();
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Pruefungen WHERE PFG_KundenNr = "
                                      "'1011' AND PFG_NeuePruefung = 0")),
                 commit ? 2 : 1);
        m_session->RequeryRecordsets();
        QCOMPARE(m_session->rsPruefungenKunden->recordCount(), 5);
    }

    void addAndDeleteImmediately()
    {
        Recordset &customers = *m_session->rsKunden;
        customers.addNew();
        customers.setValue(c.capAdsKundenNr, QStringLiteral("2000"));
        customers.setValue(c.capName1, QStringLiteral("D'Angelo"));
        customers.update();
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Kunden WHERE ADS_Name1 = "
                                      "'D''Angelo'")), 1);
        auto clone = customers.clone();
        clone->setFilter(QStringLiteral("[Kunden-Nr] = '2000'"));
        QCOMPARE(clone->recordCount(), 1);
        clone->deleteCurrent();
        QCOMPARE(clone->recordCount(), 0);
        QCOMPARE(customers.recordCount(), 2); // the clone shares the rows
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Kunden")), 2);
    }

    void newRowGetsDefaultsOfTheDatabase()
    {
        Recordset &tests = *m_session->rsPruefungen;
        tests.addNew();
        tests.setValue(c.capBemerkung, QStringLiteral("neu"));
        tests.setValue(c.capDatum, QDateTime(QDate(2024, 5, 1), QTime(8, 0)));
        tests.setValue(c.capDruckkurve, QStringLiteral("long curve"));
        tests.update();
        QCOMPARE(tests.value(c.capZaehlerNr).toString(), QStringLiteral("00000000"));
        QCOMPARE(tests.value(c.capDruckkurve).toString(), QStringLiteral("long curve"));
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Pruefungen WHERE PFG_Datum = "
                                      "'2024-05-01 08:00:00'")), 1);
    }

    void batchWaitsForUpdateBatch()
    {
        Recordset rs(m_session->dbConnection, SqlPruefungen(), LockType::BatchOptimistic);
        rs.setFilter(QStringLiteral("[Neue Prüfung] = TRUE"));
        QCOMPARE(rs.recordCount(), 2);
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            rs.setValue(c.capPruefer, QStringLiteral("Batch"));
        rs.moveFirst();
        rs.deleteCurrent();
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Pruefungen WHERE PFG_Pruefer = "
                                      "'Batch'")), 0);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Pruefungen")), 5);
        Transaction transaction(m_session->dbConnection);
        rs.updateBatch();
        transaction.commit();
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Pruefungen WHERE PFG_Pruefer = "
                                      "'Batch'")), 1);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Pruefungen")), 4);
    }

    void rowChangedElsewhereIsNotOverwritten()
    {
        auto tests = m_session->rsPruefungen->clone();
        tests->setFilter(QStringLiteral("[Bemerkung] = 't1'"));
        m_session->dbConnection.execute(QStringLiteral("DELETE FROM Pruefungen WHERE "
                                                       "PFG_Bemerkung = 't1'"));
        tests->setValue(c.capPruefer, QStringLiteral("X"));
        try {
            tests->update();
            QFAIL("update of a vanished row succeeded");
        } catch (const RuntimeErrorException &error) {
            QCOMPARE(error.error().number, int(DatabaseError::RowNotFound));
        }
        tests->cancelUpdate();
        QCOMPARE(tests->value(c.capPruefer).toString(), QStringLiteral("Meier"));
    }

    void readOnlyLists_data()
    {
        QTest::addColumn<QString>("select");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("inspectors of filed tests") << SqlPrueferAlt()
                                                   << QStringList{"Meier", "Schulz"};
        QTest::newRow("instruments of new tests") << SqlFabNrNeu()
                                                  << QStringList{"063 01 00001", "063 01 00002"};
        QTest::newRow("clients of new tests (none set)") << SqlAuftraggeberNeu() << QStringList{};
    }
    void readOnlyLists()
    {
        QFETCH(QString, select);
        QFETCH(QStringList, values);
        Recordset rs(m_session->dbConnection, select, LockType::Optimistic);
        QStringList found;
        for (; !rs.eof(); rs.moveNext())
            found << rs.value(0).toString();
        QCOMPARE(found, values);
        if (!rs.bof()) {
            rs.moveFirst();
            QVERIFY_THROWS_EXCEPTION(RuntimeErrorException, rs.setValue(0, QStringLiteral("x")));
        }
    }

    void everyTestNewGivesNoFiledInspectors()
    {
        m_session->dbConnection.execute(QStringLiteral("UPDATE Pruefungen SET PFG_NeuePruefung "
                                                       "= ?"), {true});
        Recordset rs(m_session->dbConnection, SqlPrueferAlt(), LockType::ReadOnly);
        QCOMPARE(rs.recordCount(), 0);
    }

    void requeryKeepsFilterOfClones()
    {
        auto clone = m_session->rsPruefungen->clone();
        clone->setFilter(QStringLiteral("[Neue Prüfung] =  TRUE"));
        RecordsetModel model(clone.get());
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), c.capKundenNr);
        m_session->dbConnection.execute(SqlDeletePruefungen());
        m_session->RequeryRecordsets();
        QCOMPARE(clone->recordCount(), 0);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(clone->filter(), QStringLiteral("[Neue Prüfung] =  TRUE"));
    }
};

QTEST_GUILESS_MAIN(RecordsetTest)
#include "RecordsetTest.moc"
