#include "app/clsGrid.h"
#include "app/frmMain.h"
#include "data/IniFile.h"
#include "data/Localisation.h"
#include "data/Recordset.h"
#include "app/PrintDialog.h"
#include "masterdata/frmListen.h"
#include "masterdata/frmNeukunden.h"
#include "newtests/NewTestsFixture.h"
#include "support/PdfText.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace NewTestsFixture;

namespace {

// The main window with the three list kinds registered, as the program registers them.
struct Windows
{
    explicit Windows(FixtureDb &db)
        : ini(db.dir.filePath(QStringLiteral("Lumetra4Desktop.ini")))
        , locations(db.dir.path())
        , main(ini, locations, Settings{})
    {
        for (MasterListKind kind :
             {MasterListKind::Inspectors, MasterListKind::Clients, MasterListKind::Customers}) {
            main.setChildFactory(WindowKind(qint16(kind)), [&db, this, kind](frmMain &m) {
                return frmListen::open(db.session, ini, m, kind);
            });
        }
        main.EnableMainMenus();
    }

    frmListen *open(const char *menuItem)
    {
        main.menuItem(QString::fromLatin1(menuItem))->trigger();
        return qobject_cast<frmListen *>(main.activeChild());
    }

    QList<WindowKind> openKinds() const
    {
        QList<WindowKind> kinds;
        for (QMdiSubWindow *window : main.mdiArea()->subWindowList())
            kinds << static_cast<ChildWindow *>(window->widget())->windowKind();
        return kinds;
    }

    IniFile ini;
    FileLocations locations;
    frmMain main;
};

QStringList column(frmListen *window, int column)
{
    QStringList texts;
    auto *model = window->grid()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

// Answers the printer dialog with a PDF file, or cancels.
class PdfPrintDialog : public PrintDialog
{
public:
    explicit PdfPrintDialog(QString path) : m_path(std::move(path)) { install(this); }
    ~PdfPrintDialog() override { install(nullptr); }
    bool choose(QWidget *, QPrinter &printer) override
    {
        ++asked;
        if (m_path.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_path);
        if (landscape)
            printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    }
    int asked = 0;
    bool landscape = false;

private:
    QString m_path;
};

void addCustomers(FixtureDb &db)
{
    db.addCustomer({"000001", "Müller", {}, "Hauptstr. 1", "52062", "Aachen"});
    db.addCustomer({"000002", "O'Brien", {}, {}, {}, "Zwickau"});
    db.addCustomer({"000003", "Schmidt", "Haus #12", {}, {}, "Mainz"});
    db.reload();
}

} // namespace

class MasterListWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // One window per list kind: its menu item stays disabled until the window closes.
    void oneWindowPerKind()
    {
        FixtureDb db;
        Windows w(db);
        frmListen *customers = w.open("mnuEditKunden");
        QVERIFY(customers);
        QCOMPARE(customers->windowTitle(), QStringLiteral("Liste aller Kunden"));
        QCOMPARE(customers->objectName(), QStringLiteral("frmKunden"));
        QCOMPARE(w.main.activeWindowKind(), WindowKind::Customers);
        QVERIFY(!w.main.menuItem("mnuEditKunden")->isEnabled());
        w.main.menuItem("mnuEditKunden")->trigger();
        QCOMPARE(w.openKinds(), QList<WindowKind>{WindowKind::Customers});

        frmListen *inspectors = w.open("mnuEditPruefer");
        QCOMPARE(inspectors->windowTitle(), QStringLiteral("Liste aller Prüfer"));
        frmListen *clients = w.open("mnuEditAuftraggeber");
        QCOMPARE(clients->objectName(), QStringLiteral("frmAuftraggeber"));
        QCOMPARE(w.openKinds(), (QList<WindowKind>{WindowKind::Customers, WindowKind::Inspectors,
                                                    WindowKind::Clients}));
        QCOMPARE(clients->adoctrl().fieldCount(), 1);
        QVERIFY(!customers->adoctrl().isOpen() || customers->adoPruef());

        customers->parentWidget()->close();
        QTRY_VERIFY(w.main.menuItem("mnuEditKunden")->isEnabled());
        QVERIFY(!w.main.menuItem("mnuEditPruefer")->isEnabled());
        QVERIFY(w.open("mnuEditKunden"));
        QCOMPARE(w.openKinds().size(), 3);
    }

