#include "app/frmMain.h"

#include "app/DesktopServices.h"
#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "app/ToolbarCaptions.h"
#include "app/WindowPlacement.h"
#include "app/frmAbout.h"
#include "app/frmPlaceholder.h"
#include "bus/client/VlmBusLibrary.h"
#include "data/ErrorReport.h"
#include "data/FormPosition.h"
#include "data/IniFile.h"
#include "data/Localisation.h"
#include "data/StringTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

// Smallest size of the main window in the normal state, in twips.
constexpr int minimumWidthTwips = 16000;
constexpr int minimumHeightTwips = 11000;

const char *const webSite = "https://www.quennel-velmora.example/";

} // namespace

frmMain::frmMain(IniFile &ini, FileLocations &locations, const Settings &settings,
                 QWidget *parent)
    : QMainWindow(parent)
    , m_ini(ini)
    , m_locations(locations)
    , m_settings(settings)
    , m_mdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/lumetra4.svg")));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::childActivated);

    createMenus();
    createToolbar();
    createStatusBar();
    connect(&m_progress, &Progress::changed, this, &frmMain::updateProgressDisplay);

    setWindowTitle(windowCaption(QCoreApplication::applicationFilePath()));
    RestoreFormPosition(m_ini, this, 7450, 10000, FormPlacement::Maximised);
}

QString frmMain::windowCaption(const QString &programFile)
{
    const QDateTime stamp = QFileInfo(programFile).lastModified();
    return QStringLiteral("Quennel Velmora GmbH - Lumetra 4 Desktop  V ")
           + QStringLiteral(LUMETRA4_VERSION) + QStringLiteral(" / ")
           + stamp.date().toString(fixedShortDateFormat()) + u' ';
}

QAction *frmMain::addItem(QMenu *menu, const char *name, int captionString)
{
    auto *action = menu->addAction(resString(captionString));
    action->setObjectName(QLatin1String(name));
    m_menuItems.insert(QLatin1String(name), action);
    return action;
}

void frmMain::addCommandItem(QMenu *menu, const char *name, int captionString,
                             CommandPrecondition precondition)
{
    const QString item = QLatin1String(name);
    connect(addItem(menu, name, captionString), &QAction::triggered, this,
            [this, item, precondition] {
                if (precondition == OnlyMain && !OnlyMainWindowOpen())
                    return;
                const Command command = m_commands.value(item);
                if (command)
                    command();
                else // a command this version does not have yet
                    showInformation(this, resString(26190));
            });
}

void frmMain::setCommand(const QString &menuItemName, Command command)
{
    m_commands.insert(menuItemName, std::move(command));
}

QMenu *frmMain::addMenu(QMenu *parent, const char *name, int captionString)
{
    QMenu *menu = parent ? parent->addMenu(resString(captionString))
                         : menuBar()->addMenu(resString(captionString));
    menu->setObjectName(QLatin1String(name));
    m_menuItems.insert(QLatin1String(name), menu->menuAction());
    if (!parent) {
        menu->menuAction()->setEnabled(false); // until the database is open
        m_topMenus << menu;
    }
    return menu;
}

