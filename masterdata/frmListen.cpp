#include "masterdata/frmListen.h"

#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "app/clsGrid.h"
#include "app/frmMain.h"
#include "data/DatabaseError.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"
#include "data/RecordsetHelpers.h"
#include "data/RecordsetModel.h"
#include "data/StringTable.h"
#include "masterdata/CustomerDeletion.h"
#include "masterdata/MasterListDocument.h"
#include "masterdata/MasterListSearch.h"
#include "masterdata/frmNeukunden.h"
#include "statistics/ListPrinting.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr qint16 defaultHeight = 7450;
constexpr qint16 defaultWidth = 10000;

// Alt letters of new, change, delete, print and close per language number.
struct Shortcuts
{
    int languageNo;
    Qt::Key neu, aendern, loeschen, drucken, ende;
};

constexpr Shortcuts shortcutTable[] = {
    {1, Qt::Key_N, Qt::Key_Adiaeresis, Qt::Key_L, Qt::Key_D, Qt::Key_E},
    {2, Qt::Key_N, Qt::Key_E, Qt::Key_T, Qt::Key_P, Qt::Key_X},
    {4, Qt::Key_N, Qt::Key_M, Qt::Key_C, Qt::Key_S, Qt::Key_F},
    {5, Qt::Key_N, Qt::Key_E, Qt::Key_W, Qt::Key_D, Qt::Key_Y},
    {6, Qt::Key_Uacute, Qt::Key_S, Qt::Key_V, Qt::Key_N, Qt::Key_K},
    {7, Qt::Key_N, Qt::Key_O, Qt::Key_R, Qt::Key_T, Qt::Key_H},
    {8, Qt::Key_N, Qt::Key_J, Qt::Key_B, Qt::Key_P, Qt::Key_L},
    {9, Qt::Key_N, Qt::Key_Z, Qt::Key_M, Qt::Key_T, Qt::Key_K},
};

// The Delete key in the grid deletes the marked entries (when offered) and goes no further.
class DeleteKeyFilter : public QObject
{
public:
    explicit DeleteKeyFilter(frmListen *window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress
            || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Delete)
            return false;
        if (m_window->toolbarState().Loeschen)
            m_window->CLICK_LOESCHEN();
        return true;
    }

private:
    frmListen *m_window;
};

} // namespace

