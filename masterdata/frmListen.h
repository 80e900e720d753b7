#pragma once

#include "app/ChildWindow.h"
#include "masterdata/MasterListKind.h"

#include <functional>
#include <memory>

class DatabaseSession;
class IniFile;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;
class Recordset;
class RecordsetModel;
class clsGrid;
class frmMain;
class frmNeukunden;

// One master data list (inspectors, clients or customers): search, add and edit entries
// through the entry window, delete the marked entries, print the list.
class frmListen : public ChildWindow
{
    Q_OBJECT
public:
    frmListen(DatabaseSession &session, IniFile &ini, frmMain &mainWindow, MasterListKind kind,
              QWidget *parent = nullptr);
    ~frmListen() override;

    // The window for the main window's factory; nullptr after reporting a failure to open.
    static ChildWindow *open(DatabaseSession &session, IniFile &ini, frmMain &mainWindow,
                             MasterListKind kind);

    ToolbarState toolbarState() const override;

    void CLICK_NEU() override;
    void CLICK_AENDERN() override;
    void CLICK_LOESCHEN() override;
    void CLICK_DRUCKEN() override;

    MasterListKind listKind() const { return m_kind; }
    Recordset &adoctrl() { return *m_adoctrl; }
    Recordset *adoPruef() { return m_adoPruef.get(); }
    QTableView *grid() const { return DataGrid1; }
    clsGrid &gridSupport() { return *m_gridSupport; }
    QLineEdit *searchBox() const { return txtSuchen; }
    QPushButton *searchButton() const { return cmdSuchen; }

    // How the window shows the modal entry window; tests replace it to work the dialog.
    using EntryRunner = std::function<void(frmNeukunden &)>;
    void setEntryRunner(EntryRunner runner) { m_runEntry = std::move(runner); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void search();
    void clearSearch();
    void setSearchButton(bool searching);
    void showEntry(bool newRecord);
    void addShortcuts();
    QList<int> markedBookmarks();
    void selectCurrentRow();

    DatabaseSession &m_session;
    IniFile &m_ini;
    frmMain &m_main;
    MasterListKind m_kind;
    std::unique_ptr<Recordset> m_adoctrl;
    std::unique_ptr<Recordset> m_adoPruef;
    EntryRunner m_runEntry;
    int PrevSortCol = 0;
    QString ADOSortrichtung;
    bool m_searching = false;

    QTableView *DataGrid1;
    RecordsetModel *m_model = nullptr;
    clsGrid *m_gridSupport = nullptr;
    QGroupBox *FrameSuchen;
    QLineEdit *txtSuchen;
    QPushButton *cmdSuchen;
};