void frmMain::createMenus()
{
    QMenu *mnuDatei = addMenu(nullptr, "mnuDatei", 501);
    addCommandItem(mnuDatei, "mnuDateiImport", 502, OnlyMain);
    addCommandItem(mnuDatei, "mnuDateiMigration", 25330, OnlyMain);
    mnuDatei->addSeparator();
    addCommandItem(mnuDatei, "mnuDateiArchivieren", 522, OnlyMain);
    connect(addItem(mnuDatei, "mnuDateiArchivoeffnen", 523), &QAction::triggered, this,
            [this] { openKind(WindowKind::ArchiveStatistics, menuItem("mnuDateiArchivoeffnen")); });
    mnuDatei->addSeparator();
    addCommandItem(mnuDatei, "mnuDateiCompact", 503, OnlyMain);
    mnuDatei->addSeparator();
    QAction *quit = addItem(mnuDatei, "mnuDateiBeenden", 504);
    quit->setText(quit->text() + QStringLiteral("\tALT+F4"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu *mnuEdit = addMenu(nullptr, "mnuEdit", 505);
    QMenu *sync = addMenu(mnuEdit, "mnuEditSynchronisierung", 527);
    addCommandItem(sync, "mnuEditSyncPCLumetra4", 525, OnlyMain);
    addCommandItem(sync, "mnuEditSyncPCLumetra4IRDA", 526, OnlyMain);
    mnuEdit->addSeparator();
    connect(addItem(mnuEdit, "mnuEditNeukundenpflege", 506), &QAction::triggered, this,
            [this] { openKind(WindowKind::NewTests, menuItem("mnuEditNeukundenpflege")); });
    mnuEdit->addSeparator();
    connect(addItem(mnuEdit, "mnuEditKunden", 507), &QAction::triggered, this,
            [this] { openKind(WindowKind::Customers, menuItem("mnuEditKunden")); });
    connect(addItem(mnuEdit, "mnuEditPruefer", 509), &QAction::triggered, this,
            [this] { openKind(WindowKind::Inspectors, menuItem("mnuEditPruefer")); });
    connect(addItem(mnuEdit, "mnuEditAuftraggeber", 510), &QAction::triggered, this,
            [this] { openKind(WindowKind::Clients, menuItem("mnuEditAuftraggeber")); });

    // The statistics menu is a command of its own, without items.
    auto *mnuAbfragen = menuBar()->addAction(resString(511));
    mnuAbfragen->setObjectName(QStringLiteral("mnuAbfragen"));
    mnuAbfragen->setEnabled(false);
    m_menuItems.insert(QStringLiteral("mnuAbfragen"), mnuAbfragen);
    connect(mnuAbfragen, &QAction::triggered, this, [this] {
        if (StatistikOpen)
            return;
        StatistikOpen = true;
        openKind(WindowKind::Statistics, nullptr);
    });

    QMenu *mnuExtras = addMenu(nullptr, "mnuExtras", 512);
    addCommandItem(mnuExtras, "mnuExtrasOptionen", 515, AnyWindows);

    m_windowMenu = addMenu(nullptr, "mnuFenster", 516);
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] {
        m_windowMenu->clear();
        const auto windows = m_mdiArea->subWindowList();
        for (int i = 0; i < windows.size(); ++i) {
            QMdiSubWindow *window = windows[i];
            QAction *entry = m_windowMenu->addAction(
                QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle()));
            entry->setCheckable(true);
            entry->setChecked(window == m_mdiArea->activeSubWindow());
            connect(entry, &QAction::triggered, this,
                    [this, window] { m_mdiArea->setActiveSubWindow(window); });
        }
    });

    QMenu *mnuHelp = addMenu(nullptr, "mnuHelp", 517);
    QAction *contents = addItem(mnuHelp, "mnuHelpContents", 518);
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    connect(contents, &QAction::triggered, this, &frmMain::showHelp);
    mnuHelp->addSeparator();
    connect(addItem(mnuHelp, "mnuWeb", 520), &QAction::triggered, this,
            [this] { OpenWebSite(this, QUrl(QLatin1String(webSite))); });
    mnuHelp->addSeparator();
    connect(addItem(mnuHelp, "mnuHelpAbout", 521), &QAction::triggered, this,
            &frmMain::showAbout);

    // The popup menus of the drop-down buttons.
    mnuPop = new QMenu(this);
    mnuPop->setObjectName(QStringLiteral("mnuPop"));
    connect(addItem(mnuPop, "mnuPopListDruck", 528), &QAction::triggered, this,
            [this] { sendToActiveChild(ChildCommand::ListDruck); });
    connect(addItem(mnuPop, "mnuPopProtokollDruck", 529), &QAction::triggered, this,
            [this] { sendToActiveChild(ChildCommand::ProtokollDruck); });
    mnuPopPruef = new QMenu(this);
    mnuPopPruef->setObjectName(QStringLiteral("mnuPopPruef"));
    connect(addItem(mnuPopPruef, "mnuPopPruefEinpflegenManuell", 530), &QAction::triggered, this,
            [this] { sendToActiveChild(ChildCommand::EinpflegenManuell); });
    connect(addItem(mnuPopPruef, "mnuPopPruefEinpflegenAutomatisch", 531), &QAction::triggered,
            this, [this] { sendToActiveChild(ChildCommand::EinpflegenAutomatisch); });
    mnuPopExport = new QMenu(resString(572), this);
    mnuPopExport->setObjectName(QStringLiteral("mnuPopExport"));
    connect(addItem(mnuPopExport, "mnuPopExportListe", 532), &QAction::triggered, this,
            [this] { sendToActiveChild(ChildCommand::ExportListe); });
    connect(addItem(mnuPopExport, "mnuPopExportProtokoll", 533), &QAction::triggered, this,
            [this] { sendToActiveChild(ChildCommand::ExportProtokoll); });
}

