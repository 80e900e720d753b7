#include "NewTestsFixture.h"
#include "data/ErrorReport.h"
#include "data/Progress.h"
#include "data/Recordset.h"
#include "newtests/AllColumnsLikeFilter.h"
#include "newtests/AutomaticFiling.h"
#include "newtests/FileTestUnderCustomer.h"
#include "newtests/FilingCase.h"
#include "newtests/NewCustomerFiling.h"
#include "newtests/NewTestsList.h"
#include "newtests/TestEditing.h"
#include "support/CapturingPresenter.h"

#include <QTest>

using namespace NewTestsFixture;

namespace {

QList<int> bookmarksOf(Recordset &list, const QList<int> &positions)
{
    QList<int> bookmarks;
    for (int position : positions) {
        list.move(position);
        bookmarks << list.bookmark();
    }
    return bookmarks;
}

} // namespace

class FilingTest : public QObject
{
    Q_OBJECT

private slots:
    void filingCase_data()
    {
        QTest::addColumn<QString>("kundenNr");
        QTest::addColumn<QString>("zaehlerNr");
        QTest::addColumn<int>("expected"); // -1: no case
        QTest::newRow("measurement number only") << "M0815" << "0" << 0;
        QTest::newRow("measurement number, meter as zeros") << "M12" << "00000000" << 0;
        QTest::newRow("measurement number and meter") << "M12" << "4711" << 1;
        QTest::newRow("customer number only") << "123" << "0" << 2;
        QTest::newRow("customer number, empty meter") << "0042" << "" << 2;
        QTest::newRow("customer and meter") << "7" << " 99 " << 3;
        QTest::newRow("customer 0 and meter 0") << "0" << "0" << -1;
        QTest::newRow("lower-case m is no measurement number") << "m12" << "0" << -1;
        QTest::newRow("letters in the customer number") << "12A" << "0" << -1;
        QTest::newRow("meter that is no number") << "12" << "AB-1" << -1;
        QTest::newRow("quote in the customer number") << "12'3" << "0" << -1;
    }
    void filingCase()
    {
        QFETCH(QString, kundenNr);
        QFETCH(QString, zaehlerNr);
        QFETCH(int, expected);
        QCOMPARE(FilingCase(kundenNr, zaehlerNr).value_or(-1), expected);
    }

    void allColumnsLikeFilter()
    {
        FixtureDb db;
        const QString filter = AllColumnsLikeFilter(*db.session.rsKunden, QStringLiteral("O'B*"));
        QVERIFY(filter.startsWith(QStringLiteral("[Kunden-Nr] LIKE '*O''B*' OR [Name1] LIKE")));
        QCOMPARE(filter.count(QStringLiteral(" OR ")), 9);
    }

