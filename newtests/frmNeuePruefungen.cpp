#include "newtests/frmNeuePruefungen.h"

#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "app/clsGrid.h"
#include "app/frmMain.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"
#include "data/RecordsetHelpers.h"
#include "data/RecordsetModel.h"
#include "data/StringTable.h"
#include "newtests/AutomaticFiling.h"
#include "newtests/NewTestsGridModel.h"
#include "newtests/NewTestsList.h"
#include "statistics/TestDataView.h"
#include "newtests/frmEinpflegen.h"
#include "newtests/frmPruefungen.h"
#include "statistics/CurveChartView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int twipsPerPixel = 15;
constexpr qint16 defaultHeight = 7450;
constexpr qint16 defaultWidth = 10000;
constexpr int smallestWidth = 15000 / twipsPerPixel;
constexpr int smallestHeight = 10000 / twipsPerPixel;

// Alt letters of edit, delete, close, manual and automatic filing per language number.
struct Shortcuts
{
    int languageNo;
    Qt::Key aendern, loeschMess, ende, manuell, automatisch;
};

constexpr Shortcuts shortcutTable[] = {
    {1, Qt::Key_Adiaeresis, Qt::Key_L, Qt::Key_E, Qt::Key_P, Qt::Key_U},
    {2, Qt::Key_E, Qt::Key_T, Qt::Key_X, Qt::Key_A, Qt::Key_U},
    {4, Qt::Key_M, Qt::Key_C, Qt::Key_F, Qt::Key_I, Qt::Key_A},
    {5, Qt::Key_E, Qt::Key_W, Qt::Key_Y, Qt::Key_P, Qt::Key_A},
    {6, Qt::Key_S, Qt::Key_V, Qt::Key_K, Qt::Key_J, Qt::Key_A},
    {7, Qt::Key_A, Qt::Key_R, Qt::Key_H, Qt::Key_Z, Qt::Key_U},
    {8, Qt::Key_J, Qt::Key_B, Qt::Key_L, Qt::Key_D, Qt::Key_A},
    {9, Qt::Key_Z, Qt::Key_M, Qt::Key_K, Qt::Key_P, Qt::Key_A},
};

// The Delete key in the grid deletes the marked tests (when offered) and goes no further.
class DeleteKeyFilter : public QObject
{
public:
    DeleteKeyFilter(frmNeuePruefungen *window)
        : QObject(window), m_window(window)
    {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress
            || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Delete)
            return false;
        if (m_window->toolbarState().LoeschMess)
            m_window->CLICK_LOESCHMESS();
        return true;
    }

private:
    frmNeuePruefungen *m_window;
};

} // namespace

frmNeuePruefungen::frmNeuePruefungen(DatabaseSession &session, IniFile &ini,
                                     frmMain &mainWindow, QWidget *parent)
    : ChildWindow(WindowKind::NewTests, parent)
    , m_session(session)
    , m_ini(ini)
    , m_main(mainWindow)
    , m_fastGraphics(mainWindow.settings().grafikmodusSchnell)
    , m_runDialog([](QDialog &dialog) { dialog.exec(); })
{
    setObjectName(QStringLiteral("frmNeuePruefungen"));
    setWindowTitle(resString(25762));
    setWindowIcon(QApplication::windowIcon());

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    DataGrid2 = new QTableView;
    DataGrid2->setObjectName(QStringLiteral("DataGrid2"));
    DataGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid2->horizontalHeader()->setSectionsClickable(true);
    DataGrid2->installEventFilter(new DeleteKeyFilter(this));
    SSTab1->addTab(DataGrid2, resString(27154));

    auto *dataTab = new QWidget;
    m_data = new TestDataView(dataTab);
    std::tie(ChartDruck, ChartFluss) = CurveChartView::createPressureAndFlow(dataTab,
                                                                             m_fastGraphics);
    lblNoData = new QLabel(resString(27155), dataTab);
    lblNoData->setObjectName(QStringLiteral("lblNoData"));
    lblNoData->setAlignment(Qt::AlignCenter);
    auto *charts = new QHBoxLayout;
    charts->addWidget(ChartDruck, 1);
    charts->addWidget(ChartFluss, 1);
    auto *dataLayout = new QVBoxLayout(dataTab);
    dataLayout->addWidget(m_data);
    dataLayout->addLayout(charts, 1);
    dataLayout->addWidget(lblNoData, 1);
    SSTab1->addTab(dataTab, resString(25756));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SSTab1);

    loadList();
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmNeuePruefungen::tabChanged);
    connect(DataGrid2, &QAbstractItemView::doubleClicked, this,
            &frmNeuePruefungen::CLICK_AENDERN);
    connect(DataGrid2->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        SortByColumn(*m_adoPruef, c, m_sortColumn, m_sortDirection);
        m_gridSupport->ClearGridSelection();
    });
    addShortcuts();

    setMinimumSize(smallestWidth, smallestHeight);
    if (m_fastGraphics)
        RestoreFormPosition(m_ini, this, defaultHeight, defaultWidth, 0);
    else
        resize(defaultWidth / twipsPerPixel, defaultHeight / twipsPerPixel);
    ApplyLocaleFont(this, true);
}