void frmMain::addButton(const char *key, int captionString, int tooltipString,
                        ChildCommand command, const QList<std::pair<int, ChildCommand>> &buttonMenu)
{
    auto *button = new QToolButton(m_toolbar);
    button->setObjectName(QString::fromUtf8(key));
    button->setText(captionString ? resString(captionString) : QStringLiteral("&Speichern"));
    button->setToolTip(tooltipString ? resString(tooltipString) : QStringLiteral("Speichern"));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    if (!buttonMenu.isEmpty()) {
        auto *menu = new QMenu(button);
        for (const auto &[text, itemCommand] : buttonMenu) {
            connect(menu->addAction(resString(text)), &QAction::triggered, this,
                    [this, itemCommand] { sendToActiveChild(itemCommand); });
        }
        button->setMenu(menu);
    }
    connect(button, &QToolButton::clicked, this,
            [this, key, command] { buttonClicked(QString::fromUtf8(key), command); });
    m_toolbar->addWidget(button)->setObjectName(QString::fromUtf8(key));
    m_buttons.insert(QString::fromUtf8(key), button);
}

void frmMain::createToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("tbToolBarNeu"));
    m_toolbar->setMovable(false);
    using C = ChildCommand;
    addButton("Ende", 552, 561, C::Ende);
    addButton("Speichern", 0, 0, C::Speichern);
    addButton("Drucken", 553, 563, C::Drucken, {{528, C::ListDruck}, {529, C::ProtokollDruck}});
    addButton("Vorschau", 554, 564, C::Vorschau);
    addButton("Neu", 555, 565, C::Neu);
    addButton("Ändern", 556, 566, C::Aendern);
    addButton("Löschen", 557, 567, C::Loeschen);
    addButton("LöschMess", 557, 569, C::LoeschMess);
    addButton("Einpflegen", 558, 568, C::EinpflegenManuell,
              {{530, C::EinpflegenManuell}, {531, C::EinpflegenAutomatisch}});
    addButton("Exportieren", 572, 573, C::ExportListe,
              {{532, C::ExportListe}, {533, C::ExportProtokoll}});
    addButton("Vergrößern", 560, 570, C::Vergroessern);
    addButton("Verkleinern", 559, 571, C::Verkleinern);

    const QList<QToolButton *> buttons = m_toolbar->findChildren<QToolButton *>();
    QStringList captions;
    for (QToolButton *button : buttons)
        captions << button->text();
    captions = centreCaptions(captions);
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setText(captions[i]);

    const QHash<QString, QStyle::StandardPixmap> icons{
        {"Ende", QStyle::SP_DialogCloseButton}, {"Speichern", QStyle::SP_DialogSaveButton},
        {"Drucken", QStyle::SP_FileDialogDetailedView}, {"Vorschau", QStyle::SP_FileDialogContentsView},
        {"Neu", QStyle::SP_FileIcon}, {"Ändern", QStyle::SP_FileDialogInfoView},
        {"Löschen", QStyle::SP_TrashIcon}, {"LöschMess", QStyle::SP_TrashIcon},
        {"Einpflegen", QStyle::SP_DialogApplyButton}, {"Exportieren", QStyle::SP_DriveFDIcon},
        {"Vergrößern", QStyle::SP_ArrowUp}, {"Verkleinern", QStyle::SP_ArrowDown}};
    for (auto it = icons.begin(); it != icons.end(); ++it)
        m_buttons.value(it.key())->setIcon(style()->standardIcon(it.value()));
    HideToolbar();
}