    void toolbarState()
    {
        FixtureDb db;
        Windows w(db);
        const ToolbarState state = w.open("mnuEditPruefer")->toolbarState();
        QVERIFY(state.Ende && state.Drucken && state.Neu && state.Aendern && state.Loeschen);
        QCOMPARE(state.DruckenStyle, int(ToolbarState::Plain));
        QVERIFY(!state.Speichern && !state.Vorschau && !state.LoeschMess && !state.Exportieren);
    }

    // The entry window builds one labelled box per column of the list.
    void entryWindowFields_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("customers") << "mnuEditKunden" << "Kunden - bearbeiten"
                                   << QStringList{"Kunden-Nr:", "Name1:", "Name2:", "Straße:",
                                                  "PLZ:", "Ort:", "Telefon:", "Fax:",
                                                  "Aktuelle Zähler-Nr:", "Zähler-Nr alt:"};
        QTest::newRow("inspectors") << "mnuEditPruefer" << "Prüfer - bearbeiten"
                                    << QStringList{"Name:"};
        QTest::newRow("clients") << "mnuEditAuftraggeber" << "Auftraggeber - bearbeiten"
                                 << QStringList{"Auftraggeber:"};
    }
    void entryWindowFields()
    {
        QFETCH(QString, menuItem);
        QFETCH(QString, caption);
        QFETCH(QStringList, labels);
        FixtureDb db;
        Windows w(db);
        frmListen *window = w.open(menuItem.toLatin1().constData());
        bool ran = false;
        window->setEntryRunner([&](frmNeukunden &entry) {
            ran = true;
            QCOMPARE(entry.windowTitle(), caption);
            QStringList texts;
            for (QLabel *label : entry.lblFeld())
                texts << label->text();
            QCOMPARE(texts, labels);
            QCOMPARE(entry.TextFeld().first()->maxLength(), 255);
            QVERIFY(entry.deleteButton()->isHidden()); // new entry
            QVERIFY(entry.saveButton()->isDefault());
        });
        window->CLICK_NEU();
        QVERIFY(ran);
    }

    // The entry window's checks: a refusal keeps the window open with the message, a save
    // closes it and the list shows the entry.
    void entryWindowChecks_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shownAfter"); // key box after the click
        QTest::newRow("customer saved") << "mnuEditKunden" << " 42 " << "" << "000042";
        QTest::newRow("empty customer number") << "mnuEditKunden" << "  "
                                               << "Bitte geben Sie eine Kunden-Nr ein." << "  ";
        QTest::newRow("duplicate after the zeros")
            << "mnuEditKunden" << "1"
            << "Die Kunden-Nr ist schon vorhanden.\r\n\r\nBitte vergeben Sie eine andere "
               "Kunden-Nr." << "000001";
        QTest::newRow("inspector saved") << "mnuEditPruefer" << "Eva" << "" << "Eva";
        QTest::newRow("empty inspector") << "mnuEditPruefer" << ""
                                         << "Bitte geben Sie einen Prüfer ein." << "";
        QTest::newRow("empty client") << "mnuEditAuftraggeber" << ""
                                      << "Bitte geben Sie einen Auftraggeber ein." << "";
    }
    void entryWindowChecks()
    {
        QFETCH(QString, menuItem);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, shownAfter);
        FixtureDb db;
        addCustomers(db);
        RecordingMessageBoxes boxes;
        Windows w(db);
        frmListen *window = w.open(menuItem.toLatin1().constData());
        const int before = window->adoctrl().recordCount();
        window->setEntryRunner([&](frmNeukunden &entry) {
            entry.TextFeld().first()->setText(typed);
            entry.saveButton()->click();
            QCOMPARE(entry.TextFeld().first()->text(), shownAfter);
            QCOMPARE(entry.result(), message.isEmpty() ? int(QDialog::Accepted) : 0);
        });
        window->CLICK_NEU();
        QCOMPARE(boxes.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(window->adoctrl().recordCount(), before + (message.isEmpty() ? 1 : 0));
        if (message.isEmpty())
            QVERIFY(column(window, 0).contains(shownAfter));
    }

    // Editing from the list: the entry window opens on the current row; a changed number
    // is saved and the customer's tests follow it.
    void editCurrentRow()
    {
        FixtureDb db;
        addCustomers(db);
        db.addTest({.kundenNr = "000002", .neu = false});
        RecordingMessageBoxes boxes;
        Windows w(db);
        frmListen *window = w.open("mnuEditKunden");
        window->grid()->setCurrentIndex(window->grid()->model()->index(1, 0));
        window->setEntryRunner([&](frmNeukunden &entry) {
            QVERIFY(!entry.deleteButton()->isHidden());
            QCOMPARE(entry.TextFeld().at(1)->text(), QStringLiteral("O'Brien"));
            entry.TextFeld().first()->setText(QStringLiteral("7"));
            entry.CLICK_SPEICHERN();
        });
        window->CLICK_AENDERN();
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(column(window, 0), (QStringList{"000001", "000003", "000007"}));
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")), QVariantList{"000007"});
    }

    // The list opens sorted by its first column; the first click on that header sorts
    // ascending again, the second descending.
    void headerClicksSort()
    {
        FixtureDb db;
        db.addNames({"Carl", "anna", "Bert"}, {});
        db.reload();
        Windows w(db);
        frmListen *window = w.open("mnuEditPruefer");
        QCOMPARE(column(window, 0), (QStringList{"anna", "Bert", "Carl"}));
        window->grid()->horizontalHeader()->sectionClicked(0);
        QCOMPARE(column(window, 0), (QStringList{"anna", "Bert", "Carl"}));
        window->grid()->horizontalHeader()->sectionClicked(0);
        QCOMPARE(column(window, 0), (QStringList{"Carl", "Bert", "anna"}));
    }

    void search()
    {
        FixtureDb db;
        addCustomers(db);
        RecordingMessageBoxes boxes;
        Windows w(db);
        frmListen *window = w.open("mnuEditKunden");
        QVERIFY(!window->searchButton()->isEnabled());
        window->searchBox()->setText(QStringLiteral("O'Bri"));
        QVERIFY(window->searchButton()->isEnabled());
        window->searchButton()->click();
        QCOMPARE(column(window, 0), QStringList{"000002"});
        QCOMPARE(window->searchButton()->text(), QStringLiteral("Kriterium löschen"));
        window->searchButton()->click();
        QCOMPARE(column(window, 0).size(), 3);
        QVERIFY(window->searchBox()->text().isEmpty());
        QCOMPARE(window->searchButton()->text(), QStringLiteral("Suchen"));
        QVERIFY(!window->searchButton()->isEnabled());

        window->searchBox()->setText(QStringLiteral("Ha*us"));
        QTest::keyClick(window->searchBox(), Qt::Key_Return);
        QCOMPARE(boxes.texts(), QStringList{"Das Suchkriterium ist ungültig!"});
        QCOMPARE(boxes.shown.first().icon, MessageBoxes::Icon::Warning);
        QCOMPARE(column(window, 0).size(), 3);
        QCOMPARE(window->searchButton()->text(), QStringLiteral("Suchen"));
    }

    void deleteCustomers_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    // With nothing marked the current row is deleted after the question, with its filed
    // tests; its new test stays.
    void deleteCustomers()
    {
        QFETCH(bool, yes);
        FixtureDb db;
        addCustomers(db);
        db.addTest({.kundenNr = "000001", .neu = false});
        db.addTest({.kundenNr = "000001", .neu = false});
        db.addTest({.kundenNr = "000001", .neu = true});
        db.reload();
        RecordingMessageBoxes boxes;
        boxes.answers << yes;
        Windows w(db);
        frmListen *window = w.open("mnuEditKunden");
        window->grid()->setCurrentIndex(window->grid()->model()->index(0, 0));
        QTest::keyClick(window->grid(), Qt::Key_Delete);
        QCOMPARE(boxes.questions, QStringList{"Sollen die markierten Kunden und alle "
                                              "zugehörigen Prüfungen gelöscht werden?"});
        QCOMPARE(column(window, 0).size(), yes ? 2 : 3);
        QCOMPARE(db.column(QStringLiteral("PFG_KundenNr")).size(), yes ? 1 : 3);
        QVERIFY(!w.main.progress().isShown());
    }

    void deleteInspectors()
    {
        FixtureDb db;
        db.addNames({"Anna", "Bert", "Carl"}, {});
        db.reload();
        RecordingMessageBoxes boxes;
        boxes.answers << true;
        Windows w(db);
        frmListen *window = w.open("mnuEditPruefer");
        for (int row : {0, 2})
            window->grid()->selectionModel()->select(window->grid()->model()->index(row, 0),
                                                     QItemSelectionModel::Select
                                                         | QItemSelectionModel::Rows);
        window->CLICK_LOESCHEN();
        QCOMPARE(boxes.questions,
                 QStringList{"Sollen die markierten Datensätze gelöscht werden?"});
        QCOMPARE(column(window, 0), QStringList{"Bert"});
    }

    // An empty list: new works; change, delete and print do nothing.
    void emptyList()
    {
        FixtureDb db;
        RecordingMessageBoxes boxes;
        PdfPrintDialog dialog(db.dir.filePath(QStringLiteral("empty.pdf")));
        Windows w(db);
        frmListen *window = w.open("mnuEditAuftraggeber");
        int entries = 0;
        window->setEntryRunner([&](frmNeukunden &) { ++entries; });
        window->CLICK_AENDERN();
        window->CLICK_LOESCHEN();
        window->CLICK_DRUCKEN();
        QCOMPARE(entries, 0);
        QCOMPARE(dialog.asked, 0);
        QVERIFY(boxes.questions.isEmpty());
        window->CLICK_NEU();
        QCOMPARE(entries, 1);
    }

    // The list printed into a PDF: caption and date in the header, headings, every row in
    // the order of the last header click, the page footer.
    void printToPdf_data()
    {
        QTest::addColumn<bool>("landscape");
        QTest::newRow("portrait") << false;
        QTest::newRow("landscape") << true;
    }
    void printToPdf()
    {
        QFETCH(bool, landscape);
        if (!havePdfText())
            QSKIP("pdftotext is not installed");
        FixtureDb db;
        addCustomers(db);
        CapturingPresenter errors;
        const QString pdf = db.dir.filePath(QStringLiteral("list.pdf"));
        PdfPrintDialog dialog(pdf);
        dialog.landscape = landscape;
        Windows w(db);
        frmListen *window = w.open("mnuEditKunden");
        window->searchBox()->setText(QStringLiteral("Müller"));
        window->searchButton()->click(); // the print still holds every customer
        const int ort = window->adoctrl().fieldIndex(QStringLiteral("Ort"));
        window->grid()->horizontalHeader()->sectionClicked(ort);
        window->grid()->horizontalHeader()->sectionClicked(ort);
        window->CLICK_DRUCKEN();
        QVERIFY2(errors.messages.isEmpty(), qPrintable(errors.messages.join(u'\n')));
        QCOMPARE(dialog.asked, 1);
        const QString text = pdfText(pdf);
        for (const char *expected : {"Liste aller Kunden", "Kunden-Nr", "Name1", "Straße",
                                     "Zähler-Nr alt", "Hauptstr. 1", "O'Brien", "Haus #12",
                                     "Seite", "1/1"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(text.contains(
            QLocale::system().toString(QDate::currentDate(), fixedShortDateFormat())));
        const qsizetype zwickau = text.indexOf(QStringLiteral("Zwickau"));
        const qsizetype mainz = text.indexOf(QStringLiteral("Mainz"));
        const qsizetype aachen = text.indexOf(QStringLiteral("Aachen"));
        QVERIFY(zwickau >= 0 && zwickau < mainz && mainz < aachen);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        info.waitForFinished();
        const QString pageSize = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(pageSize.contains(landscape ? QStringLiteral("842 x 595")
                                             : QStringLiteral("595 x 842")),
                 qPrintable(pageSize));
    }

    void cancelledPrintDialogPrintsNothing()
    {
        FixtureDb db;
        addCustomers(db);
        PdfPrintDialog dialog{QString()};
        Windows w(db);
        w.open("mnuEditKunden")->CLICK_DRUCKEN();
        QCOMPARE(dialog.asked, 1);
    }

    // Alt with a letter runs the command of the running language.
    void altShortcuts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("entryOpened");
        QTest::addColumn<int>("printed");
        QTest::newRow("German Alt+N opens a new entry") << "de" << true << 0;
        QTest::newRow("Hungarian Alt+N prints") << "hu" << false << 1;
    }
    void altShortcuts()
    {
        QFETCH(QString, language);
        QFETCH(bool, entryOpened);
        QFETCH(int, printed);
        FixtureDb db;
        StringTable::setLanguage(language);
        LoadColumnCaptions();
        addCustomers(db);
        PdfPrintDialog dialog{QString()};
        Windows w(db);
        w.main.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.main));
        frmListen *window = w.open("mnuEditKunden");
        bool newEntry = false;
        window->setEntryRunner([&](frmNeukunden &entry) {
            newEntry = entry.deleteButton()->isHidden();
        });
        window->grid()->setFocus();
        QTest::keyClick(window->grid(), Qt::Key_N, Qt::AltModifier);
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
        QCOMPARE(newEntry, entryOpened);
        QCOMPARE(dialog.asked, printed);
    }

    // A picture of the customer list; saved when LUMETRA4_SCREENSHOTS names a folder.
    void screenshot()
    {
        FixtureDb db;
        db.addCustomer({"000042", "Bäckerei Sommer", "Inh. Eva Sommer", "Lindenallee 4",
                        "50667", "Köln", "0221 123456", "0221 123457", "81234567", "71234567"});
        db.addCustomer({"000043", "Stadtwerke Nord", {}, "Am Hafen 12", "20457", "Hamburg",
                        "040 998877", {}, "80011223"});
        db.addCustomer({"000107", "Hausverwaltung O'Neill", "z. Hd. Herrn Brandt",
                        "Ringstraße 7", "80331", "München", "089 445566", {}, "82345678",
                        "72345678"});
        db.addCustomer({"001234", "Gasthof Zur Linde", {}, "Dorfplatz 1", "94032", "Passau",
                        "0851 7788", "0851 7789", "83456789"});
        db.addCustomer({"004711", "Müller & Söhne", "Heizungsbau", "Industriestr. 23", "70173",
                        "Stuttgart", "0711 334455", {}, "84567890", "74567890"});
        db.reload();
        Windows w(db);
        w.main.resize(1100, 640);
        w.main.show();
        frmListen *window = w.open("mnuEditKunden");
        window->parentWidget()->resize(1060, 480);
        window->grid()->resizeColumnsToContents();
        window->grid()->selectionModel()->select(window->grid()->model()->index(2, 0),
                                                 QItemSelectionModel::Select
                                                     | QItemSelectionModel::Rows);
        const QPixmap picture = w.main.grab();
        QVERIFY(!picture.isNull());
        const QString folder = qEnvironmentVariable("LUMETRA4_SCREENSHOTS");
        if (!folder.isEmpty())
            QVERIFY(picture.save(folder + QStringLiteral("/customer-list.png")));
    }
};

QTEST_MAIN(MasterListWindowTest)
#include "MasterListWindowTest.moc"
