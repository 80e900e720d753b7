#pragma once

#include "app/ChildWindow.h"
#include "app/ToolbarState.h"
#include "app/WindowKind.h"
#include "data/FileLocations.h"
#include "data/Progress.h"
#include "data/Settings.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class IniFile;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QProgressBar;
class QToolBar;
class QToolButton;

// The main window: an MDI frame with the menus, the toolbar that acts on the active child
// window, the status bar with its progress display, and the window list.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    frmMain(IniFile &ini, FileLocations &locations, const Settings &settings,
            QWidget *parent = nullptr);

    // "Quennel Velmora GmbH - Lumetra 4 Desktop  V 1.12.0 / <date of the program file> "
    static QString windowCaption(const QString &programFile);

    const Settings &settings() const { return m_settings; }
    // The options dialog replaces the settings when it applies its changes.
    void setSettings(const Settings &settings) { m_settings = settings; }
    Progress &progress() { return m_progress; }
    QAction *menuItem(const QString &name) const;
    QToolButton *toolButton(const QString &key) const;
    QMdiArea *mdiArea() const { return m_mdiArea; }

    WindowKind activeWindowKind() const { return m_activeWindowKind; }
    ChildWindow *activeChild() const;
    bool StatistikOpen = false;

    void EnableMainMenus();
    void SetToolbar(const ToolbarState &state);
    void HideToolbar();

    // Refuse (with a message) while any other window is open; the second allows the options
    // dialog, from which a database path change runs.
    bool OnlyMainWindowOpen();
    bool OnlyMainAndOptionsOpen();

    // Shows child inside the frame; the menu item that opened it stays disabled until it
    // closes, so only one window of each kind is open.
    void openChild(ChildWindow *child, QAction *openingItem);

    // Opens the child window for a menu item; set by the program for each kind of window.
    using ChildFactory = std::function<ChildWindow *(frmMain &)>;
    void setChildFactory(WindowKind kind, ChildFactory factory);

    // Runs a menu item's command that opens no child window (import, archive, compaction,
    // synchronisation, options); set by the program for each such item.
    using Command = std::function<void()>;
    void setCommand(const QString &menuItemName, Command command);

signals:
    void shutDown();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool refuseUnlessOnly(const QStringList &allowedWindows);
    void createMenus();
    void createToolbar();
    void createStatusBar();
    enum CommandPrecondition { OnlyMain, AnyWindows };
    QAction *addItem(QMenu *menu, const char *name, int captionString);
    void addCommandItem(QMenu *menu, const char *name, int captionString,
                        CommandPrecondition precondition);
    QMenu *addMenu(QMenu *parent, const char *name, int captionString);
    void addButton(const char *key, int captionString, int tooltipString, ChildCommand command,
                   const QList<std::pair<int, ChildCommand>> &buttonMenu = {});
    void buttonClicked(const QString &key, ChildCommand command);
    void sendToActiveChild(ChildCommand command);
    void childActivated(QMdiSubWindow *window);
    void openKind(WindowKind kind, QAction *item);
    void updateProgressDisplay();
    void showHelp();
    void showAbout();

    IniFile &m_ini;
    FileLocations &m_locations;
    Settings m_settings;
    Progress m_progress;
    WindowKind m_activeWindowKind = WindowKind::None;
    bool m_firstActivation = true;

    QMdiArea *m_mdiArea;
    QToolBar *m_toolbar = nullptr;
    QHash<QString, QAction *> m_menuItems;
    QHash<QString, QToolButton *> m_buttons;
    QList<QMenu *> m_topMenus;
    QMenu *m_windowMenu = nullptr;
    QMenu *mnuPop = nullptr;
    QMenu *mnuPopPruef = nullptr;
    QMenu *mnuPopExport = nullptr;
    QWidget *m_progressArea = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QLabel *m_progressLabel = nullptr;
    QLabel *m_statusText = nullptr;
    QLabel *m_statusDate = nullptr;
    QHash<WindowKind, ChildFactory> m_factories;
    QHash<QString, Command> m_commands;
};
