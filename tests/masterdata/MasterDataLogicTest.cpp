#include "data/DatabaseError.h"
#include "data/Progress.h"
#include "data/Recordset.h"
#include "masterdata/CustomerDeletion.h"
#include "masterdata/KundenNr.h"
#include "masterdata/MasterDataEntry.h"
#include "masterdata/MasterListDocument.h"
#include "masterdata/MasterListSearch.h"
#include "newtests/NewTestsFixture.h"
#include "support/CapturingPresenter.h"

#include <QTest>

using namespace NewTestsFixture;

namespace {

QStringList firstColumn(Recordset &list)
{
    QStringList values;
    for (int row = 0; row < list.recordCount(); ++row)
        values << list.valueAt(row, 0).toString();
    return values;
}

QStringList customerNumbers(FixtureDb &db)
{
    QStringList numbers;
    QSqlQuery query = db.session.dbConnection.select(
        QStringLiteral("SELECT ADS_KundenNr FROM Kunden ORDER BY ADS_KundenNr"));
    while (query.next())
        numbers << query.value(0).toString();
    return numbers;
}

// Positions list on the row whose first column holds key.
void moveTo(Recordset &list, const QString &key)
{
    for (int row = 0; row < list.recordCount(); ++row) {
        if (list.valueAt(row, 0).toString() == key) {
            list.move(row);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no row ") + key));
}

} // namespace

class MasterDataLogicTest : public QObject
{
    Q_OBJECT

private slots:
    // The list search finds what the user typed as typed; a key the filter language would
    // read as a wildcard is refused, never answered with rows that do not hold it.
    void search_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("found"); // customer numbers, or "invalid"
        QTest::newRow("name, any case") << "müller" << QStringList{"000001"};
        QTest::newRow("quote") << "O'Brien" << QStringList{"000003"};
        QTest::newRow("lone quote") << "'" << QStringList{"000003"};
        QTest::newRow("hash") << "#12" << QStringList{"000004"};
        QTest::newRow("brackets") << "[b]" << QStringList{"000005"};
        QTest::newRow("parenthesis") << "(c)" << QStringList{"000005"};
        QTest::newRow("number without its zeros") << "42" << QStringList{"000042", "004200"};
        QTest::newRow("number with its zeros") << "000042" << QStringList{"000042"};
        QTest::newRow("zeros inside") << "0042" << QStringList{"000042", "004200"};
        QTest::newRow("other column") << "Bahnhofstr" << QStringList{"000042"};
        QTest::newRow("trailing star dropped") << "Brien*" << QStringList{"000003"};
        QTest::newRow("nothing found") << "Zürich" << QStringList{};
        QTest::newRow("star inside") << "1*3" << QStringList{"invalid"};
        QTest::newRow("question mark") << "Br?en" << QStringList{"invalid"};
        QTest::newRow("percent") << "50%" << QStringList{"invalid"};
        QTest::newRow("leading star") << "*Brien" << QStringList{"invalid"};
    }
    void search()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, found);
        FixtureDb db;
        for (const QStringList &customer :
             {QStringList{"000001", "Müller"}, QStringList{"000003", "O'Brien"},
              QStringList{"000004", "Haus #12"}, QStringList{"000005", "Ecke [b] (c)"},
              QStringList{"000042", "Alpha", {}, "Bahnhofstr. 1"},
              QStringList{"004200", "Beta"}, QStringList{"000123", "Gamma 50 %x"}})
            db.addCustomer(customer);
        db.reload();
        auto list = db.session.rsKunden->clone();
        list->setSort(QStringLiteral("[Kunden-Nr] ASC"));
        try {
            QVERIFY(ApplyMasterListSearch(*list, key));
            QCOMPARE(firstColumn(*list), found);
        } catch (const RuntimeErrorException &e) {
            QCOMPARE(found, QStringList{"invalid"});
            QCOMPARE(e.error().number, qint32(DatabaseError::InvalidArgument));
            QCOMPARE(list->recordCount(), 7); // the filter is cleared
        }
    }

    void emptySearchClearsTheFilter()
    {
        FixtureDb db;
        db.addCustomer({"1", "A"});
        db.addCustomer({"2", "B"});
        db.reload();
        auto list = db.session.rsKunden->clone();
        QVERIFY(ApplyMasterListSearch(*list, QStringLiteral("A")));
        QCOMPARE(list->recordCount(), 1);
        QVERIFY(!ApplyMasterListSearch(*list, QString()));
        QCOMPARE(list->recordCount(), 2);
    }

    void formatKundenNr_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("blanks around") << "  42 " << "000042";
        QTest::newRow("six digits") << "123456" << "123456";
        QTest::newRow("seven digits stay") << "1234567" << "1234567";
        QTest::newRow("letters") << "AB" << "0000AB";
        QTest::newRow("quote") << "1'2" << "0001'2";
        QTest::newRow("leading zeros kept") << "007" << "000007";
    }
    void formatKundenNr()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(FormatKundenNr(typed), stored);
    }

    // The checks of the entry window, for every list kind and both modes.
    void check_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("newRecord");
        QTest::addColumn<QString>("editing");  // key of the record edited
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");  // empty: passes
        QTest::addColumn<QString>("formed");   // the key box afterwards
        const QString duplicate = QStringLiteral(
            "Die Kunden-Nr ist schon vorhanden.\r\n\r\nBitte vergeben Sie eine andere Kunden-Nr.");
        const int customers = int(MasterListKind::Customers);
        QTest::newRow("empty customer number") << customers << true << "" << "   "
                                               << "Bitte geben Sie eine Kunden-Nr ein." << "   ";
        QTest::newRow("new number") << customers << true << "" << "43" << "" << "000043";
        QTest::newRow("existing after the zeros") << customers << true << "" << " 42"
                                                  << duplicate << "000042";
        QTest::newRow("existing, other case") << customers << true << "" << "ab" << duplicate
                                              << "0000ab";
        QTest::newRow("edit keeps its number") << customers << false << "000042" << "42" << ""
                                               << "000042";
        QTest::newRow("edit to another's number") << customers << false << "000042" << "AB"
                                                  << duplicate << "0000AB";
        QTest::newRow("quote is no filter text") << customers << true << "" << "1'2" << ""
                                                 << "0001'2";
        QTest::newRow("existing number with a quote") << customers << true << "" << "O'1"
                                                      << duplicate << "000O'1";
        QTest::newRow("wildcard matches nothing else") << customers << true << "" << "0000*"
                                                       << "" << "00000*";
        QTest::newRow("empty inspector") << int(MasterListKind::Inspectors) << true << "" << ""
                                         << "Bitte geben Sie einen Prüfer ein." << "";
        QTest::newRow("inspector as typed") << int(MasterListKind::Inspectors) << true << ""
                                            << "Max" << "" << "Max";
        QTest::newRow("inspector duplicates pass") << int(MasterListKind::Inspectors) << true
                                                   << "" << "Eva" << "" << "Eva";
        QTest::newRow("empty client") << int(MasterListKind::Clients) << true << "" << " "
                                      << "Bitte geben Sie einen Auftraggeber ein." << " ";
    }
    void check()
    {
        QFETCH(int, kind);
        QFETCH(bool, newRecord);
        QFETCH(QString, editing);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QFETCH(QString, formed);
        FixtureDb db;
        db.addCustomer({"000042", "Alpha"});
        db.addCustomer({"0000AB", "Beta"});
        db.addCustomer({"000O'1", "Gamma"});
        db.addNames({"Eva"}, {"Stadtwerke"});
        db.reload();
        auto list = sharedList(db.session, MasterListKind(kind)).clone();
        if (!editing.isEmpty())
            moveTo(*list, editing);
        MasterDataEntry entry(db.session, *list, MasterListKind(kind), newRecord);
        entry.load();
        QStringList values{typed};
        const auto result = entry.check(values);
        QCOMPARE(result ? result->text : QString(), refusal);
        QCOMPARE(values.first(), formed);
    }

    void savesNewCustomerTrimmed()
    {
        FixtureDb db;
        db.addTest({.kundenNr = "000042", .neu = false});
        db.reload();
        auto list = db.session.rsKunden->clone();
        MasterDataEntry entry(db.session, *list, MasterListKind::Customers, true);
        QStringList values = entry.load();
        QCOMPARE(values.size(), 10);
        values[0] = QStringLiteral(" 42 ");
        values[1] = QStringLiteral("  Müller ");
        values[5] = QStringLiteral("Köln");
        QVERIFY(!entry.check(values));
        entry.save(values);
        QSqlQuery stored = db.session.dbConnection.select(QStringLiteral(
            "SELECT ADS_Name1, ADS_Ort, ADS_Name2 FROM Kunden WHERE ADS_KundenNr = '000042'"));
        QVERIFY(stored.next());
        QCOMPARE(stored.value(0).toString(), QStringLiteral("Müller"));
        QCOMPARE(stored.value(1).toString(), QStringLiteral("Köln"));
        // An empty box stores an empty text, not NULL.
        QVERIFY(!stored.value(2).isNull());
        QCOMPARE(stored.value(2).toString(), QString());
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")), QVariantList{"000042"});
    }

    void savesInspectorAsTyped()
    {
        FixtureDb db;
        auto list = db.session.rsPruefer->clone();
        MasterDataEntry entry(db.session, *list, MasterListKind::Inspectors, true);
        QStringList values{QStringLiteral(" Max ")};
        QVERIFY(!entry.check(values));
        entry.save(values);
        QCOMPARE(db.scalar(QStringLiteral("SELECT PFU_Name FROM Pruefer")).toString(),
                 QStringLiteral("Max"));
    }

    // A changed customer number takes the customer's tests, filed or new, along.
    void renumberingCarriesTheTests()
    {
        FixtureDb db;
        db.addCustomer({"000042", "Alpha"});
        db.addCustomer({"000044", "Other"});
        db.addTest({.kundenNr = "000042", .neu = false});
        db.addTest({.kundenNr = "000042", .neu = false});
        db.addTest({.kundenNr = "000042", .neu = true});
        db.addTest({.kundenNr = "000044", .neu = false});
        db.reload();
        auto list = db.session.rsKunden->clone();
        moveTo(*list, QStringLiteral("000042"));
        MasterDataEntry entry(db.session, *list, MasterListKind::Customers, false);
        QStringList values = entry.load();
        QCOMPARE(entry.loadedKey(), QStringLiteral("000042"));
        values[0] = QStringLiteral("43");
        QVERIFY(!entry.check(values));
        entry.save(values);
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")),
                 (QVariantList{"000043", "000043", "000043", "000044"}));
        QCOMPARE(customerNumbers(db), (QStringList{"000043", "000044"}));
        // The shared tests list was reread.
        QCOMPARE(CountFiledTests(*db.session.rsPruefungen, QStringLiteral("000043")), 2);
    }

    // A renumbering that fails half-way leaves customer and tests as they were, and the
    // list shows the stored number again.
    void failedSaveRollsBack()
    {
        FixtureDb db;
        db.addCustomer({"000042", "Alpha"});
        db.addTest({.kundenNr = "000042", .neu = false});
        db.reload();
        db.session.dbConnection.execute(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE UPDATE ON Kunden "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        auto list = db.session.rsKunden->clone();
        list->moveFirst();
        MasterDataEntry entry(db.session, *list, MasterListKind::Customers, false);
        QStringList values = entry.load();
        values[0] = QStringLiteral("43");
        QVERIFY(!entry.check(values));
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException, entry.save(values));
        QCOMPARE(customerNumbers(db), QStringList{"000042"});
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")), QVariantList{"000042"});
        QCOMPARE(firstColumn(*list), QStringList{"000042"});
        QVERIFY(!list->isEditing());
    }

    void deleteCustomerWithFiledTests_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void deleteCustomerWithFiledTests()
    {
        QFETCH(bool, yes);
        FixtureDb db;
        db.addCustomer({"000042", "Alpha"});
        db.addTest({.kundenNr = "000042", .neu = false});
        db.addTest({.kundenNr = "000042", .neu = false});
        db.addTest({.kundenNr = "000042", .neu = true});
        db.addTest({.kundenNr = "000043", .neu = false});
        db.reload();
        auto list = db.session.rsKunden->clone();
        list->moveFirst();
        MasterDataEntry entry(db.session, *list, MasterListKind::Customers, false);
        entry.load();
        QStringList questions;
        QCOMPARE(entry.deleteEntry([&](const QString &q) { questions << q; return yes; }), yes);
        QCOMPARE(questions,
                 QStringList{"Es sind noch Prüfungen vorhanden.\r\nAnzahl der Prüfungen: 2"
                             "\r\n\r\nSoll der Kunde und alle zugehörigen Prüfungen gelöscht "
                             "werden?"});
        QCOMPARE(customerNumbers(db), yes ? QStringList{} : QStringList{"000042"});
        const QVariantList left = yes ? QVariantList{"000042", "000043"}
                                      : QVariantList{"000042", "000042", "000042", "000043"};
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")), left);
        QCOMPARE(db.session.rsPruefungen->recordCount(), yes ? 2 : 4);
    }

    void deleteCustomerWithOnlyNewTests()
    {
        FixtureDb db;
        db.addCustomer({"000042", "Alpha"});
        db.addTest({.kundenNr = "000042", .neu = true});
        db.reload();
        auto list = db.session.rsKunden->clone();
        list->moveFirst();
        MasterDataEntry entry(db.session, *list, MasterListKind::Customers, false);
        QStringList questions;
        QVERIFY(entry.deleteEntry([&](const QString &q) { questions << q; return true; }));
        QCOMPARE(questions, QStringList{"Soll der aktuelle Datensatz gelöscht werden?"});
        QCOMPARE(customerNumbers(db), QStringList{});
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")), QVariantList{"000042"});
    }

    // Deleting from the list: every marked customer goes with its filed tests, in one
    // transaction; new tests keep their number.
    void deleteCustomersFromTheList()
    {
        FixtureDb db;
        for (const char *number : {"000001", "000002", "000003"})
            db.addCustomer({QString::fromLatin1(number)});
        db.addTest({.kundenNr = "000001", .neu = false});
        db.addTest({.kundenNr = "000001", .neu = false});
        db.addTest({.kundenNr = "000001", .neu = true});
        db.addTest({.kundenNr = "000002", .neu = false});
        db.addTest({.kundenNr = "000003", .neu = false});
        db.reload();
        auto list = db.session.rsKunden->clone();
        auto tests = db.session.rsPruefungen->clone();
        QList<int> bookmarks;
        for (const char *number : {"000001", "000003"}) {
            moveTo(*list, QString::fromLatin1(number));
            bookmarks << list->bookmark();
        }
        Progress progress;
        progress.ShowProgress(true, 2, QStringLiteral("x"));
        DeleteCustomers(db.session.dbConnection, *list, *tests, bookmarks, &progress);
        QCOMPARE(progress.value(), 2.0);
        QCOMPARE(customerNumbers(db), QStringList{"000002"});
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")), (QVariantList{"000001", "000002"}));
        QCOMPARE(firstColumn(*list), QStringList{"000002"});
    }

    // A failure half-way rolls customers and tests back together, and the lists show them
    // again.
    void failedDeletionRollsBack()
    {
        FixtureDb db;
        CapturingPresenter errors;
        db.addCustomer({"000001"});
        db.addCustomer({"000002"});
        db.addTest({.kundenNr = "000001", .neu = false});
        db.addTest({.kundenNr = "000002", .neu = false});
        db.reload();
        // Deleting the second customer's test fails in the database.
        db.session.dbConnection.execute(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE DELETE ON Pruefungen WHEN OLD.PFG_KundenNr = '000002' "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        auto list = db.session.rsKunden->clone();
        auto tests = db.session.rsPruefungen->clone();
        QList<int> bookmarks;
        for (int row = 0; row < 2; ++row) {
            list->move(row);
            bookmarks << list->bookmark();
        }
        QVERIFY_THROWS_EXCEPTION(RuntimeErrorException,
                                 DeleteCustomers(db.session.dbConnection, *list, *tests,
                                                 bookmarks, nullptr));
        QCOMPARE(customerNumbers(db), (QStringList{"000001", "000002"}));
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")), (QVariantList{"000001", "000002"}));
        QCOMPARE(list->recordCount(), 2);
        QCOMPARE(tests->recordCount(), 2);
        QVERIFY(!db.session.dbConnection.inTransaction());
    }

    // The printed list holds every entry in the list's order, even while a search narrows the
    // window, with the captions as headings.
    void listDocumentRowsAndOrder()
    {
        FixtureDb db;
        db.addCustomer({"000001", "A", {}, {}, {}, "Aachen"});
        db.addCustomer({"000002", "B", {}, {}, {}, "Zwickau"});
        db.addCustomer({"000003", "C", {}, {}, {}, "Mainz"});
        db.reload();
        auto list = db.session.rsKunden->clone();
        list->setSort(QStringLiteral("[Ort] DESC"));
        list->setFilter(QStringLiteral("[Name1] = 'A'"));
        const auto document = MasterListDocument(*list, QStringLiteral("Liste aller Kunden"));
        QCOMPARE(document->headings().first(), QStringLiteral("Kunden-Nr"));
        QCOMPARE(document->headings().size(), 10);
        QCOMPARE(document->pageSetup().headerText, QStringLiteral("&LListe aller Kunden &R&D"));
        QCOMPARE(document->pageSetup().footerText, QStringLiteral("Seite &C&P/&N"));
        QCOMPARE(document->pageCount(), 1);
    }
};

QTEST_MAIN(MasterDataLogicTest)
#include "MasterDataLogicTest.moc"
