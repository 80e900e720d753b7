#include "data/RuntimeError.h"
#include "masterdata/import/CustomerImport.h"
#include "newtests/NewTestsFixture.h"

#include <QTest>

using NewTestsFixture::FixtureDb;
using Rows = QList<QStringList>;

// Values reach the table as they are, and a write that fails leaves the table as it was.
class CustomerImportRollbackTest : public QObject
{
    Q_OBJECT

    static Rows customers(FixtureDb &db)
    {
        Rows result;
        QSqlQuery query = db.session.dbConnection.select(
            QStringLiteral("SELECT ADS_KundenNr, ADS_Name1 FROM Kunden ORDER BY ADS_ID"));
        while (query.next())
            result << QStringList{query.value(0).toString(), query.value(1).toString()};
        return result;
    }

    static ImportMapping numberAndName()
    {
        ImportMapping mapping;
        mapping.parse(QStringLiteral("Kunden-Nr=K,Name1=N"));
        return mapping;
    }

private slots:
    void valuesImportAsTheyAre()
    {
        FixtureDb db;
        const ImportTable table{{"K", "N"},
                                {{"1'; DROP TABLE Kunden; --", "a\"b'c"},
                                 {"1'; drop table kunden; --", "O'Brien"},
                                 {"2%_*?[", "x"}}};
        const ImportCounts counts = CustomerImport(db.session.dbConnection, numberAndName(),
                                                   UpdateMethod::Update).run(table);
        QCOMPARE(customers(db), (Rows{{"1'; drop table kunden; --", "O'Brien"}, {"2%_*?[", "x"}}));
        QCOMPARE(counts.added, 2);
        QCOMPARE(counts.changed, 1);
    }

    void failureKeepsNothing()
    {
        FixtureDb db;
        db.addCustomer({"1002", "Alt"});
        db.session.dbConnection.execute(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE INSERT ON Kunden WHEN NEW.ADS_KundenNr = '3' "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        const ImportTable table{{"K", "N"}, {{"1", "a"}, {"1002", "b"}, {"3", "c"}}};
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException,
                                 CustomerImport(db.session.dbConnection, numberAndName(),
                                                UpdateMethod::Update).run(table));
        QCOMPARE(customers(db), (Rows{{"1002", "Alt"}}));
        QVERIFY(!db.session.dbConnection.inTransaction());
    }
};

QTEST_GUILESS_MAIN(CustomerImportRollbackTest)
#include "CustomerImportRollbackTest.moc"
