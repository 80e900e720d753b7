#include "app/ChildWindow.h"

#include <QMdiSubWindow>

ChildWindow::ChildWindow(WindowKind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::CLICK_ENDE()
{
    // Inside the MDI area the sub-window frame is the window to close.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

void ChildWindow::runCommand(ChildCommand command)
{
    switch (command) {
    case ChildCommand::Ende: CLICK_ENDE(); break;
    case ChildCommand::Speichern: CLICK_SPEICHERN(); break;
    case ChildCommand::Drucken: CLICK_DRUCKEN(); break;
    case ChildCommand::ListDruck: CLICK_LISTDRUCK(); break;
    case ChildCommand::ProtokollDruck: CLICK_PROTOKOLLDRUCK(); break;
    case ChildCommand::Vorschau: CLICK_VORSCHAU(); break;
    case ChildCommand::Neu: CLICK_NEU(); break;
    case ChildCommand::Aendern: CLICK_AENDERN(); break;
    case ChildCommand::Loeschen: CLICK_LOESCHEN(); break;
    case ChildCommand::LoeschMess: CLICK_LOESCHMESS(); break;
    case ChildCommand::EinpflegenManuell: CLICK_EINPFLEGEN_MANUELL(); break;
    case ChildCommand::EinpflegenAutomatisch: CLICK_EINPFLEGEN_AUTOMATISCH(); break;
    case ChildCommand::ExportListe: CLICK_EXPORT_LISTE(); break;
    case ChildCommand::ExportProtokoll: CLICK_EXPORT_PROTOKOLL(); break;
    case ChildCommand::Vergroessern: CLICK_VERGROESSERN(); break;
    case ChildCommand::Verkleinern: CLICK_VERKLEINERN(); break;
    }
}