frmNeuePruefungen::~frmNeuePruefungen() = default;

void frmNeuePruefungen::closeEvent(QCloseEvent *event)
{
    m_main.HideToolbar();
    SaveFormPosition(m_ini, this);
    ChildWindow::closeEvent(event);
}

void frmNeuePruefungen::loadList()
{
    m_adoPruef = OpenNewTestsList(*m_session.rsPruefungen);
    delete m_gridModel;
    delete m_recordsetModel;
    m_recordsetModel = new RecordsetModel(m_adoPruef.get(), this);
    m_gridModel = new NewTestsGridModel(this);
    m_gridModel->setSourceModel(m_recordsetModel);
    DataGrid2->setModel(m_gridModel);
    setUpColumns();
    delete m_gridSupport;
    m_gridSupport = new clsGrid(this);
    m_gridSupport->setGrid(DataGrid2);
    m_gridSupport->setMultiBookmark(true);
    connect(DataGrid2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    m_adoPruef->move(current.row());
            });
    if (m_adoPruef->recordCount() > 0) {
        DataGrid2->setCurrentIndex(m_gridModel->index(0, 0));
        DataGrid2->selectRow(0);
    }
}

void frmNeuePruefungen::setUpColumns()
{
    const ColumnCaptions &c = columnCaptions();
    for (int column = 0; column < m_adoPruef->fieldCount(); ++column) {
        const QString caption = m_adoPruef->fieldName(column);
        DataGrid2->setColumnHidden(column, !NewTestsGridModel::columnShown(caption));
        if (caption == c.capKundenNr || caption == c.capZaehlerNr)
            DataGrid2->setColumnWidth(column, 2500 / twipsPerPixel);
        else if (caption == c.capPruefart)
            DataGrid2->setColumnWidth(column, 2100 / twipsPerPixel);
        else if (caption == c.capBefund)
            DataGrid2->setColumnWidth(column, 1200 / twipsPerPixel);
    }
}

ToolbarState frmNeuePruefungen::toolbarState() const
{
    ToolbarState state;
    state.Ende = true;
    const bool listTab = SSTab1->currentIndex() == 0;
    state.Aendern = listTab;
    state.Einpflegen = listTab;
    state.LoeschMess = listTab;
    return state;
}

void frmNeuePruefungen::addShortcuts()
{
    const int languageNo = StringTable::instance().languageNo();
    for (const Shortcuts &letters : shortcutTable) {
        if (letters.languageNo != languageNo)
            continue;
        const auto add = [this](Qt::Key key, bool ToolbarState::*flag, void (frmNeuePruefungen::*
                                                                            operation)()) {
            auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, flag, operation] {
                if (toolbarState().*flag)
                    (this->*operation)();
            });
        };
        add(letters.aendern, &ToolbarState::Aendern, &frmNeuePruefungen::CLICK_AENDERN);
        add(letters.loeschMess, &ToolbarState::LoeschMess, &frmNeuePruefungen::CLICK_LOESCHMESS);
        add(letters.ende, &ToolbarState::Ende, &frmNeuePruefungen::CLICK_ENDE);
        add(letters.manuell, &ToolbarState::Einpflegen,
            &frmNeuePruefungen::CLICK_EINPFLEGEN_MANUELL);
        add(letters.automatisch, &ToolbarState::Einpflegen,
            &frmNeuePruefungen::CLICK_EINPFLEGEN_AUTOMATISCH);
    }
}

void frmNeuePruefungen::tabChanged(int index)
{
    if (index == 1) {
        showCurrentTest();
    } else {
        m_data->clear();
        lblNoData->hide();
        ChartDruck->hide();
        ChartFluss->hide();
    }
    emit toolbarStateChanged();
}

