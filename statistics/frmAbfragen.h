#pragma once

#include "app/ChildWindow.h"
#include "statistics/QueryCriteria.h"

#include <functional>
#include <memory>

class CurveChartView;
class ExportGrid;
class FileLocations;
struct ExportCriteria;
class Database;
class IniFile;
class QCalendarWidget;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;
class Recordset;
class RecordsetModel;
class StatisticsGridModel;
class StatisticsTests;
class TestDataView;
class clsGrid;
class frmMain;

// The statistics window: finds tests by test kind, customer, inspector, client, instrument,
// finding, date and flow, lists them and shows the current one with its curves. It works on
// the connection it is given: the working database (WindowKind::Statistics) or an opened
// archive (WindowKind::ArchiveStatistics), whose tests cannot be deleted.
class frmAbfragen : public ChildWindow
{
    Q_OBJECT
public:
    frmAbfragen(Database &connection, WindowKind mode, IniFile &ini, frmMain &mainWindow,
                QWidget *parent = nullptr);
    ~frmAbfragen() override;

    ToolbarState toolbarState() const override;
    void CLICK_LOESCHMESS() override;
    // The protocol of the current test in the preview window.
    void CLICK_VORSCHAU() override;
    // The protocols of every listed test, through the print dialog.
    void CLICK_PROTOKOLLDRUCK() override;
    // The list as it stands, with a header that states the criteria.
    void CLICK_LISTDRUCK() override;
    // The list as a semicolon-separated file.
    void CLICK_EXPORT_LISTE() override;
    // The marked test's protocol (else the current one's) as a semicolon-separated file.
    void CLICK_EXPORT_PROTOKOLL() override;
    // Where the company logo lies and exports go; exportFolder follows the last export.
    void setLocations(FileLocations &locations) { m_locations = &locations; }

    // Rebuilds the filter from the criteria and applies it.
    void SetFilter();
    // Empties every criterion and filters once.
    void ResetCriteria();

    Recordset &rstPruefungen1() const;
    Recordset &rstKunden1() const;
    QTableView *grid() const { return DataGrid2; }
    QTableView *customerGrid() const { return DataGrid1; }
    bool inCustomerSearch() const { return m_customerSearch; }
    clsGrid &gridSupport() { return *m_gridSupport; }
    bool columnVisible(const QString &caption) const;
    // The criteria as the controls hold them.
    QueryCriteria criteria() const;

    // Called after tests were deleted in the working database, so that the shared lists follow.
    void setTestsDeletedHandler(std::function<void()> handler)
    {
        m_testsDeleted = std::move(handler);
    }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString logoFile() const;
    void restoreColumnLayout();
    void saveColumnLayout();
    QString chooseExportFile();
    ExportCriteria exportCriteria() const;
    ExportGrid exportGrid() const;
    void writeExport(const QString &file, const QStringList &lines);
    void buildCriteria(QWidget *frame);
    void buildDataTab(QWidget *tab);
    void buildCustomerSearch(QWidget *page);
    void enterCustomerSearch();
    void leaveCustomerSearch();
    void customerChosen(const QModelIndex &index);
    void searchCustomers();
    QString caption() const;
    void switchDataBase();
    void testKindChosen();
    void comboColumnChoice(QComboBox *combo, const QString &caption);
    void fillChoices();
    void SetColumnVisible(const QString &caption, bool visible);
    void ApplyColumnVisibility();
    void SetDefaultColumns();
    void FormatColumns();
    void SelectFirstVisibleColumn();
    void tabChanged(int index);
    void ShowTestData();
    void ClearTestData();
    void dateEntered(QLineEdit *box);
    bool acceptDate(QLineEdit *box);
    void flowEntered(QLineEdit *box);
    bool acceptFlow(QLineEdit *box);
    void openCalendar(QLineEdit *box);
    void addShortcuts();
    QDate dateOf(const QLineEdit *box) const;

    std::unique_ptr<StatisticsTests> m_data;
    WindowKind m_mode;
    IniFile &m_ini;
    frmMain &m_main;
    bool m_fastGraphics;
    bool formLoaded = false;
    bool suspendFilter = false;
    bool newTestsBase = true;
    QList<bool> m_columnVisible;
    int m_sortColumn = -1;
    QString m_sortDirection = QStringLiteral("ASC");
    std::function<void()> m_testsDeleted;
    FileLocations *m_locations = nullptr;

    QComboBox *cbbKunden;
    QComboBox *cbbPruefart;
    QComboBox *cbbBefund;
    QComboBox *cbbPruefer;
    QComboBox *cbbAuftraggeber;
    QComboBox *cbbFabNr;
    QLabel *lblBefund;
    QList<QWidget *> m_flowControls;
    QLineEdit *MaskDatemin;
    QLineEdit *MaskDatemax;
    QLineEdit *txtLeckmin;
    QLineEdit *txtLeckmax;
    QLabel *lblKundenNr;
    QLineEdit *txtKunde;
    QPushButton *cmdClear;
    QCalendarWidget *Calendar;
    QLineEdit *m_calendarTarget = nullptr;

    bool m_customerSearch = false;
    int m_customerSortColumn = -1;
    QString m_customerSortDirection = QStringLiteral("DESC");
    QToolButton *cmdAdress;
    QWidget *FrameSuchen;
    QLineEdit *txtSuchen;
    QPushButton *cmdSuchen;
    QTableView *DataGrid1;
    RecordsetModel *m_customerModel = nullptr;

    QTabWidget *SSTab1;
    QTableView *DataGrid2;
    RecordsetModel *m_recordsetModel = nullptr;
    StatisticsGridModel *m_gridModel = nullptr;
    clsGrid *m_gridSupport = nullptr;
    TestDataView *m_testData;
    QGroupBox *FrameKunde;
    QLabel *m_customerText;
    CurveChartView *ChartDruck;
    CurveChartView *ChartFluss;
    QLabel *lblNoData;
};
