#pragma once

#include "masterdata/MasterDataEntry.h"

#include <QDialog>
#include <QList>

class DatabaseSession;
class QLabel;
class QLineEdit;
class QPushButton;
class Recordset;

// Adds or edits one entry of a master data list: one labelled box per column of the list
// recordset, so the same window serves customers, inspectors and clients. Modal; ends by
// saving (after the checks pass), cancelling or deleting.
class frmNeukunden : public QDialog
{
    Q_OBJECT
public:
    frmNeukunden(DatabaseSession &session, Recordset &adoctrl, MasterListKind kind,
                 bool newRecordMode, QWidget *parent = nullptr);

    void CLICK_SPEICHERN();
    void cmdLoeschen();

    const QList<QLineEdit *> &TextFeld() const { return m_boxes; }
    const QList<QLabel *> &lblFeld() const { return m_labels; }
    QPushButton *saveButton() const { return cmdSpeichern; }
    QPushButton *deleteButton() const { return m_cmdLoeschen; }

private:
    MasterDataEntry m_entry;
    QList<QLabel *> m_labels;
    QList<QLineEdit *> m_boxes;
    QPushButton *cmdSpeichern;
    QPushButton *cmdAbbrechen;
    QPushButton *m_cmdLoeschen;
};
