#include "app/DesktopServices.h"
#include "app/ToolbarCaptions.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "data/IniFile.h"
#include "data/StringTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

// A child window that records the commands it receives.
class RecordingChild : public ChildWindow
{
public:
    RecordingChild(WindowKind kind, ToolbarState state)
        : ChildWindow(kind), state(state)
    {}
    ToolbarState toolbarState() const override { return state; }
    void CLICK_NEU() override { commands << QStringLiteral("NEU"); }
    void CLICK_LISTDRUCK() override { commands << QStringLiteral("LISTDRUCK"); }
    void CLICK_DRUCKEN() override { commands << QStringLiteral("DRUCKEN"); }
    ToolbarState state;
    QStringList commands;
};

bool buttonShown(frmMain &window, const char *key)
{
    for (QAction *action : window.findChild<QToolBar *>(QStringLiteral("tbToolBarNeu"))->actions()) {
        if (action->objectName() == QString::fromUtf8(key))
            return action->isVisible() && window.toolButton(QString::fromUtf8(key))->isEnabled();
    }
    return false;
}

} // namespace

class frmMainTest : public QObject
{
    Q_OBJECT
    QTemporaryDir home;
    std::unique_ptr<IniFile> ini;
    std::unique_ptr<FileLocations> locations;

    std::unique_ptr<frmMain> newWindow()
    {
        ini = std::make_unique<IniFile>(home.filePath(QStringLiteral("Lumetra4Desktop.ini")));
        locations = std::make_unique<FileLocations>(home.path());
        return std::make_unique<frmMain>(*ini, *locations, Settings{});
    }

private slots:
    void menuCaptions_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("string");
        const std::pair<const char *, int> items[] = {
            {"mnuDatei", 501}, {"mnuDateiImport", 502}, {"mnuDateiArchivieren", 522},
            {"mnuDateiArchivoeffnen", 523}, {"mnuDateiCompact", 503}, {"mnuEdit", 505},
            {"mnuEditSynchronisierung", 527}, {"mnuEditSyncPCLumetra4", 525},
            {"mnuEditSyncPCLumetra4IRDA", 526}, {"mnuEditNeukundenpflege", 506},
            {"mnuEditKunden", 507}, {"mnuEditPruefer", 509}, {"mnuEditAuftraggeber", 510},
            {"mnuAbfragen", 511}, {"mnuExtras", 512}, {"mnuExtrasOptionen", 515},
            {"mnuFenster", 516}, {"mnuHelp", 517}, {"mnuHelpContents", 518}, {"mnuWeb", 520},
            {"mnuHelpAbout", 521}, {"mnuPopListDruck", 528}, {"mnuPopProtokollDruck", 529},
            {"mnuPopPruefEinpflegenManuell", 530}, {"mnuPopPruefEinpflegenAutomatisch", 531},
            {"mnuPopExportListe", 532}, {"mnuPopExportProtokoll", 533}};
        for (const QString &language : StringTable::languages()) {
            for (const auto &[item, string] : items)
                QTest::addRow("%s %s", qPrintable(language), item) << language << item << string;
        }
    }
    void menuCaptions()
    {
        QFETCH(QString, language);
        QFETCH(QString, item);
        QFETCH(int, string);
        StringTable::setLanguage(language);
        auto window = newWindow();
        QVERIFY(window->menuItem(item));
        QCOMPARE(window->menuItem(item)->text(), resString(string));
        QVERIFY(!resString(string).isEmpty());
    }

    void quitItemShowsItsShortcutAndMenusStartDisabled()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        auto window = newWindow();
        QCOMPARE(window->menuItem("mnuDateiBeenden")->text(), QStringLiteral("&Beenden\tALT+F4"));
        QVERIFY(!window->menuItem("mnuDatei")->isEnabled());
        QVERIFY(!window->menuItem("mnuAbfragen")->isEnabled());
        window->EnableMainMenus();
        for (const char *name : {"mnuDatei", "mnuEdit", "mnuAbfragen", "mnuExtras",
                                 "mnuFenster", "mnuHelp"})
            QVERIFY2(window->menuItem(name)->isEnabled(), name);
    }

    void toolbarFollowsTheActiveChild()
    {
        auto window = newWindow();
        window->show();
        QVERIFY(!buttonShown(*window, "Neu")); // empty until a child offers buttons
        ToolbarState lists;
        lists.Ende = lists.Neu = lists.Aendern = lists.Loeschen = true;
        ToolbarState statistics;
        statistics.Ende = statistics.Drucken = statistics.Vorschau = true;
        statistics.DruckenStyle = ToolbarState::DropDown;
        auto *first = new RecordingChild(WindowKind::Customers, lists);
        auto *second = new RecordingChild(WindowKind::Statistics, statistics);
        window->openChild(first, nullptr);
        QVERIFY(buttonShown(*window, "Neu"));
        QVERIFY(!buttonShown(*window, "Vorschau"));
        QCOMPARE(window->activeWindowKind(), WindowKind::Customers);
        window->openChild(second, nullptr);
        QVERIFY(!buttonShown(*window, "Neu"));
        QVERIFY(buttonShown(*window, "Vorschau"));
        QCOMPARE(window->activeWindowKind(), WindowKind::Statistics);
        window->mdiArea()->setActiveSubWindow(window->mdiArea()->subWindowList().first());
        QVERIFY(buttonShown(*window, "Neu"));
        QCOMPARE(window->activeWindowKind(), WindowKind::Customers);
    }

    void commandsReachTheActiveChild()
    {
        auto window = newWindow();
        window->show();
        ToolbarState state;
        state.Neu = state.Drucken = true;
        auto *child = new RecordingChild(WindowKind::Customers, state);
        window->openChild(child, nullptr);
        window->toolButton("Neu")->click();
        window->findChild<QAction *>(QStringLiteral("mnuPopListDruck"))->trigger();
        window->toolButton("Drucken")->click(); // plain style: the command itself
        QCOMPARE(child->commands, (QStringList{"NEU", "LISTDRUCK", "DRUCKEN"}));

        // A button style that is neither plain nor drop-down does nothing.
        child->state.DruckenStyle = 3;
        window->SetToolbar(child->state);
        window->toolButton("Drucken")->click();
        QCOMPARE(child->commands.size(), 3);
    }

    void oneWindowOfEachKind()
    {
        auto window = newWindow();
        window->show();
        window->EnableMainMenus();
        int opened = 0;
        window->setChildFactory(WindowKind::Customers, [&opened](frmMain &) {
            ++opened;
            return new RecordingChild(WindowKind::Customers, {});
        });
        QAction *item = window->menuItem("mnuEditKunden");
        item->trigger();
        QCOMPARE(opened, 1);
        QVERIFY(!item->isEnabled());
        QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
        window->mdiArea()->subWindowList().first()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(item->isEnabled());

        // The statistics command does nothing while a statistics window is open.
        window->setChildFactory(WindowKind::Statistics, [&opened](frmMain &) {
            ++opened;
            return new RecordingChild(WindowKind::Statistics, {});
        });
        window->menuItem("mnuAbfragen")->trigger();
        window->menuItem("mnuAbfragen")->trigger();
        QCOMPARE(opened, 2);
        QVERIFY(window->StatistikOpen);
        window->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window->StatistikOpen);
    }

    void rebuildingCommandsRefuseWhileWindowsAreOpen()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        RecordingMessageBoxes boxes;
        auto window = newWindow();
        window->show();
        window->EnableMainMenus();
        QVERIFY(window->OnlyMainWindowOpen());
        window->openChild(new RecordingChild(WindowKind::Customers, {}), nullptr);
        window->menuItem("mnuEditSyncPCLumetra4")->trigger();
        window->menuItem("mnuDateiCompact")->trigger();
        QCOMPARE(boxes.texts(), QStringList(2, resString(26017)));
    }

    void missingHelpFileIsAWarning()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        RecordingMessageBoxes boxes;
        auto window = newWindow();
        OpenDocument(window.get(), home.filePath(QStringLiteral("Help/1/nowhere.pdf")));
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].icon, MessageBoxes::Icon::Warning);
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Die Hilfe-Datei wurde nicht gefunden!"));
    }

    void optionsDialogMayBeOpenForAPathChange()
    {
        RecordingMessageBoxes boxes;
        auto window = newWindow();
        window->show();
        QWidget options;
        options.setObjectName(QStringLiteral("frmOptions"));
        options.show();
        QVERIFY(window->OnlyMainAndOptionsOpen());
        QVERIFY(!window->OnlyMainWindowOpen());
        QWidget other;
        other.setObjectName(QStringLiteral("frmImport"));
        other.show();
        QVERIFY(!window->OnlyMainAndOptionsOpen());
        QCOMPARE(boxes.shown.size(), 2);
    }

    void shutDownWritesPathsAndPosition()
    {
        auto window = newWindow();
        locations->setDbFolder(QStringLiteral("/srv/lumetra"));
        window->setWindowState(Qt::WindowNoState);
        window->show();
        window->close();
        QCOMPARE(ini->read("Pfade", "Datenbank", {}), QStringLiteral("/srv/lumetra"));
        QCOMPARE(ini->read("frmMain", "State", {}), QStringLiteral("0"));
        QVERIFY(!ini->read("frmMain", "Width", {}).isEmpty());
    }

    void progressScalesLargeCounts()
    {
        Progress progress;
        progress.ShowProgress(true, 100000, QStringLiteral("x"));
        QCOMPARE(progress.maximum(), 32767);
        QCOMPARE(progress.step(), 0.32767);
        for (int i = 0; i < 200000; ++i)
            progress.StepProgress();
        QCOMPARE(progress.value(), 32767.0);
        progress.ShowProgress(true, 32767, QString());
        QCOMPARE(progress.step(), 1.0);
        progress.ShowProgress(true, 32768, QString());
        QVERIFY(progress.step() < 1.0);
        progress.ShowProgress(false);
        QVERIFY(!progress.isShown());
    }

    void progressReplacesTheStatusBar()
    {
        auto window = newWindow();
        window->show();
        window->progress().ShowProgress(true, 10, QStringLiteral("Löschen"));
        QVERIFY(window->findChild<QWidget *>(QStringLiteral("Picture1"))->isVisible());
        window->progress().ShowProgress(false);
        QVERIFY(!window->findChild<QWidget *>(QStringLiteral("Picture1"))->isVisible());
    }

    void smallPieces()
    {
        QCOMPARE(centreCaptions({"&Ende", "&Drucken", ""}),
                 (QStringList{"  &Ende ", "&Drucken", ""}));
        QCOMPARE(frmAbout::busLibraryText(QStringLiteral("VLM_BUS"), 105),
                 QStringLiteral("VLM_BUS V1.05"));
        QVERIFY(frmSplash::pictureFor(1).contains(QLatin1String("_de")));
        QVERIFY(frmSplash::pictureFor(2).contains(QLatin1String("_en")));
        QVERIFY(frmMain::windowCaption(QCoreApplication::applicationFilePath())
                    .startsWith(QLatin1String("Quennel Velmora GmbH - Lumetra 4 Desktop  V 1.12.0 / ")));
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