    // Whatever a user types, the search finds what holds it literally and nothing breaks.
    void searchIsLiteral_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("found"); // customer numbers
        QTest::newRow("quote") << "O'Brien" << QStringList{"3"};
        QTest::newRow("hash") << "#12" << QStringList{"4"};
        QTest::newRow("brackets") << "[b]" << QStringList{"5"};
        QTest::newRow("star inside") << "1*3" << QStringList{"1*3"};
        QTest::newRow("question mark") << "1?3" << QStringList{"1?3"};
        QTest::newRow("trailing star dropped") << "Brien*" << QStringList{"3"};
        QTest::newRow("percent") << "50%" << QStringList{"50%"};
    }
    void searchIsLiteral()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, found);
        FixtureDb db;
        for (const QStringList &customer :
             {QStringList{"123", "Alpha"}, QStringList{"1*3", "Beta"},
              QStringList{"1?3", "Gamma"}, QStringList{"3", "O'Brien"},
              QStringList{"4", "Haus #12"}, QStringList{"5", "Ecke [b] (c)"},
              QStringList{"50%", "Delta"}, QStringList{"500", "Epsilon"}})
            db.addCustomer(customer);
        db.reload();
        auto list = db.session.rsKunden->clone();
        list->setFilter(AllColumnsLikeFilter(*list, key));
        QStringList numbers;
        for (int bookmark : RowsContainingLiterally(*list, key)) {
            list->setBookmark(bookmark);
            numbers << list->value(0).toString();
        }
        QCOMPARE(numbers, found);
    }

    void automaticFiling()
    {
        FixtureDb db;
        CapturingPresenter errors;
        db.addCustomer({"100", "Einzig", "M0815"});
        db.addCustomer({"123", "Erster"});
        db.addCustomer({"5123", "Zweiter"});
        db.addCustomer({"77", "Zählerkunde", {}, {}, {}, {}, {}, {}, "4711"});
        db.addCustomer({"1?3", "Fragezeichen"});
        db.addTest({.kundenNr = "M0815", .bemerkung = "by measurement number"});
        db.addTest({.kundenNr = "123", .bemerkung = "ambiguous"});
        db.addTest({.kundenNr = "M9", .zaehlerNr = "4711", .bemerkung = "by meter"});
        db.addTest({.kundenNr = "0", .bemerkung = "no case"});
        db.addTest({.kundenNr = "999", .bemerkung = "no customer"});
        db.addTest({.kundenNr = "M1?3", .bemerkung = "wildcard in the number"});
        db.reload();
        auto list = OpenNewTestsList(*db.session.rsPruefungen);
        QCOMPARE(list->recordCount(), 6);
        QStringList asked;
        const auto result = RunAutomaticFiling(
            db.session.dbConnection, *list, *db.session.rsKunden,
            bookmarksOf(*list, {0, 1, 2, 3, 4, 5}), [&](const QString &question) {
                asked << question;
                return false;
            });
        QVERIFY(!result.ended);
        QCOMPARE(result.outcomes.size(), 6);
        using S = FilingOutcome::Status;
        const QList<S> expected{S::Filed, S::Ambiguous, S::Filed, S::NoCase, S::NoCustomer,
                                S::NoCustomer};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(result.outcomes[i].status, expected[i]);
        QCOMPARE(db.column("PFG_KundenNr"),
                 (QVariantList{"100", "123", "77", "0", "999", "M1?3"}));
        QCOMPARE(db.column("PFG_NeuePruefung"), (QVariantList{0, 1, 0, 1, 1, 1}));
        QVERIFY(asked.isEmpty()); // the same meter number: nothing to ask
        QVERIFY(errors.messages.isEmpty());
    }

    // Two rows selected while the current row is the lower one: exactly those two are filed.
    void filesExactlyTheSelectedRows()
    {
        FixtureDb db;
        for (const char *number : {"11", "22", "33"})
            db.addCustomer({number, "Kunde"});
        for (const char *number : {"11", "22", "33"})
            db.addTest({.kundenNr = number});
        db.reload();
        auto list = OpenNewTestsList(*db.session.rsPruefungen);
        const QList<int> selected = bookmarksOf(*list, {0, 2});
        list->move(2);
        RunAutomaticFiling(db.session.dbConnection, *list, *db.session.rsKunden, selected,
                           [](const QString &) { return false; });
        QCOMPARE(db.column("PFG_NeuePruefung"), (QVariantList{0, 1, 0}));
    }

    void meterNumberQuestion_data()
    {
        QTest::addColumn<QVariant>("customerMeter");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("meterAfter");
        QTest::addColumn<QString>("oldMeterAfter");
        QTest::newRow("Yes replaces") << QVariant("1111") << true << true << "4711"
                                      << "1111";
        QTest::newRow("No keeps both") << QVariant("1111") << false << true << "1111"
                                       << "";
        QTest::newRow("missing gets the placeholder, then Yes")
            << QVariant() << true << true << "4711" << "00000000";
        QTest::newRow("missing gets the placeholder, No keeps it")
            << QVariant() << false << true << "00000000" << "";
        QTest::newRow("same number: no question") << QVariant("4711") << true << false << "4711"
                                                  << "";
    }
    void meterNumberQuestion()
    {
        QFETCH(QVariant, customerMeter);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(QString, meterAfter);
        QFETCH(QString, oldMeterAfter);
        FixtureDb db;
        CapturingPresenter errors;
        db.addCustomer({"7", "Kunde", {}, {}, {}, {}, {}, {},
                        customerMeter.isNull() ? QString() : customerMeter.toString()});
        if (customerMeter.isNull())
            db.session.dbConnection.execute(QStringLiteral("UPDATE Kunden SET ADS_ZaehlerNr = NULL"));
        db.addTest({.kundenNr = "7", .zaehlerNr = "4711"});
        db.reload();
        auto list = OpenNewTestsList(*db.session.rsPruefungen);
        QStringList questions;
        bool inTransaction = true;
        RunAutomaticFiling(db.session.dbConnection, *list, *db.session.rsKunden,
                           bookmarksOf(*list, {0}), [&](const QString &question) {
                               questions << question;
                               inTransaction = db.session.dbConnection.inTransaction();
                               return answer;
                           });
        QCOMPARE(questions.size(), asked ? 1 : 0);
        if (asked) {
            QVERIFY(!inTransaction); // nobody waits on a locked database for the answer
            QVERIFY(questions[0].contains(QStringLiteral("neu (aus Messung):4711")));
        }
        QCOMPARE(db.scalar("SELECT ADS_ZaehlerNr FROM Kunden").toString(), meterAfter);
        QCOMPARE(db.scalar("SELECT ADS_ZaehlerNrAlt FROM Kunden").toString(), oldMeterAfter);
        QCOMPARE(db.column("PFG_NeuePruefung"), QVariantList{0}); // filed all the same
        QVERIFY(errors.messages.isEmpty());
    }

    // A meter number that is no number cannot be compared: the filing is refused and reported.
    void unreadableMeterNumberFails()
    {
        FixtureDb db;
        CapturingPresenter errors;
        db.addCustomer({"7", "Kunde"});
        db.addTest({.kundenNr = "7", .zaehlerNr = "AB-12"});
        db.reload();
        auto list = OpenNewTestsList(*db.session.rsPruefungen);
        auto customers = db.session.rsKunden->clone();
        customers->moveFirst();
        QVERIFY(!FileTestUnderCustomer(db.session.dbConnection, *list, *customers,
                                       FilingVariant::FilingWindow,
                                       [](const QString &) { return true; }));
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages[0].contains(QStringLiteral("AB-12")));
        QCOMPARE(db.column("PFG_NeuePruefung"), QVariantList{1});
        QVERIFY(!db.session.dbConnection.inTransaction());
    }

    void withoutLeadingZeros_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("number");
        QTest::newRow("zeros") << " 0042 " << "42";
        QTest::newRow("all zeros") << "000" << "0";
        QTest::newRow("plain") << "42" << "42";
        QTest::newRow("letters") << "0A1" << "A1";
    }
    void withoutLeadingZeros()
    {
        QFETCH(QString, typed);
        QFETCH(QString, number);
        QCOMPARE(WithoutLeadingZeros(typed), number);
    }

    void createCustomerAndFile()
    {
        FixtureDb db;
        db.addTest({.kundenNr = "M1"});
        db.reload();
        auto list = OpenNewTestsList(*db.session.rsPruefungen);
        auto customers = db.session.rsKunden->clone();
        QVERIFY(CreateCustomerAndFile(db.session.dbConnection, *customers, *list,
                                      {" 0042 ", "Neu", "", "Weg 1", "12345", "Ort", "", "",
                                       "4711", ""}));
        QCOMPARE(db.scalar("SELECT ADS_KundenNr || '|' || ADS_Name1 || '|' || ADS_Name2 || '|' "
                           "|| ADS_ZaehlerNr FROM Kunden").toString(),
                 QStringLiteral("0042|Neu||4711"));
        QCOMPARE(db.column("PFG_KundenNr"), QVariantList{"0042"});
        QCOMPARE(db.column("PFG_NeuePruefung"), QVariantList{0});
    }

    void editAndDeleteTest()
    {
        FixtureDb db;
        CapturingPresenter errors;
        db.addTest({.kundenNr = "M1", .bemerkung = "old"});
        db.addTest({.kundenNr = "M2"});
        db.reload();
        auto list = OpenNewTestsList(*db.session.rsPruefungen);
        list->moveFirst();
        QVERIFY(SaveTestEdits(db.session.dbConnection, *list, "  Meier ", "Stadtwerke ", "  "));
        QCOMPARE(db.scalar("SELECT PFG_Pruefer || '|' || PFG_Auftraggeber || '|' || "
                           "PFG_Bemerkung FROM Pruefungen WHERE PFG_KundenNr = 'M1'").toString(),
                 QStringLiteral("Meier|Stadtwerke|"));
        QVERIFY(DeleteTest(db.session.dbConnection, *list));
        QCOMPARE(db.column("PFG_KundenNr"), QVariantList{"M2"});

        // A test another program deleted meanwhile: the failure is reported, not ignored.
        list->moveFirst();
        db.session.dbConnection.execute(QStringLiteral("DELETE FROM Pruefungen"));
        QVERIFY(!DeleteTest(db.session.dbConnection, *list));
        QCOMPARE(errors.messages.size(), 1);
    }

    void deleteMarkedTests()
    {
        FixtureDb db;
        for (const char *number : {"M1", "M2", "M3"})
            db.addTest({.kundenNr = number});
        db.reload();
        auto list = OpenNewTestsList(*db.session.rsPruefungen);
        Progress progress;
        QCOMPARE(DeleteMarkedTests(*list, bookmarksOf(*list, {0, 2}), &progress), 2);
        QVERIFY(!progress.isShown());
        QCOMPARE(db.column("PFG_KundenNr"), QVariantList{"M2"});
    }
};

QTEST_GUILESS_MAIN(FilingTest)
#include "FilingTest.moc"