void frmNeuePruefungen::showCurrentTest()
{
    ChartDruck->hide();
    ChartFluss->hide();
    if (m_adoPruef->recordCount() == 0 || m_adoPruef->bof() || m_adoPruef->eof()) {
        m_data->clear();
        lblNoData->show();
        return;
    }
    try {
        const ColumnCaptions &c = columnCaptions();
        m_data->showPanel(TestDataPanel::fromCurrentTest(*m_adoPruef));
        const QString pressure = m_adoPruef->value(c.capDruckkurve).toString();
        const QString flow = m_adoPruef->value(c.capFlusskurve).toString();
        const auto dauer = qint16(m_adoPruef->value(c.capDauer).toInt());
        const int kind = m_adoPruef->value(c.capPruefart).toInt();
        lblNoData->setVisible(pressure.isEmpty());
        if (pressure.isEmpty())
            return;
        ChartDruck->setChart(DrawCurve(pressure, dauer, resString(25753), kind,
                                       m_adoPruef->value(c.capEndDruck).toFloat()));
        ChartDruck->show();
        if (!flow.isEmpty()) {
            CurveChartData chart = DrawCurve(flow, dauer, resString(25754), kind,
                                             m_adoPruef->value(c.capFluss).toFloat());
            chart.valueAxisTitle = resString(26955);
            ChartFluss->setChart(chart);
            ChartFluss->show();
        }
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
}

QList<int> frmNeuePruefungen::markedBookmarks()
{
    QList<int> rows = m_gridSupport->selectedRows();
    if (rows.isEmpty() && DataGrid2->currentIndex().isValid())
        rows << DataGrid2->currentIndex().row();
    QList<int> bookmarks;
    for (int row : std::as_const(rows)) {
        m_adoPruef->move(row);
        bookmarks << m_adoPruef->bookmark();
    }
    return bookmarks;
}

void frmNeuePruefungen::CLICK_AENDERN()
{
    if (m_adoPruef->recordCount() == 0 || m_gridSupport->Mouseoberheader()
        || m_adoPruef->bof() || m_adoPruef->eof())
        return;
    SSTab1->setCurrentIndex(0);
    frmPruefungen dialog(m_session, *m_adoPruef, this);
    m_runDialog(dialog);
}

void frmNeuePruefungen::CLICK_LOESCHMESS()
{
    if (m_adoPruef->recordCount() == 0)
        return;
    const QList<int> bookmarks = markedBookmarks();
    if (bookmarks.isEmpty())
        return;
    if (m_gridSupport->selectedRows().isEmpty())
        DataGrid2->selectRow(DataGrid2->currentIndex().row());
    if (!askYesNo(this, resString(27153), true))
        return;
    DeleteMarkedTests(*m_adoPruef, bookmarks, &m_main.progress());
    m_gridSupport->ClearGridSelection();
}

void frmNeuePruefungen::CLICK_EINPFLEGEN_MANUELL()
{
    if (m_adoPruef->recordCount() == 0 || m_adoPruef->bof() || m_adoPruef->eof())
        return;
    {
        frmEinpflegen dialog(m_session, *m_adoPruef, this);
        m_runDialog(dialog);
    }
    reloadAfterFiling(false);
}

void frmNeuePruefungen::CLICK_EINPFLEGEN_AUTOMATISCH()
{
    if (m_adoPruef->recordCount() == 0 || m_adoPruef->bof() || m_adoPruef->eof())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto ask = [this](const QString &question) {
        QApplication::restoreOverrideCursor();
        const bool yes = askYesNo(this, question, false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return yes;
    };
    const AutomaticFilingResult result = RunAutomaticFiling(
        m_session.dbConnection, *m_adoPruef, *m_session.rsKunden, markedBookmarks(), ask);
    QApplication::restoreOverrideCursor();
    if (!result.ended)
        reloadAfterFiling(true);
}

void frmNeuePruefungen::reloadAfterFiling(bool fullReload)
{
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // Rows written or rolled back during filing are read again as the database holds them.
        m_session.RequeryRecordsets();
        QApplication::restoreOverrideCursor();
    } catch (const RuntimeErrorException &e) {
        QApplication::restoreOverrideCursor();
        ErrorReport::ShowError(e.error());
    }
    if (fullReload) {
        loadList();
        return;
    }
    m_adoPruef->setFilter(NewTestsFilter());
    if (m_adoPruef->recordCount() > 0)
        DataGrid2->setCurrentIndex(m_gridModel->index(0, 0));
}