frmListen::frmListen(DatabaseSession &session, IniFile &ini, frmMain &mainWindow,
                     MasterListKind kind, QWidget *parent)
    : ChildWindow(WindowKind(qint16(kind)), parent)
    , m_session(session)
    , m_ini(ini)
    , m_main(mainWindow)
    , m_kind(kind)
    , m_runEntry([](frmNeukunden &entry) { entry.exec(); })
{
    const MasterListInfo &info = masterListInfo(kind);
    setObjectName(QLatin1String(info.tag));
    setWindowTitle(resString(info.captionString));
    setWindowIcon(QApplication::windowIcon());

    m_adoctrl = sharedList(session, kind).clone();
    if (kind == MasterListKind::Customers) {
        if (!session.rsPruefungen)
            throw DatabaseError::make(DatabaseError::General, QStringLiteral("frmListen"),
                                      QStringLiteral("The tests are not open."));
        m_adoPruef = session.rsPruefungen->clone();
    }
    // Sorted by the first column without touching the header-click state: the first click on
    // that header sorts ascending again.
    m_adoctrl->setSort(u'[' + m_adoctrl->fieldName(0) + QStringLiteral("] ASC"));

    FrameSuchen = new QGroupBox(this);
    FrameSuchen->setObjectName(QStringLiteral("FrameSuchen"));
    txtSuchen = new QLineEdit(FrameSuchen);
    txtSuchen->setObjectName(QStringLiteral("txtSuchen"));
    txtSuchen->setToolTip(resString(25795));
    cmdSuchen = new QPushButton(resString(25792), FrameSuchen);
    cmdSuchen->setObjectName(QStringLiteral("cmdSuchen"));
    cmdSuchen->setEnabled(false);
    auto *searchRow = new QHBoxLayout(FrameSuchen);
    searchRow->addWidget(txtSuchen, 1);
    searchRow->addWidget(cmdSuchen);

    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setToolTip(resString(25788));
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->horizontalHeader()->setSectionsClickable(true);
    DataGrid1->horizontalHeader()->setStretchLastSection(kind != MasterListKind::Customers);
    DataGrid1->installEventFilter(new DeleteKeyFilter(this));
    m_model = new RecordsetModel(m_adoctrl.get(), this);
    DataGrid1->setModel(m_model);
    m_gridSupport = new clsGrid(this);
    m_gridSupport->setGrid(DataGrid1);
    m_gridSupport->setMultiBookmark(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(FrameSuchen);
    layout->addWidget(DataGrid1, 1);

    connect(cmdSuchen, &QPushButton::clicked, this, [this] {
        if (m_searching)
            clearSearch();
        else
            search();
        txtSuchen->setFocus();
    });
    connect(txtSuchen, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!text.isEmpty())
            cmdSuchen->setEnabled(true);
        else if (!m_searching)
            cmdSuchen->setEnabled(false);
    });
    connect(txtSuchen, &QLineEdit::returnPressed, this, [this] {
        if (cmdSuchen->isEnabled())
            search();
    });
    connect(DataGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    m_adoctrl->move(current.row());
            });
    connect(DataGrid1, &QAbstractItemView::doubleClicked, this, [this] {
        if (!m_gridSupport->Mouseoberheader())
            CLICK_AENDERN();
    });
    connect(DataGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        try {
            SortByColumn(*m_adoctrl, c, PrevSortCol, ADOSortrichtung);
        } catch (const RuntimeErrorException &e) {
            ErrorReport::ShowError(e.error());
        }
        m_gridSupport->ClearGridSelection();
    });
    addShortcuts();
    selectCurrentRow();
    RestoreFormPosition(m_ini, this, defaultHeight, defaultWidth, 0);
    ApplyLocaleFont(this, true);
}

frmListen::~frmListen() = default;

ChildWindow *frmListen::open(DatabaseSession &session, IniFile &ini, frmMain &mainWindow,
                             MasterListKind kind)
{
    try {
        return new frmListen(session, ini, mainWindow, kind);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return nullptr;
    }
}

void frmListen::closeEvent(QCloseEvent *event)
{
    m_main.HideToolbar();
    SaveFormPosition(m_ini, this);
    ChildWindow::closeEvent(event);
}

ToolbarState frmListen::toolbarState() const
{
    ToolbarState state;
    state.Ende = true;
    state.Drucken = true;
    state.DruckenStyle = ToolbarState::Plain;
    state.Neu = true;
    state.Aendern = true;
    state.Loeschen = true;
    return state;
}

void frmListen::addShortcuts()
{
    const int languageNo = StringTable::instance().languageNo();
    for (const Shortcuts &letters : shortcutTable) {
        if (letters.languageNo != languageNo)
            continue;
        const auto add = [this](Qt::Key key, bool ToolbarState::*flag,
                                void (frmListen::*operation)()) {
            auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, flag, operation] {
                if (toolbarState().*flag)
                    (this->*operation)();
            });
        };
        add(letters.neu, &ToolbarState::Neu, &frmListen::CLICK_NEU);
        add(letters.aendern, &ToolbarState::Aendern, &frmListen::CLICK_AENDERN);
        add(letters.loeschen, &ToolbarState::Loeschen, &frmListen::CLICK_LOESCHEN);
        add(letters.drucken, &ToolbarState::Drucken, &frmListen::CLICK_DRUCKEN);
        add(letters.ende, &ToolbarState::Ende, &frmListen::CLICK_ENDE);
    }
}

