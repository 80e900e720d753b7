#include "NewTestsFixture.h"
#include "app/clsGrid.h"
#include "app/frmMain.h"
#include "data/IniFile.h"
#include "data/Recordset.h"
#include "statistics/TestDataView.h"
#include "newtests/frmEinpflegen.h"
#include "newtests/frmNeuePruefungen.h"
#include "newtests/frmPruefungen.h"
#include "statistics/CurveChartView.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace NewTestsFixture;

namespace {

// The program's main window around a new tests window on the fixture's database.
struct Windows
{
    explicit Windows(FixtureDb &db)
        : ini(db.dir.filePath(QStringLiteral("Lumetra4Desktop.ini")))
        , locations(db.dir.path())
        , main(ini, locations, Settings{})
    {
        window = new frmNeuePruefungen(db.session, ini, main);
        main.openChild(window, nullptr);
    }

    QStringList column(const QString &caption)
    {
        QStringList texts;
        const int c = window->adoPruef().fieldIndex(caption);
        auto *model = window->grid()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, c).data().toString();
        return texts;
    }

    void select(const QList<int> &rows)
    {
        window->grid()->clearSelection();
        for (int row : rows)
            window->grid()->selectionModel()->select(
                window->grid()->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    void setCurrent(int row)
    {
        window->grid()->selectionModel()->setCurrentIndex(
            window->grid()->model()->index(row, 0), QItemSelectionModel::NoUpdate);
    }

    IniFile ini;
    FileLocations locations;
    frmMain main;
    frmNeuePruefungen *window;
};

template<typename T>
T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromUtf8(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

} // namespace

class NewTestsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void listsNewTestsWithFindingsAndCurves()
    {
        FixtureDb db;
        db.addTest({.kundenNr = "M1", .befund = 2, .druckkurve = pressureCurve,
                    .flusskurve = flowCurve});
        db.addTest({.kundenNr = "M2", .pruefart = 3, .befund = 255, .fliessdruck = 23.0,
                    .ruhedruck = -99999.0, .savDruck = 70.0, .nullabschluss = 0,
                    .gmSicherung = 3});
        db.addTest({.kundenNr = "4711", .neu = false});
        db.reload();
        Windows w(db);
        const ColumnCaptions &c = columnCaptions();
        QCOMPARE(w.column(c.capKundenNr), (QStringList{"M1", "M2"}));
        QCOMPARE(w.column(c.capBefund), (QStringList{"nOK", ""}));
        QCOMPARE(w.column(c.capPruefart),
                 (QStringList{"Gebrauchsfähigkeitsprüfung", "Reglerprüfung"}));
        QTableView *grid = w.window->grid();
        const int kundenNr = w.window->adoPruef().fieldIndex(c.capKundenNr);
        QCOMPARE(grid->model()->headerData(kundenNr, Qt::Horizontal).toString(),
                 QStringLiteral("Mess-Nr (M) / Kunden-Nr"));
        QVERIFY(grid->isColumnHidden(w.window->adoPruef().fieldIndex(c.capDruckkurve)));
        QVERIFY(w.main.toolButton(QStringLiteral("Einpflegen"))->isEnabled());

        auto *tabs = child<QTabWidget>(w.window, "SSTab1");
        tabs->setCurrentIndex(1);
        auto *pressure = child<CurveChartView>(w.window, "ChartDruck");
        auto *flow = child<CurveChartView>(w.window, "ChartFluss");
        QVERIFY(!pressure->isHidden());
        QVERIFY(!flow->isHidden());
        QCOMPARE(pressure->chart().title, QStringLiteral("Druckkurve"));
        QCOMPARE(flow->chart().valueAxisTitle, QStringLiteral("l / h"));
        QVERIFY(pressure->chart().points.size() >= 8);
        QVERIFY(child<QLabel>(w.window, "lblNoData")->isHidden());
        QVERIFY(w.window->findChild<TestDataView *>()->texts().contains(QStringLiteral("nOK")));
        QVERIFY(!w.main.toolButton(QStringLiteral("Einpflegen"))->isEnabled());

        // A regulator test without curves: no chart, the not-measured value stays empty.
        tabs->setCurrentIndex(0);
        w.setCurrent(1);
        tabs->setCurrentIndex(1);
        QVERIFY(pressure->isHidden());
        QVERIFY(!child<QLabel>(w.window, "lblNoData")->isHidden());
        const QStringList texts = w.window->findChild<TestDataView *>()->texts();
        const int ruhedruck = int(texts.indexOf(QStringLiteral("Ruhedruck:")));
        QCOMPARE(texts.mid(ruhedruck, 3), (QStringList{"Ruhedruck:", "", ""}));
        QVERIFY(texts.contains(QStringLiteral("GM-Sicherung:")));
        QVERIFY(texts.contains(QStringLiteral("fehlt")));
    }

    void automaticFilingFromTheWindow_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("meterAfter");
        QTest::newRow("Yes") << true << "4711";
        QTest::newRow("No") << false << "1111";
    }
    void automaticFilingFromTheWindow()
    {
        QFETCH(bool, answer);
        QFETCH(QString, meterAfter);
        FixtureDb db;
        RecordingMessageBoxes boxes;
        boxes.answers << answer;
        db.addCustomer({"42", "Eindeutig", {}, {}, {}, {}, {}, {}, "1111"});
        db.addCustomer({"123", "Erster"});
        db.addCustomer({"1234", "Zweiter"});
        db.addTest({.kundenNr = "42", .zaehlerNr = "4711"});
        db.addTest({.kundenNr = "123"});
        db.addTest({.kundenNr = "M5"});
        db.reload();
        Windows w(db);
        w.select({0, 1});
        w.window->CLICK_EINPFLEGEN_AUTOMATISCH();
        QCOMPARE(boxes.questions.size(), 1);
        QCOMPARE(db.column("PFG_NeuePruefung"), (QVariantList{0, 1, 1}));
        QCOMPARE(db.scalar("SELECT ADS_ZaehlerNr FROM Kunden WHERE ADS_KundenNr = '42'")
                     .toString(), meterAfter);
        // The list shows what remains new.
        QCOMPARE(w.column(columnCaptions().capKundenNr), (QStringList{"123", "M5"}));
    }

