#include "StatisticsFixture.h"
#include "app/clsGrid.h"
#include "app/frmMain.h"
#include "data/IniFile.h"
#include "data/Recordset.h"
#include "statistics/CurveChartView.h"
#include "statistics/frmAbfragen.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"
#include "support/ScriptedFileDialogs.h"

#include <QApplication>
#include <QFile>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace StatisticsFixture;

namespace {

// The program's main window around a statistics window on the fixture's database.
struct Windows
{
    explicit Windows(FixtureDb &db)
        : ini(db.dir.filePath(QStringLiteral("Lumetra4Desktop.ini")))
        , locations(db.dir.path())
        , main(ini, locations, Settings{})
    {
        window = new frmAbfragen(db.session.dbConnection, WindowKind::Statistics, ini, main);
        window->setLocations(locations);
        main.openChild(window, nullptr);
    }

    template<typename T>
    T *child(const char *name)
    {
        T *widget = window->findChild<T *>(QString::fromUtf8(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }

    void choose(const char *combo, const QString &text)
    {
        auto *box = child<QComboBox>(combo);
        const int index = box->findText(text);
        if (index < 0)
            qFatal("no entry %s in %s", qPrintable(text), combo);
        box->setCurrentIndex(index);
    }

    // Types into a box and presses Enter there, as the office does.
    void enter(const char *box, const QString &text)
    {
        auto *edit = child<QLineEdit>(box);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // The remarks of the listed tests, which name them.
    QStringList shown()
    {
        QStringList texts;
        const int column = window->rstPruefungen1().fieldIndex(columnCaptions().capBemerkung);
        auto *model = window->grid()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        texts.sort();
        return texts;
    }

    int rowOf(const QString &remark)
    {
        const int column = window->rstPruefungen1().fieldIndex(columnCaptions().capBemerkung);
        auto *model = window->grid()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, column).data().toString() == remark)
                return row;
        }
        qFatal("no test %s", qPrintable(remark));
    }

    void setCurrent(const QString &remark)
    {
        window->grid()->setCurrentIndex(window->grid()->model()->index(rowOf(remark), 0));
    }

    IniFile ini;
    FileLocations locations;
    frmMain main;
    frmAbfragen *window;
};

void fill(FixtureDb &db)
{
    db.addCustomer(QStringLiteral("4711"), QStringLiteral("Bäckerei Huber"),
                   QStringLiteral("München"));
    db.addCustomer(QStringLiteral("4712"), QStringLiteral("Weber"), QStringLiteral("Passau"));
    TestRow a{QStringLiteral("A")};
    a.kundenNr = QStringLiteral("4711");
    a.datum = QDateTime(QDate(2008, 3, 1), QTime(0, 0));
    a.fluss = 2.5;
    a.druckkurve = pressureCurve;
    a.flusskurve = flowCurve;
    db.addTest(a);
    TestRow b{QStringLiteral("B")};
    b.kundenNr = QStringLiteral("4711");
    b.pruefart = 2;
    b.befund = 2;
    b.datum = QDateTime(QDate(2008, 3, 1), QTime(23, 59));
    b.fluss = 0;
    b.pruefer = QStringLiteral("O'Brien");
    b.auftraggeber = QStringLiteral("Gas*Co");
    b.fabNr = QStringLiteral("063 01 00043");
    db.addTest(b);
    TestRow c{QStringLiteral("C")};
    c.kundenNr = QStringLiteral("4712");
    c.pruefart = 3;
    c.befund = 255;
    c.datum = QDateTime(QDate(2008, 3, 2), QTime(0, 0));
    c.ruhedruck = -99999.0;
    db.addTest(c);
    TestRow d{QStringLiteral("D")};
    d.kundenNr = QStringLiteral("04711");
    d.befund = 1;
    d.datum = QDateTime(QDate(2008, 3, 2), QTime(0, 1));
    d.fluss = 3.0;
    db.addTest(d);
    TestRow e{QStringLiteral("E")};
    e.neu = true;
    e.kundenNr = QStringLiteral("M17");
    e.druckkurve = pressureCurve;
    e.pruefer = QStringLiteral("Neumann");
    db.addTest(e);
    TestRow f{QStringLiteral("F")};
    f.neu = true;
    f.pruefart = 1;
    f.pruefer = QStringLiteral("Neumann");
    db.addTest(f);
}

} // namespace

class StatisticsWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void opensOnNewTests()
    {
        FixtureDb db;
        fill(db);
        Windows w(db);
        QCOMPARE(w.child<QComboBox>("cbbKunden")->currentIndex(), 1);
        QCOMPARE(w.shown(), (QStringList{"E", "F"}));
        QVERIFY(w.child<QLineEdit>("txtKunde")->isHidden());
        QCOMPARE(w.child<QComboBox>("cbbPruefer")->count(), 2); // empty entry and Neumann
        const int column = w.window->rstPruefungen1().fieldIndex(columnCaptions().capKundenNr);
        QCOMPARE(w.window->grid()->model()->headerData(column, Qt::Horizontal).toString(),
                 columnCaptions().capMessNrKundenNr);
        QVERIFY(w.window->toolbarState().LoeschMess);
        QVERIFY(w.window->toolbarState().Drucken && w.window->toolbarState().Vorschau
                && w.window->toolbarState().Exportieren);
        QCOMPARE(w.window->toolbarState().DruckenStyle, int(ToolbarState::DropDown));
    }

    void criteria_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("finding");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("flowMin");
        QTest::addColumn<QString>("flowMax");
        QTest::addColumn<QString>("inspector");
        QTest::addColumn<QString>("client");
        QTest::addColumn<QString>("fabNr");
        QTest::addColumn<QStringList>("shown");
        const QString n;
        QTest::newRow("all filed") << n << n << n << n << n << n << n << n << n << n
                                   << QStringList{"A", "B", "C", "D"};
        QTest::newRow("tightness tests") << "Dichtheitsprüfung" << n << n << n << n << n << n
                                         << n << n << n << QStringList{"B"};
        QTest::newRow("customer exactly") << n << "4711" << n << n << n << n << n << n << n << n
                                          << QStringList{"A", "B"};
        QTest::newRow("finding nOK") << n << n << "nOK" << n << n << n << n << n << n << n
                                     << QStringList{"B"};
        QTest::newRow("one day to midnight") << n << n << n << "01.03.2008" << "01.03.2008" << n
                                             << n << n << n << n
                                             << QStringList{"A", "B", "C"};
        QTest::newRow("end only") << n << n << n << n << "29.02.2008" << n << n << n << n << n
                                  << QStringList{"A"};
        QTest::newRow("flow from 2,5") << "Gebrauchsfähigkeitsprüfung" << n << n << n << n
                                       << "2,5" << n << n << n << n << QStringList{"A", "D"};
        QTest::newRow("flow range") << "Gebrauchsfähigkeitsprüfung" << n << n << n << n << "2"
                                    << "2,9" << n << n << n << QStringList{"A"};
        QTest::newRow("inspector with a quote") << n << n << n << n << n << n << n << "O'Brien"
                                                << n << n << QStringList{"B"};
        QTest::newRow("client with a star") << n << n << n << n << n << n << n << n << "Gas*Co"
                                            << n << QStringList{"B"};
        QTest::newRow("instrument") << n << n << n << n << n << n << n << n << n
                                    << "063 01 00042" << QStringList{"A", "C", "D"};
        QTest::newRow("combined") << n << "4711" << n << "01.03.2008" << n << n << n << "Meier"
                                  << n << n << QStringList{"A"};
    }

    void criteria()
    {
        QFETCH(QString, kind);
        QFETCH(QString, customer);
        QFETCH(QString, finding);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, flowMin);
        QFETCH(QString, flowMax);
        QFETCH(QString, inspector);
        QFETCH(QString, client);
        QFETCH(QString, fabNr);
        QFETCH(QStringList, shown);
        FixtureDb db;
        fill(db);
        RecordingMessageBoxes boxes;
        Windows w(db);
        w.choose("cbbKunden", resString(25038));
        if (!kind.isEmpty())
            w.choose("cbbPruefart", kind);
        if (!finding.isEmpty())
            w.choose("cbbBefund", finding);
        if (!inspector.isEmpty())
            w.choose("cbbPruefer", inspector);
        if (!client.isEmpty())
            w.choose("cbbAuftraggeber", client);
        if (!fabNr.isEmpty())
            w.choose("cbbFabNr", fabNr);
        if (!customer.isEmpty())
            w.enter("txtKunde", customer);
        if (!from.isEmpty())
            w.enter("MaskDatemin", from);
        if (!to.isEmpty())
            w.enter("MaskDatemax", to);
        if (!flowMin.isEmpty())
            w.enter("txtLeckmin", flowMin);
        if (!flowMax.isEmpty())
            w.enter("txtLeckmax", flowMax);
        QCOMPARE(w.shown(), shown);
        QVERIFY2(boxes.shown.isEmpty(), qPrintable(boxes.texts().join(u'\n')));

        // The reset brings every filed test back.
        QTest::mouseClick(w.child<QWidget>("cmdClear"), Qt::LeftButton);
        QCOMPARE(w.shown(), (QStringList{"A", "B", "C", "D"}));
    }

    void testKindShowsItsControlsAndColumns()
    {
        FixtureDb db;
        fill(db);
        Windows w(db);
        const ColumnCaptions &c = columnCaptions();
        w.choose("cbbKunden", resString(25038));
        QVERIFY(w.window->columnVisible(c.capName1));
        QVERIFY(!w.window->columnVisible(c.capZaehlerNr));
        w.choose("cbbBefund", QStringLiteral("OK"));
        QVERIFY(!w.window->columnVisible(c.capBefund));

        w.choose("cbbPruefart", QStringLiteral("Reglerprüfung"));
        QVERIFY(w.child<QComboBox>("cbbBefund")->isHidden());
        QCOMPARE(w.child<QComboBox>("cbbBefund")->currentIndex(), 0);
        QVERIFY(w.child<QLineEdit>("txtLeckmin")->isHidden());
        QVERIFY(w.window->columnVisible(c.capRuhedruck));
        QVERIFY(!w.window->columnVisible(c.capPruefart));
        QVERIFY(!w.window->columnVisible(c.capFluss));
        QCOMPARE(w.shown(), QStringList{"C"});
        // A static pressure not measured shows as nothing, a finding of 255 as well.
        const int row = w.rowOf(QStringLiteral("C"));
        const auto text = [&](const QString &caption) {
            return w.window->grid()->model()
                ->index(row, w.window->rstPruefungen1().fieldIndex(caption))
                .data()
                .toString();
        };
        QCOMPARE(text(c.capRuhedruck), QString());
        QCOMPARE(text(c.capBefund), QString());

        w.choose("cbbPruefart", QStringLiteral("Gebrauchsfähigkeitsprüfung"));
        QVERIFY(!w.child<QComboBox>("cbbBefund")->isHidden());
        QVERIFY(!w.child<QLineEdit>("txtLeckmin")->isHidden());
        QVERIFY(w.window->columnVisible(c.capFluss));
        QVERIFY(!w.window->columnVisible(c.capRuhedruck));
        QCOMPARE(w.shown(), (QStringList{"A", "D"}));

        w.choose("cbbPruefart", QString());
        QVERIFY(w.window->columnVisible(c.capPruefart));
        QVERIFY(w.child<QLineEdit>("txtLeckmin")->isHidden());
        QCOMPARE(w.shown(), (QStringList{"A", "B", "C", "D"}));
    }

    void badInputIsToldAndCleared()
    {
        FixtureDb db;
        fill(db);
        RecordingMessageBoxes boxes;
        Windows w(db);
        w.choose("cbbKunden", resString(25038));
        w.enter("MaskDatemin", QStringLiteral("31.02.2008"));
        QCOMPARE(boxes.texts(), QStringList{resString(25182)});
        QVERIFY(!w.window->criteria().from.isValid());
        QCOMPARE(w.shown(), (QStringList{"A", "B", "C", "D"}));

        w.enter("MaskDatemin", QStringLiteral("02.03.2008"));
        w.enter("MaskDatemax", QStringLiteral("01.03.2008"));
        QCOMPARE(boxes.texts().last(), resString(25180));

        // A customer number with a quote is a literal value, never a broken filter.
        w.child<QLineEdit>("MaskDatemin")->clear();
        w.child<QLineEdit>("MaskDatemax")->clear();
        w.enter("txtKunde", QStringLiteral("47'11"));
        QCOMPARE(w.shown(), QStringList{});
        QCOMPARE(boxes.shown.size(), 2);
    }

    void dataTabFollowsTheCurrentTest()
    {
        FixtureDb db;
        fill(db);
        Windows w(db);
        w.choose("cbbKunden", resString(25038));
        auto *tab = w.child<QTabWidget>("SSTab1");
        w.setCurrent(QStringLiteral("A"));
        tab->setCurrentIndex(1);
        QVERIFY(!w.child<CurveChartView>("ChartDruck")->isHidden());
        QVERIFY(!w.child<CurveChartView>("ChartFluss")->isHidden());
        QVERIFY(w.child<QLabel>("lblNoData")->isHidden());
        QVERIFY(!w.child<QWidget>("FrameKunde")->isHidden());
        QVERIFY(!w.window->toolbarState().LoeschMess);

        tab->setCurrentIndex(0);
        w.setCurrent(QStringLiteral("B"));
        tab->setCurrentIndex(1);
        QVERIFY(w.child<CurveChartView>("ChartDruck")->isHidden());
        QVERIFY(!w.child<QLabel>("lblNoData")->isHidden());
        QCOMPARE(w.child<QLabel>("lblNoData")->text(), resString(25076));

        // A criterion change returns to the list.
        w.choose("cbbPruefart", QStringLiteral("Dichtheitsprüfung"));
        QCOMPARE(tab->currentIndex(), 0);
    }

    void deletesOnlyTheMarkedTests()
    {
        FixtureDb db;
        fill(db);
        // Same customer, instrument, date and flag as A: must survive when only A is marked.
        TestRow twin{QStringLiteral("A twin")};
        twin.kundenNr = QStringLiteral("4711");
        twin.datum = QDateTime(QDate(2008, 3, 1), QTime(0, 0));
        db.addTest(twin);
        RecordingMessageBoxes boxes;
        Windows w(db);
        w.choose("cbbKunden", resString(25038));
        auto *grid = w.window->grid();

        grid->selectRow(w.rowOf(QStringLiteral("A")));
        boxes.answers = {false};
        w.window->CLICK_LOESCHMESS();
        QCOMPARE(boxes.questions, QStringList{resString(25060)});
        QCOMPARE(db.remarks().size(), 7);

        grid->clearSelection();
        grid->selectRow(w.rowOf(QStringLiteral("A")));
        grid->selectionModel()->select(grid->model()->index(w.rowOf(QStringLiteral("C")), 0),
                                       QItemSelectionModel::Select
                                           | QItemSelectionModel::Rows);
        boxes.answers = {true};
        w.window->CLICK_LOESCHMESS();
        QCOMPARE(db.remarks(), (QStringList{"B", "D", "E", "F", "A twin"}));
        QCOMPARE(w.shown(), (QStringList{"A twin", "B", "D"}));
        QVERIFY(boxes.shown.isEmpty());

        // Nothing marked: the current test goes, after the question.
        grid->clearSelection();
        w.setCurrent(QStringLiteral("D"));
        grid->clearSelection();
        boxes.answers = {true};
        w.window->CLICK_LOESCHMESS();
        QCOMPARE(db.remarks(), (QStringList{"B", "E", "F", "A twin"}));
    }

    void exportsTheListAndTheMarkedTestsProtocol()
    {
        FixtureDb db;
        fill(db);
        RecordingMessageBoxes boxes;
        ScriptedFileDialogs dialogs;
        Windows w(db);
        w.choose("cbbKunden", resString(25038));
        auto *grid = w.window->grid();
        const QString list = db.dir.filePath(QStringLiteral("liste.csv"));
        dialogs.answers = {db.dir.filePath(QStringLiteral("liste.txt")), list};
        w.window->CLICK_EXPORT_LISTE();
        QCOMPARE(dialogs.titles.size(), 2); // a name without .csv opens the dialog again
        QFile listFile(list);
        QVERIFY(listFile.open(QIODevice::ReadOnly));
        const QByteArray listBytes = listFile.readAll();
        QVERIFY(listBytes.contains("\r\n"));
        QVERIFY(listBytes.contains("Gas*Co"));
        QCOMPARE(w.locations.exportFolder, db.dir.path()); // the next export starts here

        // Two marked tests: told, no dialog.
        grid->selectRow(w.rowOf(QStringLiteral("A")));
        grid->selectionModel()->select(grid->model()->index(w.rowOf(QStringLiteral("C")), 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        dialogs.titles.clear();
        w.window->CLICK_EXPORT_PROTOKOLL();
        QCOMPARE(boxes.texts(), QStringList{resString(25094)});
        QVERIFY(dialogs.titles.isEmpty());

        // One marked test that is not the current row: the marked one is exported.
        w.setCurrent(QStringLiteral("D"));
        grid->clearSelection();
        grid->selectionModel()->select(grid->model()->index(w.rowOf(QStringLiteral("C")), 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QString protocol = db.dir.filePath(QStringLiteral("protokoll.csv"));
        dialogs.answers = {list, protocol}; // the existing name is refused first
        w.window->CLICK_EXPORT_PROTOKOLL();
        QFile protocolFile(protocol);
        QVERIFY(protocolFile.open(QIODevice::ReadOnly));
        const QByteArray bytes = protocolFile.readAll();
        QVERIFY(bytes.contains("4712"));
        QVERIFY(!bytes.contains("4711;"));
    }

    void columnWidthsAndOrderAreKept()
    {
        FixtureDb db;
        fill(db);
        int width = 0;
        int firstLogical = -1;
        {
            Windows w(db);
            QHeaderView *header = w.window->grid()->horizontalHeader();
            header->moveSection(header->count() - 1, 0);
            firstLogical = header->logicalIndex(0);
            header->resizeSection(firstLogical, 222);
            width = header->sectionSize(firstLogical);
            w.window->close();
        }
        Windows again(db);
        QHeaderView *header = again.window->grid()->horizontalHeader();
        QCOMPARE(header->logicalIndex(0), firstLogical);
        QCOMPARE(header->sectionSize(firstLogical), width);
    }

    void customerNumberSearch()
    {
        FixtureDb db;
        fill(db);
        RecordingMessageBoxes boxes;
        Windows w(db);
        w.choose("cbbKunden", resString(25038));
        QTest::mouseClick(w.child<QWidget>("cmdAdress"), Qt::LeftButton);
        QVERIFY(w.window->inCustomerSearch());
        QVERIFY(w.child<QTabWidget>("SSTab1")->isHidden());
        QCOMPARE(w.window->windowTitle(), resString(25041));
        QVERIFY(!w.window->toolbarState().LoeschMess);
        QTableView *customers = w.window->customerGrid();
        QCOMPARE(customers->model()->rowCount(), 2);

        // A quote is searched for like any other character.
        w.enter("txtSuchen", QStringLiteral("O'H"));
        QCOMPARE(customers->model()->rowCount(), 0);
        w.enter("txtSuchen", QStringLiteral("münch*"));
        QCOMPARE(customers->model()->rowCount(), 1);
        QCOMPARE(w.child<QPushButton>("cmdSuchen")->text(), resString(25793));

        emit customers->doubleClicked(customers->model()->index(0, 0));
        QVERIFY(!w.window->inCustomerSearch());
        QCOMPARE(w.window->windowTitle(), resString(25040));
        QCOMPARE(w.child<QLineEdit>("txtKunde")->text(), QStringLiteral("4711"));
        QCOMPARE(w.shown(), (QStringList{"A", "B"}));
        QVERIFY(boxes.shown.isEmpty());

        // The button now clears the search.
        QTest::mouseClick(w.child<QWidget>("cmdAdress"), Qt::LeftButton);
        QTest::mouseClick(w.child<QPushButton>("cmdSuchen"), Qt::LeftButton);
        QCOMPARE(customers->model()->rowCount(), 2);
        QCOMPARE(w.child<QPushButton>("cmdSuchen")->text(), resString(25792));
        QTest::keyClick(customers, Qt::Key_Escape);
        QVERIFY(!w.window->inCustomerSearch());
    }

    // Writes the picture of the window with results and curves when a path is given.
    void screenshot()
    {
        const QString path = qEnvironmentVariable("LUMETRA4_SCREENSHOT");
        if (path.isEmpty())
            QSKIP("set LUMETRA4_SCREENSHOT to write the picture");
        FixtureDb db;
        fill(db);
        Windows w(db);
        w.main.resize(1180, 860);
        w.main.show();
        w.window->parentWidget()->showMaximized();
        w.choose("cbbKunden", resString(25038));
        w.setCurrent(QStringLiteral("A"));
        w.child<QTabWidget>("SSTab1")->setCurrentIndex(1);
        QTest::qWait(100);
        QVERIFY(w.window->grab().save(path));
    }
};

int main(int argc, char **argv)
{
    // The criteria read dates and numbers in the user's locale; the cases are German.
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    StatisticsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "StatisticsWindowTest.moc"