void frmMain::createStatusBar()
{
    m_statusText = new QLabel(statusBar());
    m_statusDate = new QLabel(QLocale::system().toString(QDate::currentDate(),
                                                         fixedShortDateFormat()), statusBar());
    statusBar()->addWidget(m_statusText, 1);
    statusBar()->addPermanentWidget(m_statusDate);

    m_progressArea = new QWidget(statusBar());
    m_progressArea->setObjectName(QStringLiteral("Picture1"));
    auto *layout = new QHBoxLayout(m_progressArea);
    layout->setContentsMargins(0, 0, 0, 0);
    m_progressBar = new QProgressBar(m_progressArea);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setMinimum(0);
    m_progressLabel = new QLabel(m_progressArea);
    m_progressLabel->setObjectName(QStringLiteral("lblprogress"));
    layout->addWidget(m_progressBar, 1);
    layout->addWidget(m_progressLabel, 1);
    statusBar()->addWidget(m_progressArea, 1);
    m_progressArea->hide();
}

void frmMain::updateProgressDisplay()
{
    const bool shown = m_progress.isShown();
    m_progressArea->setVisible(shown);
    m_statusText->setVisible(!shown);
    m_statusDate->setVisible(!shown);
    if (shown) {
        m_progressLabel->setText(m_progress.text());
        m_progressBar->setMaximum(m_progress.maximum());
        m_progressBar->setValue(static_cast<int>(m_progress.value()));
        m_progressArea->repaint();
    }
}

QAction *frmMain::menuItem(const QString &name) const
{
    return m_menuItems.value(name);
}

QToolButton *frmMain::toolButton(const QString &key) const
{
    return m_buttons.value(key);
}

void frmMain::EnableMainMenus()
{
    for (QMenu *menu : std::as_const(m_topMenus))
        menu->menuAction()->setEnabled(true);
    menuItem(QStringLiteral("mnuAbfragen"))->setEnabled(true);
}

void frmMain::SetToolbar(const ToolbarState &state)
{
    const QList<std::pair<const char *, bool>> enabled{
        {"Ende", state.Ende}, {"Speichern", state.Speichern}, {"Drucken", state.Drucken},
        {"Vorschau", state.Vorschau}, {"Neu", state.Neu}, {"Ändern", state.Aendern},
        {"Einpflegen", state.Einpflegen}, {"Löschen", state.Loeschen},
        {"LöschMess", state.LoeschMess}, {"Vergrößern", state.Vergroessern},
        {"Verkleinern", state.Verkleinern}, {"Exportieren", state.Exportieren}};
    for (const auto &[key, on] : enabled) {
        QToolButton *button = toolButton(QString::fromUtf8(key));
        button->setEnabled(on);
        // The toolbar holds each button through an action; hiding that hides the slot too.
        for (QAction *action : m_toolbar->actions()) {
            if (action->objectName() == QString::fromUtf8(key))
                action->setVisible(on);
        }
    }
    toolButton(QStringLiteral("Drucken"))->setProperty("buttonStyle", state.DruckenStyle);
    toolButton(QStringLiteral("Drucken"))
        ->setPopupMode(state.DruckenStyle == ToolbarState::DropDown
                           ? QToolButton::MenuButtonPopup
                           : QToolButton::DelayedPopup);
}

void frmMain::HideToolbar()
{
    SetToolbar(ToolbarState{});
}

void frmMain::buttonClicked(const QString &key, ChildCommand command)
{
    QToolButton *button = toolButton(key);
    QMenu *popup = key == QLatin1String("Drucken")       ? mnuPop
                   : key == QLatin1String("Einpflegen")  ? mnuPopPruef
                   : key == QLatin1String("Exportieren") ? mnuPopExport
                                                         : nullptr;
    if (!popup) {
        sendToActiveChild(command);
        return;
    }
    const int style = button->property("buttonStyle").toInt();
    if (style == ToolbarState::Plain)
        sendToActiveChild(command);
    else if (style == ToolbarState::DropDown)
        popup->popup(button->mapToGlobal(QPoint(0, button->height())));
}

