#pragma once

#include <QDialog>

class DatabaseSession;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Recordset;

// The test window: shows one test and lets the user change its inspector, client and remark,
// or delete it. Works on the current record of the recordset it is given (no clone), so a grid
// bound to that recordset shows the change at once.
class frmPruefungen : public QDialog
{
    Q_OBJECT
public:
    frmPruefungen(DatabaseSession &session, Recordset &adoPruef, QWidget *parent = nullptr);

    void cmdSpeichern();
    void cmdLoeschen();

private:
    QLineEdit *lockedBox(const char *name, const QString &text);

    DatabaseSession &m_session;
    Recordset &m_adoPruef;
    QComboBox *cbbPruefer;
    QComboBox *cbbAuftraggeber;
    QLineEdit *txtBemerkung;
};
