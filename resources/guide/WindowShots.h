#pragma once

#include <QDir>
#include <QString>

#include <functional>

class QMenu;
class QWidget;
class frmMain;

// A picture that could not be taken.
struct ShotFailure
{
    QString text;
};

// Lets pending events (layouts, paints, deferred deletes) run.
void settle();

// Takes the guide's pictures of the program's windows and saves them as <folder>/<name>.png.
// The main window is shown at one fixed size and with a fixed date in its status bar, so the
// same program makes the same pictures on any day.
class WindowShots
{
public:
    WindowShots(frmMain &main, const QString &folder);

    // The main window with its active child window maximised.
    void mainWindow(const QString &name);
    void widget(const QString &name, QWidget *widget);
    // The main window with a menu opened below its anchor (a menu bar entry's menu when the
    // anchor is empty, a toolbar button, or the parent menu of a submenu).
    void menu(const QString &name, QMenu *menu, QWidget *anchor = nullptr);
    // Takes the next modal dialog when it has opened, after prepare has run on it, and closes
    // it; check() reports a dialog that never opened.
    void whenModal(const QString &name, std::function<void(QWidget *)> prepare);
    void check();
    void closeChildren();

private:
    void save(const QString &name, const QImage &image);

    frmMain &m_main;
    QDir m_folder;
    QString m_pendingModal;
    QString m_failure;
};