void frmListen::selectCurrentRow()
{
    if (m_adoctrl->recordCount() == 0)
        return;
    const int row = std::clamp(m_adoctrl->position(), 0, m_adoctrl->recordCount() - 1);
    // Current without being marked: a deletion then takes the current row alone.
    DataGrid1->selectionModel()->setCurrentIndex(m_model->index(row, 0),
                                                 QItemSelectionModel::NoUpdate);
}

void frmListen::setSearchButton(bool searching)
{
    m_searching = searching;
    cmdSuchen->setText(resString(searching ? 25793 : 25792));
    cmdSuchen->setEnabled(searching || !txtSuchen->text().isEmpty());
}

void frmListen::search()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        setSearchButton(ApplyMasterListSearch(*m_adoctrl, txtSuchen->text()));
    } catch (const RuntimeErrorException &e) {
        QApplication::restoreOverrideCursor();
        if (e.error().number == DatabaseError::InvalidArgument)
            showWarning(this, resString(25794));
        else
            ErrorReport::ShowError(e.error());
        m_adoctrl->setFilter(QString());
        setSearchButton(false);
        return;
    }
    selectCurrentRow();
    QApplication::restoreOverrideCursor();
}

void frmListen::clearSearch()
{
    m_adoctrl->setFilter(QString());
    txtSuchen->clear();
    setSearchButton(false);
    selectCurrentRow();
}

void frmListen::showEntry(bool newRecord)
{
    {
        frmNeukunden entry(m_session, *m_adoctrl, m_kind, newRecord, this);
        m_runEntry(entry);
    }
    selectCurrentRow();
}

void frmListen::CLICK_NEU()
{
    showEntry(true);
}

void frmListen::CLICK_AENDERN()
{
    if (m_adoctrl->recordCount() == 0)
        return;
    if (DataGrid1->currentIndex().isValid())
        m_adoctrl->move(DataGrid1->currentIndex().row());
    if (m_adoctrl->bof() || m_adoctrl->eof())
        return;
    showEntry(false);
}

QList<int> frmListen::markedBookmarks()
{
    QList<int> rows = m_gridSupport->selectedRows();
    if (rows.isEmpty() && DataGrid1->currentIndex().isValid())
        rows << DataGrid1->currentIndex().row();
    QList<int> bookmarks;
    for (int row : std::as_const(rows)) {
        m_adoctrl->move(row);
        bookmarks << m_adoctrl->bookmark();
    }
    return bookmarks;
}

void frmListen::CLICK_LOESCHEN()
{
    if (m_adoctrl->recordCount() == 0)
        return;
    const QList<int> bookmarks = markedBookmarks();
    if (bookmarks.isEmpty())
        return;
    if (m_gridSupport->selectedRows().isEmpty())
        DataGrid1->selectRow(DataGrid1->currentIndex().row());
    const bool customers = m_kind == MasterListKind::Customers;
    if (!askYesNo(this, resString(customers ? 25801 : 25790), true))
        return;
    Progress &progress = m_main.progress();
    progress.ShowProgress(true, qint32(bookmarks.size()), resString(25791));
    if (customers) {
        try {
            DeleteCustomers(m_session.dbConnection, *m_adoctrl, *m_adoPruef, bookmarks,
                            &progress);
        } catch (const RuntimeErrorException &e) {
            ErrorReport::ShowError(e.error());
        }
    } else {
        DeleteSelectedRows(*m_adoctrl, bookmarks, &progress);
    }
    m_gridSupport->ClearGridSelection();
    progress.ShowProgress(false);
    selectCurrentRow();
    setFocus();
}

void frmListen::CLICK_DRUCKEN()
{
    if (m_adoctrl->recordCount() == 0)
        return;
    PrintList(this, windowTitle(), [this](bool landscape) {
        return MasterListDocument(*m_adoctrl, windowTitle(), landscape);
    });
}
