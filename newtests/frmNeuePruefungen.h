#pragma once

#include "app/ChildWindow.h"

#include <functional>
#include <memory>

class CurveChartView;
class DatabaseSession;
class IniFile;
class NewTestsGridModel;
class QDialog;
class QLabel;
class QTabWidget;
class QTableView;
class Recordset;
class RecordsetModel;
class TestDataView;
class clsGrid;
class frmMain;

// The list of new tests: the office looks at each test with its values and curves, edits it,
// deletes it, and files it under a customer by hand or automatically.
class frmNeuePruefungen : public ChildWindow
{
    Q_OBJECT
public:
    frmNeuePruefungen(DatabaseSession &session, IniFile &ini, frmMain &mainWindow,
                      QWidget *parent = nullptr);
    ~frmNeuePruefungen() override;

    ToolbarState toolbarState() const override;

    void CLICK_AENDERN() override;
    void CLICK_LOESCHMESS() override;
    void CLICK_EINPFLEGEN_MANUELL() override;
    void CLICK_EINPFLEGEN_AUTOMATISCH() override;

    Recordset &adoPruef() { return *m_adoPruef; }
    QTableView *grid() const { return DataGrid2; }
    clsGrid &gridSupport() { return *m_gridSupport; }

    // How the window shows its modal dialogs (the test window and the filing window); tests
    // replace it to work the dialog instead of waiting for a user.
    using DialogRunner = std::function<void(QDialog &)>;
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadList();
    void setUpColumns();
    void tabChanged(int index);
    void showCurrentTest();
    void addShortcuts();
    QList<int> markedBookmarks();
    void reloadAfterFiling(bool fullReload);

    DatabaseSession &m_session;
    IniFile &m_ini;
    frmMain &m_main;
    bool m_fastGraphics;
    std::unique_ptr<Recordset> m_adoPruef;
    DialogRunner m_runDialog;
    int m_sortColumn = -1;
    QString m_sortDirection;

    QTabWidget *SSTab1;
    QTableView *DataGrid2;
    RecordsetModel *m_recordsetModel = nullptr;
    NewTestsGridModel *m_gridModel = nullptr;
    clsGrid *m_gridSupport = nullptr;
    TestDataView *m_data;
    CurveChartView *ChartDruck;
    CurveChartView *ChartFluss;
    QLabel *lblNoData;
};