ChildWindow *frmMain::activeChild() const
{
    QMdiSubWindow *window = m_mdiArea->activeSubWindow();
    return window ? qobject_cast<ChildWindow *>(window->widget()) : nullptr;
}

void frmMain::sendToActiveChild(ChildCommand command)
{
    if (ChildWindow *child = activeChild())
        child->runCommand(command);
}

void frmMain::childActivated(QMdiSubWindow *window)
{
    auto *child = window ? qobject_cast<ChildWindow *>(window->widget()) : nullptr;
    if (!child) {
        if (m_mdiArea->subWindowList().isEmpty())
            HideToolbar();
        return;
    }
    m_activeWindowKind = child->windowKind();
    SetToolbar(child->toolbarState());
}

bool frmMain::OnlyMainWindowOpen()
{
    return refuseUnlessOnly({});
}

bool frmMain::OnlyMainAndOptionsOpen()
{
    return refuseUnlessOnly({QStringLiteral("frmOptions")});
}

bool frmMain::refuseUnlessOnly(const QStringList &allowedWindows)
{
    bool othersOpen = !m_mdiArea->subWindowList().isEmpty();
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() && window->isWindow()
            && !window->inherits("QMenu") && !allowedWindows.contains(window->objectName()))
            othersOpen = true;
    }
    if (!othersOpen)
        return true;
    showInformation(this, resString(26017));
    return false;
}

void frmMain::setChildFactory(WindowKind kind, ChildFactory factory)
{
    m_factories.insert(kind, std::move(factory));
}

void frmMain::openKind(WindowKind kind, QAction *item)
{
    m_activeWindowKind = kind;
    const ChildFactory factory = m_factories.value(kind);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ChildWindow *child = factory ? factory(*this)
                                 : new frmPlaceholder(kind, item ? item->text() : resString(511));
    if (child)
        openChild(child, item);
    QApplication::restoreOverrideCursor();
}

void frmMain::openChild(ChildWindow *child, QAction *openingItem)
{
    QMdiSubWindow *window = m_mdiArea->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (openingItem) {
        openingItem->setEnabled(false);
        connect(child, &QObject::destroyed, openingItem, [openingItem] {
            openingItem->setEnabled(true);
        });
    }
    const WindowKind kind = child->windowKind();
    connect(child, &QObject::destroyed, this, [this, kind] {
        if (kind == WindowKind::Statistics)
            StatistikOpen = false;
    });
    connect(child, &ChildWindow::toolbarStateChanged, this, [this, child] {
        if (activeChild() == child)
            SetToolbar(child->toolbarState());
    });
    window->show();
    m_mdiArea->setActiveSubWindow(window);
}

void frmMain::showHelp()
{
    OpenDocument(this, FileLocations::helpFile(StringTable::instance().languageNo()));
}

void frmMain::showAbout()
{
    frmAbout about(this);
    try {
        const VlmBusFunctions &bus = VlmBusLibrary::instance().functions();
        char name[256] = {};
        const int32_t length = bus.GetComponentName(name);
        about.setBusLibrary(QString::fromLatin1(name, qBound(0, int(length), 255)),
                            bus.GetDLLVersionNr());
    } catch (const RuntimeErrorException &) {
        // Without the bus library the box simply names none.
    }
    about.exec();
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        ApplyLocaleFont(this, true);
        if (m_firstActivation && m_mdiArea->subWindowList().isEmpty())
            HideToolbar();
        m_firstActivation = false;
    }
    QMainWindow::changeEvent(event);
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    const QSize smallest(twipsToPixels(minimumWidthTwips, dpi),
                         twipsToPixels(minimumHeightTwips, dpi));
    if (width() < smallest.width() || height() < smallest.height())
        resize(size().expandedTo(smallest));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    m_mdiArea->closeAllSubWindows();
    if (!m_mdiArea->subWindowList().isEmpty()) {
        event->ignore(); // a child refused to close
        return;
    }
    if (!m_ini.write(QStringLiteral("Pfade"), QStringLiteral("Datenbank"), m_locations.dbFolder))
        ErrorReport::ShowError({75, QStringLiteral("frmMain"), m_ini.lastError()});
    SaveFormPosition(m_ini, this);
    emit shutDown();
    event->accept();
}
