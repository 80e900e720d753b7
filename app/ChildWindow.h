#pragma once

#include "app/ToolbarState.h"
#include "app/WindowKind.h"

#include <QWidget>

// The named commands that the toolbar and the popup menus send to the active child window.
enum class ChildCommand {
    Ende, Speichern, Drucken, ListDruck, ProtokollDruck, Vorschau, Neu, Aendern, Loeschen,
    LoeschMess, EinpflegenManuell, EinpflegenAutomatisch, ExportListe, ExportProtokoll,
    Vergroessern, Verkleinern,
};

// A working window inside the main window. It tells the main window which toolbar buttons it
// offers and implements the commands of those buttons; a command it does not offer does
// nothing.
class ChildWindow : public QWidget
{
    Q_OBJECT
public:
    ChildWindow(WindowKind kind, QWidget *parent = nullptr);

    WindowKind windowKind() const { return m_kind; }
    virtual ToolbarState toolbarState() const = 0;

    void runCommand(ChildCommand command);

    virtual void CLICK_ENDE();
    virtual void CLICK_SPEICHERN() {}
    virtual void CLICK_DRUCKEN() {}
    virtual void CLICK_LISTDRUCK() {}
    virtual void CLICK_PROTOKOLLDRUCK() {}
    virtual void CLICK_VORSCHAU() {}
    virtual void CLICK_NEU() {}
    virtual void CLICK_AENDERN() {}
    virtual void CLICK_LOESCHEN() {}
    virtual void CLICK_LOESCHMESS() {}
    virtual void CLICK_EINPFLEGEN_MANUELL() {}
    virtual void CLICK_EINPFLEGEN_AUTOMATISCH() {}
    virtual void CLICK_EXPORT_LISTE() {}
    virtual void CLICK_EXPORT_PROTOKOLL() {}
    virtual void CLICK_VERGROESSERN() {}
    virtual void CLICK_VERKLEINERN() {}

signals:
    // The set of offered buttons changed while the window is active.
    void toolbarStateChanged();

private:
    WindowKind m_kind;
};