    void fileByHandUnderFoundCustomer()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        db.addCustomer({"42", "Gefunden"});
        db.addCustomer({"7", "Anderer"});
        db.addTest({.kundenNr = "42"});
        db.reload();
        Windows w(db);
        bool onListTab = false;
        w.window->setDialogRunner([&](QDialog &dialog) {
            auto &filing = static_cast<frmEinpflegen &>(dialog);
            onListTab = child<QTabWidget>(&filing, "SSTab1")->currentIndex() == 1;
            QCOMPARE(filing.customerList().recordCount(), 1);
            QVERIFY(child<QLineEdit>(&filing, "TextFeld0")->text().isEmpty());
            filing.cmdEinpflegenZuordnen();
        });
        w.window->CLICK_EINPFLEGEN_MANUELL();
        QVERIFY(onListTab);
        QCOMPARE(db.column("PFG_NeuePruefung"), QVariantList{0});
        QCOMPARE(w.window->adoPruef().recordCount(), 0);
        QVERIFY(boxes.shown.isEmpty());
    }

    void fileByHandUnderNewCustomer()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        db.addCustomer({"42", "Vorhanden"});
        db.addTest({.kundenNr = "M1"});
        db.reload();
        Windows w(db);
        w.window->setDialogRunner([&](QDialog &dialog) {
            auto &filing = static_cast<frmEinpflegen &>(dialog);
            QCOMPARE(child<QTabWidget>(&filing, "SSTab1")->currentIndex(), 0);
            QCOMPARE(child<QLineEdit>(&filing, "txtLastKundenNr")->text(), QStringLiteral("42"));
            auto *number = child<QLineEdit>(&filing, "TextFeld0");
            number->setText(QStringLiteral("0042"));
            filing.cmdEinpflegenNeu();
            QCOMPARE(boxes.texts(),
                     QStringList{"Die Kunden-Nr \"42\" ist schon vorhanden.\n"
                                 "Bitte geben Sie eine andere Kunden-Nr ein."});
            QCOMPARE(filing.result(), 0); // still open
            number->setText(QStringLiteral("000"));
            filing.cmdEinpflegenNeu(); // nothing happens
            QCOMPARE(boxes.shown.size(), 1);
            number->setText(QStringLiteral("0043"));
            child<QLineEdit>(&filing, "TextFeld1")->setText(QStringLiteral("Neukunde"));
            filing.cmdEinpflegenNeu();
        });
        w.window->CLICK_EINPFLEGEN_MANUELL();
        QCOMPARE(db.scalar("SELECT ADS_Name1 FROM Kunden WHERE ADS_KundenNr = '0043'").toString(),
                 QStringLiteral("Neukunde"));
        QCOMPARE(db.column("PFG_KundenNr"), QVariantList{"0043"});
        QCOMPARE(db.column("PFG_NeuePruefung"), QVariantList{0});
    }

    // Whatever is typed into the search, the customer that holds it literally is found and
    // nothing breaks.
    void searchTypedText_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("quote") << "O'Brien" << "3";
        QTest::newRow("star") << "1*3" << "1*3";
        QTest::newRow("question mark") << "1?3" << "1?3";
        QTest::newRow("hash") << "#12" << "4";
        QTest::newRow("brackets") << "[b]" << "5";
        QTest::newRow("unclosed bracket") << "[x" << "6";
    }
    void searchTypedText()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        FixtureDb db;
        RecordingMessageBoxes boxes;
        CapturingPresenter errors;
        for (const QStringList &customer :
             {QStringList{"1*3", "Stern"}, QStringList{"1?3", "Frage"},
              QStringList{"3", "O'Brien"}, QStringList{"4", "Haus #12"},
              QStringList{"5", "Ecke [b]"}, QStringList{"6", "Offen [x"},
              QStringList{"77", "Andere"}})
            db.addCustomer(customer);
        db.addTest({.kundenNr = "M1"});
        db.reload();
        Windows w(db);
        w.window->setDialogRunner([&](QDialog &dialog) {
            auto &filing = static_cast<frmEinpflegen &>(dialog);
            child<QTabWidget>(&filing, "SSTab1")->setCurrentIndex(1);
            child<QLineEdit>(&filing, "txtSuchen")->setText(key);
            filing.cmdSuchen();
            QStringList numbers;
            Recordset &list = filing.customerList();
            for (int row = 0; row < list.recordCount(); ++row)
                numbers << list.valueAt(row, 0).toString();
            QVERIFY2(numbers.contains(expected), qPrintable(numbers.join(u',')));
            QVERIFY(!numbers.contains(QStringLiteral("77")));
            QCOMPARE(child<QPushButton>(&filing, "cmdSuchen")->text(),
                     QStringLiteral("Kriterium löschen"));
            filing.cmdSuchen(); // clears the search
            QCOMPARE(list.recordCount(), 7);
        });
        w.window->CLICK_EINPFLEGEN_MANUELL();
        QVERIFY(boxes.shown.isEmpty());
        QVERIFY(errors.messages.isEmpty());
        QCOMPARE(db.column("PFG_NeuePruefung"), QVariantList{1}); // nothing filed
    }

    void mismatchOfCustomerAndMeterNumber()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        db.addCustomer({"7", "Sieben"});
        db.addCustomer({"9", "Neun", {}, {}, {}, {}, {}, {}, "5555"});
        db.addTest({.kundenNr = "7", .zaehlerNr = "5555"});
        db.reload();
        Windows w(db);
        w.window->setDialogRunner([&](QDialog &dialog) {
            auto &filing = static_cast<frmEinpflegen &>(dialog);
            QCOMPARE(filing.customerList().recordCount(), 2); // the full list
        });
        w.window->CLICK_EINPFLEGEN_MANUELL();
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY(boxes.shown[0].text.startsWith(QStringLiteral("Kunden-Nr. (7) und Zähler-Nr. "
                                                              "(5555) der einzupflegenden")));
    }

    void editAndDeleteTest()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        db.addNames({"Meier", "Schulz"}, {"Stadtwerke"});
        db.addTest({.kundenNr = "M1", .befund = 4, .bemerkung = "alt"});
        db.addTest({.kundenNr = "M2"});
        db.reload();
        Windows w(db);
        w.window->setDialogRunner([&](QDialog &dialog) {
            QCOMPARE(child<QLineEdit>(&dialog, "txtBefund")->text(), QStringLiteral("Messabbruch"));
            auto *pruefer = child<QComboBox>(&dialog, "cbbPruefer");
            QCOMPARE(pruefer->count(), 3); // the empty entry and both inspectors
            pruefer->setEditText(QStringLiteral(" Neuer Prüfer "));
            child<QLineEdit>(&dialog, "txtBemerkung")->setText(QString());
            static_cast<frmPruefungen &>(dialog).cmdSpeichern();
        });
        w.window->CLICK_AENDERN();
        QCOMPARE(db.scalar("SELECT PFG_Pruefer || '|' || PFG_Bemerkung FROM Pruefungen "
                           "WHERE PFG_KundenNr = 'M1'").toString(),
                 QStringLiteral("Neuer Prüfer|"));
        QCOMPARE(w.column(columnCaptions().capPruefer).first(), QStringLiteral("Neuer Prüfer"));

        boxes.answers << true;
        w.window->setDialogRunner([](QDialog &dialog) {
            static_cast<frmPruefungen &>(dialog).cmdLoeschen();
        });
        w.window->CLICK_AENDERN();
        QCOMPARE(boxes.questions, QStringList{"Möchten Sie die Prüfung löschen?"});
        QCOMPARE(db.column("PFG_KundenNr"), QVariantList{"M2"});
    }

    void deleteMarkedTests()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        for (const char *number : {"M1", "M2", "M3"})
            db.addTest({.kundenNr = number});
        db.reload();
        Windows w(db);
        w.select({0, 2});
        w.window->CLICK_LOESCHMESS(); // No
        QCOMPARE(db.column("PFG_KundenNr").size(), 3);
        boxes.answers << true;
        w.window->CLICK_LOESCHMESS();
        QCOMPARE(boxes.questions.size(), 2);
        QCOMPARE(db.column("PFG_KundenNr"), QVariantList{"M2"});
        QCOMPARE(w.column(columnCaptions().capKundenNr), QStringList{"M2"});
    }

    void emptyListChangesNothing()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        Windows w(db);
        bool dialogShown = false;
        w.window->setDialogRunner([&](QDialog &) { dialogShown = true; });
        w.window->CLICK_AENDERN();
        w.window->CLICK_LOESCHMESS();
        w.window->CLICK_EINPFLEGEN_MANUELL();
        w.window->CLICK_EINPFLEGEN_AUTOMATISCH();
        QVERIFY(!dialogShown);
        QVERIFY(boxes.questions.isEmpty());
        child<QTabWidget>(w.window, "SSTab1")->setCurrentIndex(1);
        QVERIFY(!child<QLabel>(w.window, "lblNoData")->isHidden());
    }

    // A picture of the window with a curve; saved when LUMETRA4_SCREENSHOTS names a folder.
    void screenshot()
    {
        FixtureDb db;
        db.addTest({.kundenNr = "M0815", .druckkurve = pressureCurve, .flusskurve = flowCurve,
                    .leitungsVol = "12.5", .messzeit = "10", .refDruck = "23",
                    .leckrate = "0.8"});
        db.addTest({.kundenNr = "4711", .zaehlerNr = "12345678", .pruefart = 2, .befund = 1,
                    .druckkurve = pressureCurve});
        db.reload();
        Windows w(db);
        w.main.resize(1100, 800);
        w.main.show();
        w.window->parentWidget()->resize(1020, 700);
        child<QTabWidget>(w.window, "SSTab1")->setCurrentIndex(1);
        const QPixmap picture = w.main.grab();
        QVERIFY(!picture.isNull());
        const QString folder = qEnvironmentVariable("LUMETRA4_SCREENSHOTS");
        if (!folder.isEmpty())
            QVERIFY(picture.save(folder + QStringLiteral("/new-tests-window.png")));
    }
};

QTEST_MAIN(NewTestsWindowTest)
#include "NewTestsWindowTest.moc"
