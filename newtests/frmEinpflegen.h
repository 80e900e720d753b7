#pragma once

#include <QDialog>
#include <QList>

#include <memory>

class DatabaseSession;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QWidget;
class Recordset;
class RecordsetModel;

// Files one new test by hand: under a new customer entered on the first tab, or under a
// customer picked from the searchable list on the second. Opens on the tab that the numbers
// of the test suggest.
class frmEinpflegen : public QDialog
{
    Q_OBJECT
public:
    frmEinpflegen(DatabaseSession &session, Recordset &adoPruef, QWidget *parent = nullptr);
    ~frmEinpflegen() override;

    void cmdSuchen();
    void cmdEinpflegenNeu();
    void cmdEinpflegenZuordnen();

    Recordset &customerList() { return *m_customers; }

private:
    void buildNewCustomerTab();
    void buildCustomerListTab();
    void showTab(int index);
    void search();
    void clearSearch();
    void setSearchButton(bool searching);
    void preselect();

    DatabaseSession &m_session;
    Recordset &m_adoPruef;
    std::unique_ptr<Recordset> m_customers;
    int m_sortColumn = -1;
    QString m_sortDirection;
    bool m_searching = false;

    QTabWidget *SSTab1;
    QWidget *Frame1 = nullptr;
    QWidget *Frame2 = nullptr;
    QList<QLineEdit *> TextFeld;
    QLineEdit *txtLastKundenNr = nullptr;
    QPushButton *cmdAbbrechen0 = nullptr;
    QPushButton *cmdAbbrechen1 = nullptr;
    QTableView *DataGrid1 = nullptr;
    RecordsetModel *m_model = nullptr;
    QLineEdit *txtSuchen = nullptr;
    QPushButton *m_cmdSuchen = nullptr;
};
