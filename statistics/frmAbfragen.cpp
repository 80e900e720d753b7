#include "statistics/frmAbfragen.h"

#include "app/FileDialogs.h"
#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "app/clsGrid.h"
#include "app/frmMain.h"
#include "data/ColumnCaptions.h"
#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/FileLocations.h"
#include "data/ErrorReport.h"
#include "data/FormPosition.h"
#include "data/Localisation.h"
#include "data/Recordset.h"
#include "data/RecordsetHelpers.h"
#include "data/RecordsetModel.h"
#include "data/StringTable.h"
#include "statistics/CurveChartData.h"
#include "statistics/CurveChartView.h"
#include "statistics/CustomerSearch.h"
#include "statistics/ExportCriteria.h"
#include "statistics/ExportFile.h"
#include "statistics/ExportGrid.h"
#include "statistics/ListExport.h"
#include "statistics/ProtocolExport.h"
#include "statistics/ListHeader.h"
#include "statistics/ListPrinting.h"
#include "statistics/ProtocolBuilder.h"
#include "statistics/ProtocolPrinting.h"
#include "statistics/ProtocolTest.h"
#include "statistics/StatisticsColumns.h"
#include "statistics/StatisticsGridModel.h"
#include "statistics/StatisticsTests.h"
#include "statistics/TestDataView.h"
#include "statistics/TestListDocument.h"
#include "statistics/frmVorschau.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int twipsPerPixel = 15;
constexpr qint16 defaultHeight = 7450;
constexpr qint16 defaultWidth = 10100;
constexpr int noChoice = 999;

// Alt letters of delete and close per language number (language 3 has none).
struct Shortcuts
{
    int languageNo;
    Qt::Key loeschMess, ende;
};

constexpr Shortcuts shortcutTable[] = {
    {1, Qt::Key_L, Qt::Key_E}, {2, Qt::Key_T, Qt::Key_X}, {4, Qt::Key_C, Qt::Key_F},
    {5, Qt::Key_W, Qt::Key_Y}, {6, Qt::Key_V, Qt::Key_K}, {7, Qt::Key_R, Qt::Key_H},
    {8, Qt::Key_B, Qt::Key_L}, {9, Qt::Key_M, Qt::Key_K},
};

// Forwards a few events of a control to the window: Enter, leaving the control, Delete.
class EventHook : public QObject
{
public:
    EventHook(QObject *watched, QEvent::Type type, int key, std::function<bool()> action)
        : QObject(watched), m_type(type), m_key(key), m_action(std::move(action))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != m_type)
            return false;
        if (m_type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key != m_key && !(m_key == Qt::Key_Return && key == Qt::Key_Enter))
                return false;
        }
        return m_action();
    }

private:
    QEvent::Type m_type;
    int m_key;
    std::function<bool()> m_action;
};

void onKey(QWidget *widget, int key, std::function<bool()> action)
{
    new EventHook(widget, QEvent::KeyPress, key, std::move(action));
}

void onFocusOut(QWidget *widget, std::function<void()> action)
{
    new EventHook(widget, QEvent::FocusOut, 0, [action] {
        action();
        return false;
    });
}

QComboBox *comboWithEmptyEntry(QWidget *parent, const char *name)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->addItem(QString(), noChoice);
    return combo;
}

std::optional<int> chosenCode(const QComboBox *combo)
{
    const int code = combo->currentData().toInt();
    if (combo->currentText().isEmpty() || code == noChoice)
        return std::nullopt;
    return code;
}

} // namespace

frmAbfragen::frmAbfragen(Database &connection, WindowKind mode, IniFile &ini,
                         frmMain &mainWindow, QWidget *parent)
    : ChildWindow(mode, parent)
    , m_data(std::make_unique<StatisticsTests>(connection))
    , m_mode(mode)
    , m_ini(ini)
    , m_main(mainWindow)
    , m_fastGraphics(mainWindow.settings().grafikmodusSchnell)
{
    setObjectName(QStringLiteral("frmStatistik"));
    setWindowIcon(QApplication::windowIcon());
    setWindowTitle(caption());

    auto *FrameDatenbasis = new QGroupBox(resString(25011), this);
    FrameDatenbasis->setObjectName(QStringLiteral("FrameDatenbasis"));
    cbbKunden = new QComboBox(FrameDatenbasis);
    cbbKunden->setObjectName(QStringLiteral("cbbKunden"));
    cbbKunden->addItem(resString(25038), 0);
    cbbKunden->addItem(resString(25039), -1);
    (new QVBoxLayout(FrameDatenbasis))->addWidget(cbbKunden);

    auto *frameAuswahl = new QGroupBox(resString(25012), this);
    frameAuswahl->setObjectName(QStringLiteral("frameAuswahl"));
    buildCriteria(frameAuswahl);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    DataGrid2 = new QTableView;
    DataGrid2->setObjectName(QStringLiteral("DataGrid2"));
    DataGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid2->horizontalHeader()->setSectionsClickable(true);
    DataGrid2->horizontalHeader()->setSectionsMovable(true);
    DataGrid2->horizontalHeader()->setMinimumHeight(
        int(DataGrid2->fontMetrics().height() * 1.3 * 2));
    SSTab1->addTab(DataGrid2, resString(25025));
    auto *dataTab = new QWidget;
    buildDataTab(dataTab);
    SSTab1->addTab(dataTab, resString(25026));

    auto *top = new QHBoxLayout;
    top->addWidget(frameAuswahl, 1);
    top->addWidget(FrameDatenbasis, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(SSTab1, 1);
    auto *searchPage = new QWidget(this);
    buildCustomerSearch(searchPage);
    layout->addWidget(searchPage, 1);

    Calendar = new QCalendarWidget(this);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setWindowFlags(Qt::Popup);
    connect(Calendar, &QCalendarWidget::clicked, this, [this](QDate day) {
        Calendar->hide();
        if (m_calendarTarget)
            m_calendarTarget->setText(QLocale::system().toString(day, fixedShortDateFormat()));
        SetFilter();
    });

    try {
        for (const auto &[number, name] : m_data->testKinds())
            cbbPruefart->addItem(name, number);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
    m_recordsetModel = new RecordsetModel(&m_data->tests(), this);
    m_gridModel = new StatisticsGridModel(this);
    m_gridModel->setSourceModel(m_recordsetModel);
    DataGrid2->setModel(m_gridModel);
    m_columnVisible = QList<bool>(m_data->tests().fieldCount(), true);
    m_gridSupport = new clsGrid(this);
    m_gridSupport->setGrid(DataGrid2);
    m_gridSupport->setMultiBookmark(true);
    connect(DataGrid2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    m_data->tests().move(current.row());
            });
    connect(DataGrid2->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        SortByColumn(m_data->tests(), c, m_sortColumn, m_sortDirection);
        m_gridSupport->ClearGridSelection();
    });
    onKey(DataGrid2, Qt::Key_Delete, [this] {
        if (toolbarState().LoeschMess)
            CLICK_LOESCHMESS();
        return true;
    });
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmAbfragen::tabChanged);
    connect(cbbKunden, &QComboBox::currentIndexChanged, this, &frmAbfragen::switchDataBase);
    addShortcuts();

    setMinimumSize(15000 / twipsPerPixel, 10000 / twipsPerPixel);
    if (m_fastGraphics)
        RestoreFormPosition(m_ini, this, defaultHeight, defaultWidth, 0);
    else
        resize(defaultWidth / twipsPerPixel, defaultHeight / twipsPerPixel);
    ApplyLocaleFont(this, true);

    // The window always opens on the new tests.
    formLoaded = true;
    cbbKunden->setCurrentIndex(1);
    restoreColumnLayout();
}

// Column widths and order as the user left them, one number per column of the tests list.
void frmAbfragen::restoreColumnLayout()
{
    QHeaderView *header = DataGrid2->horizontalHeader();
    const QStringList widths =
        ReadIniValue(m_ini, objectName(), QStringLiteral("ColumnWidths"), {}).split(u',');
    const QStringList order =
        ReadIniValue(m_ini, objectName(), QStringLiteral("ColumnOrder"), {}).split(u',');
    if (widths.size() == header->count()) {
        for (int column = 0; column < header->count(); ++column) {
            const int width = widths[column].toInt();
            if (width > 0)
                header->resizeSection(column, width);
        }
    }
    if (order.size() == header->count()) {
        for (int visual = 0; visual < header->count(); ++visual) {
            bool ok = false;
            const int logical = order[visual].toInt(&ok);
            if (ok && logical >= 0 && logical < header->count())
                header->moveSection(header->visualIndex(logical), visual);
        }
    }
}

void frmAbfragen::saveColumnLayout()
{
    const QHeaderView *header = DataGrid2->horizontalHeader();
    QStringList widths;
    QStringList order;
    for (int column = 0; column < header->count(); ++column) {
        widths << QString::number(header->sectionSize(column));
        order << QString::number(header->logicalIndex(column));
    }
    WriteIniValue(m_ini, objectName(), QStringLiteral("ColumnWidths"), widths.join(u','));
    WriteIniValue(m_ini, objectName(), QStringLiteral("ColumnOrder"), order.join(u','));
}

frmAbfragen::~frmAbfragen()
{
    // The models and views go before the data they show; removing the grid's tab on the way
    // must not reach the main window's toolbar, which may already be gone.
    disconnect(SSTab1, nullptr, this, nullptr);
    delete DataGrid2;
    m_data.reset();
}

void frmAbfragen::buildCriteria(QWidget *frame)
{
    auto *grid = new QGridLayout(frame);
    const auto label = [frame](int string, const char *name = nullptr) {
        auto *l = new QLabel(resString(string), frame);
        if (name)
            l->setObjectName(QLatin1String(name));
        return l;
    };
    cbbPruefart = comboWithEmptyEntry(frame, "cbbPruefart");
    cbbBefund = comboWithEmptyEntry(frame, "cbbBefund");
    for (int code = 0; code <= 3; ++code)
        cbbBefund->addItem(resString(25069 + code), code);
    lblBefund = label(25073, "lblBefund");
    cbbPruefer = comboWithEmptyEntry(frame, "cbbPruefer");
    cbbAuftraggeber = comboWithEmptyEntry(frame, "cbbAuftraggeber");
    cbbFabNr = comboWithEmptyEntry(frame, "cbbFabNr");

    const QString mask = DateMask().replace(u'#', u'9');
    const auto dateBox = [frame, &mask](const char *name) {
        auto *box = new QLineEdit(frame);
        box->setObjectName(QLatin1String(name));
        box->setInputMask(mask);
        return box;
    };
    MaskDatemin = dateBox("MaskDatemin");
    MaskDatemax = dateBox("MaskDatemax");
    auto *dates = new QHBoxLayout;
    int index = 0;
    for (QLineEdit *box : {MaskDatemin, MaskDatemax}) {
        auto *cmdCalendar = new QToolButton(frame);
        cmdCalendar->setObjectName(QStringLiteral("cmdCalendar%1").arg(index++));
        cmdCalendar->setText(QStringLiteral("..."));
        connect(cmdCalendar, &QToolButton::clicked, this, [this, box] { openCalendar(box); });
        dates->addWidget(box);
        dates->addWidget(cmdCalendar);
    }

    const QString separator = QRegularExpression::escape(DecimalSeparator());
    const QRegularExpression number(QStringLiteral("[0-9]*(%1[0-9]*)?").arg(separator));
    const auto flowBox = [frame, &number](const char *name) {
        auto *box = new QLineEdit(frame);
        box->setObjectName(QLatin1String(name));
        box->setValidator(new QRegularExpressionValidator(number, box));
        return box;
    };
    txtLeckmin = flowBox("txtLeckmin");
    txtLeckmax = flowBox("txtLeckmax");
    auto *flow = new QHBoxLayout;
    auto *lblLeckmenge = label(25015, "lblLeckmenge");
    auto *lblgroesser = new QLabel(QStringLiteral(">="), frame);
    auto *lblLeckmax = new QLabel(QStringLiteral("<="), frame);
    auto *lblLeckEinheit = label(26955, "lblLeckEinheit");
    for (QWidget *w : {static_cast<QWidget *>(lblgroesser), static_cast<QWidget *>(txtLeckmin),
                       static_cast<QWidget *>(lblLeckmax), static_cast<QWidget *>(txtLeckmax),
                       static_cast<QWidget *>(lblLeckEinheit)})
        flow->addWidget(w);
    m_flowControls = {lblLeckmenge, lblgroesser, txtLeckmin, lblLeckmax, txtLeckmax,
                      lblLeckEinheit};

    lblKundenNr = label(25020, "lblKundenNr");
    txtKunde = new QLineEdit(frame);
    txtKunde->setObjectName(QStringLiteral("txtKunde"));
    cmdClear = new QPushButton(resString(25024), frame);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));

    grid->addWidget(label(25013), 0, 0);
    grid->addWidget(cbbPruefart, 0, 1);
    grid->addWidget(label(25014, "lblDatum"), 1, 0);
    grid->addLayout(dates, 1, 1);
    grid->addWidget(lblBefund, 2, 0);
    grid->addWidget(cbbBefund, 2, 1);
    grid->addWidget(lblLeckmenge, 3, 0);
    grid->addLayout(flow, 3, 1);
    grid->addWidget(lblKundenNr, 0, 2);
    cmdAdress = new QToolButton(frame);
    cmdAdress->setObjectName(QStringLiteral("cmdAdress"));
    cmdAdress->setText(QStringLiteral("..."));
    connect(cmdAdress, &QToolButton::clicked, this, &frmAbfragen::enterCustomerSearch);
    auto *customer = new QHBoxLayout;
    customer->addWidget(txtKunde);
    customer->addWidget(cmdAdress);
    grid->addLayout(customer, 0, 3);
    grid->addWidget(label(25021), 1, 2);
    grid->addWidget(cbbPruefer, 1, 3);
    grid->addWidget(label(25022, "lblAuftraggeber"), 2, 2);
    grid->addWidget(cbbAuftraggeber, 2, 3);
    grid->addWidget(label(25023, "lblFabNr"), 3, 2);
    grid->addWidget(cbbFabNr, 3, 3);
    grid->addWidget(cmdClear, 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    connect(cbbPruefart, &QComboBox::currentIndexChanged, this, &frmAbfragen::testKindChosen);
    connect(cbbBefund, &QComboBox::currentIndexChanged, this,
            [this] { comboColumnChoice(cbbBefund, columnCaptions().capBefund); });
    connect(cbbAuftraggeber, &QComboBox::currentIndexChanged, this,
            [this] { comboColumnChoice(cbbAuftraggeber, columnCaptions().capAuftraggeber); });
    connect(cbbFabNr, &QComboBox::currentIndexChanged, this,
            [this] { comboColumnChoice(cbbFabNr, columnCaptions().capFabNr); });
    connect(cbbPruefer, &QComboBox::currentIndexChanged, this, &frmAbfragen::SetFilter);
    connect(cmdClear, &QPushButton::clicked, this, &frmAbfragen::ResetCriteria);
    for (QLineEdit *box : {MaskDatemin, MaskDatemax}) {
        onKey(box, Qt::Key_Return, [this, box] {
            dateEntered(box);
            return true;
        });
        onFocusOut(box, [this, box] {
            if (acceptDate(box))
                SetFilter();
        });
    }
    for (QLineEdit *box : {txtLeckmin, txtLeckmax}) {
        onKey(box, Qt::Key_Return, [this, box] {
            flowEntered(box);
            return true;
        });
        onFocusOut(box, [this, box] {
            acceptFlow(box);
            SetFilter();
        });
    }
    onKey(txtKunde, Qt::Key_Return, [this] {
        SetFilter();
        cbbPruefer->setFocus();
        return true;
    });
    onFocusOut(txtKunde, [this] { SetFilter(); });
}

void frmAbfragen::buildDataTab(QWidget *tab)
{
    m_testData = new TestDataView(tab);
    FrameKunde = new QGroupBox(tab);
    FrameKunde->setObjectName(QStringLiteral("FrameKunde"));
    m_customerText = new QLabel(FrameKunde);
    m_customerText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(FrameKunde))->addWidget(m_customerText);
    FrameKunde->hide();
    std::tie(ChartDruck, ChartFluss) = CurveChartView::createPressureAndFlow(tab,
                                                                             m_fastGraphics);
    lblNoData = new QLabel(resString(25076), tab);
    lblNoData->setObjectName(QStringLiteral("lblNoData"));
    lblNoData->setAlignment(Qt::AlignCenter);
    lblNoData->hide();
    auto *panels = new QHBoxLayout;
    panels->addWidget(m_testData, 2);
    panels->addWidget(FrameKunde, 1);
    auto *charts = new QHBoxLayout;
    charts->addWidget(ChartDruck, 1);
    charts->addWidget(ChartFluss, 1);
    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(panels);
    layout->addLayout(charts, 1);
    layout->addWidget(lblNoData, 1);
}

void frmAbfragen::closeEvent(QCloseEvent *event)
{
    m_main.HideToolbar();
    SaveFormPosition(m_ini, this);
    saveColumnLayout();
    formLoaded = false;
    ChildWindow::closeEvent(event);
}

Recordset &frmAbfragen::rstPruefungen1() const
{
    return m_data->tests();
}

Recordset &frmAbfragen::rstKunden1() const
{
    return m_data->customers();
}

void frmAbfragen::addShortcuts()
{
    const int languageNo = StringTable::instance().languageNo();
    for (const Shortcuts &letters : shortcutTable) {
        if (letters.languageNo != languageNo)
            continue;
        const auto add = [this](Qt::Key key, bool ToolbarState::*flag,
                                void (frmAbfragen::*operation)()) {
            auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, flag, operation] {
                if (toolbarState().*flag)
                    (this->*operation)();
            });
        };
        add(letters.loeschMess, &ToolbarState::LoeschMess, &frmAbfragen::CLICK_LOESCHMESS);
        add(letters.ende, &ToolbarState::Ende, &frmAbfragen::CLICK_ENDE);
    }
}

ToolbarState frmAbfragen::toolbarState() const
{
    ToolbarState state;
    state.Ende = true;
    const bool testsListed = !m_customerSearch && m_data->tests().recordCount() > 0;
    state.Drucken = testsListed;
    state.DruckenStyle = ToolbarState::DropDown;
    state.Vorschau = testsListed;
    state.Exportieren = testsListed;
    state.LoeschMess = !m_customerSearch && SSTab1->currentIndex() == 0
                       && m_mode == WindowKind::Statistics;
    return state;
}

void frmAbfragen::switchDataBase()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    suspendFilter = true;
    newTestsBase = cbbKunden->currentData().toInt() != 0;
    fillChoices();
    for (QWidget *w : {static_cast<QWidget *>(lblKundenNr), static_cast<QWidget *>(txtKunde),
                       static_cast<QWidget *>(cmdAdress)})
        w->setVisible(!newTestsBase);
    m_gridModel->setNewTests(newTestsBase);
    SetDefaultColumns();
    FormatColumns();
    ResetCriteria();
    suspendFilter = false;
    SetFilter();
    SelectFirstVisibleColumn();
    QApplication::restoreOverrideCursor();
}

void frmAbfragen::fillChoices()
{
    const std::pair<QComboBox *, StatisticsTests::Choice> lists[] = {
        {cbbPruefer, StatisticsTests::Choice::Pruefer},
        {cbbAuftraggeber, StatisticsTests::Choice::Auftraggeber},
        {cbbFabNr, StatisticsTests::Choice::FabNr},
    };
    for (const auto &[combo, choice] : lists) {
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->addItem(QString(), noChoice);
        try {
            combo->addItems(m_data->choices(choice, newTestsBase));
        } catch (const RuntimeErrorException &e) {
            ErrorReport::ShowError(e.error());
        }
    }
}

void frmAbfragen::testKindChosen()
{
    const std::optional<int> kind = chosenCode(cbbPruefart);
    const bool finding = kind && *kind != 3;
    const bool flow = kind && *kind == 0;
    lblBefund->setVisible(finding);
    cbbBefund->setVisible(finding);
    if (!finding) {
        const QSignalBlocker quiet(cbbBefund);
        cbbBefund->setCurrentIndex(0);
    }
    for (QWidget *w : std::as_const(m_flowControls))
        w->setVisible(flow);
    if (!flow) {
        txtLeckmin->clear();
        txtLeckmax->clear();
    }
    for (const auto &[caption, visible] : StatisticsColumns::forTestKind(kind.value_or(-1)))
        SetColumnVisible(caption, visible);
    SetFilter();
    if (!kind)
        SelectFirstVisibleColumn();
}

void frmAbfragen::comboColumnChoice(QComboBox *combo, const QString &caption)
{
    // A column that holds one value only tells nothing.
    SetColumnVisible(caption, combo->currentText().isEmpty());
    SetFilter();
}

void frmAbfragen::SetColumnVisible(const QString &caption, bool visible)
{
    const int field = m_data->tests().fieldIndex(caption);
    if (field < 0)
        return;
    m_columnVisible[field] = visible;
    DataGrid2->setColumnHidden(field, !visible);
}

bool frmAbfragen::columnVisible(const QString &caption) const
{
    const int field = m_data->tests().fieldIndex(caption);
    return field >= 0 && !DataGrid2->isColumnHidden(field);
}

void frmAbfragen::ApplyColumnVisibility()
{
    for (int field = 0; field < m_columnVisible.size(); ++field)
        DataGrid2->setColumnHidden(field, !m_columnVisible.at(field));
}

void frmAbfragen::SetDefaultColumns()
{
    for (int field = 0; field < m_columnVisible.size(); ++field) {
        m_columnVisible[field] = StatisticsColumns::shownByDefault(
            m_data->tests().fieldName(field), newTestsBase);
    }
    ApplyColumnVisibility();
}

void frmAbfragen::FormatColumns()
{
    for (int field = 0; field < m_columnVisible.size(); ++field) {
        const int width = StatisticsColumns::widthTwips(m_data->tests().fieldName(field));
        if (width > 0)
            DataGrid2->setColumnWidth(field, width / twipsPerPixel);
    }
    for (const QString &caption : StatisticsColumns::hiddenFor(newTestsBase)) {
        const int field = m_data->tests().fieldIndex(caption);
        if (field >= 0)
            DataGrid2->setColumnHidden(field, true);
    }
}

void frmAbfragen::SelectFirstVisibleColumn()
{
    DataGrid2->horizontalScrollBar()->setValue(0);
}

QueryCriteria frmAbfragen::criteria() const
{
    QueryCriteria c;
    c.newTests = newTestsBase;
    c.pruefart = chosenCode(cbbPruefart);
    if (!newTestsBase)
        c.kundenNr = txtKunde->text();
    c.befund = chosenCode(cbbBefund);
    c.from = dateOf(MaskDatemin);
    c.to = dateOf(MaskDatemax);
    c.flowMin = txtLeckmin->text();
    c.flowMax = txtLeckmax->text();
    c.pruefer = cbbPruefer->currentText();
    c.auftraggeber = cbbAuftraggeber->currentText();
    c.fabNr = cbbFabNr->currentText();
    return c;
}

void frmAbfragen::SetFilter()
{
    if (!formLoaded || suspendFilter)
        return;
    SSTab1->setCurrentIndex(0);
    const QueryCriteria wanted = criteria();
    if (const int problem = wanted.problem(QLocale::system())) {
        showWarning(this, resString(problem));
        return;
    }
    try {
        m_data->apply(wanted);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
    m_gridSupport->ClearGridSelection();
    if (m_data->tests().recordCount() > 0)
        DataGrid2->setCurrentIndex(m_gridModel->index(0, DataGrid2->currentIndex().column()));
}

void frmAbfragen::ResetCriteria()
{
    const bool suspended = suspendFilter;
    suspendFilter = true;
    for (QComboBox *combo : {cbbPruefart, cbbBefund, cbbPruefer, cbbAuftraggeber, cbbFabNr})
        combo->setCurrentIndex(0);
    for (QLineEdit *box : {MaskDatemin, MaskDatemax, txtLeckmin, txtLeckmax, txtKunde})
        box->clear();
    suspendFilter = suspended;
    SetFilter();
}

QDate frmAbfragen::dateOf(const QLineEdit *box) const
{
    return QLocale::system().toDate(box->text(), fixedShortDateFormat());
}

bool frmAbfragen::acceptDate(QLineEdit *box)
{
    if (dateOf(box).isValid() || !box->hasAcceptableInput()
        || box->displayText().trimmed().isEmpty())
        return true;
    // Only separators left: the box is empty.
    QString digits = box->text();
    digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    if (digits.isEmpty()) {
        box->clear();
        return true;
    }
    box->clear();
    showWarning(this, resString(25182));
    return false;
}

void frmAbfragen::dateEntered(QLineEdit *box)
{
    box->selectAll();
    if (!acceptDate(box))
        return;
    SetFilter();
    if (box == MaskDatemin) {
        MaskDatemax->setFocus();
    } else if (cbbBefund->isVisible()) {
        cbbBefund->setFocus();
        SetFilter();
    }
}

bool frmAbfragen::acceptFlow(QLineEdit *box)
{
    if (box->text().trimmed().isEmpty()
        || !QueryCriteria::flowValue(box->text(), QLocale::system()).isEmpty())
        return true;
    box->clear();
    showWarning(this, resString(25181));
    return false;
}

void frmAbfragen::flowEntered(QLineEdit *box)
{
    if (!acceptFlow(box)) {
        SetFilter();
        return;
    }
    // A flow of 0 is no bound.
    if (!box->text().trimmed().isEmpty()
        && QueryCriteria::flowValue(box->text(), QLocale::system()) == QLatin1String("0"))
        box->clear();
    if (box == txtLeckmin)
        txtLeckmax->setFocus();
    else if (newTestsBase)
        cbbPruefer->setFocus();
    else
        txtKunde->setFocus();
    SetFilter();
}

void frmAbfragen::openCalendar(QLineEdit *box)
{
    m_calendarTarget = box;
    const QDate current = dateOf(box);
    Calendar->setSelectedDate(current.isValid() ? current : QDate::currentDate());
    Calendar->move(box->mapToGlobal(QPoint(0, box->height())));
    Calendar->show();
    Calendar->setFocus();
}

void frmAbfragen::tabChanged(int index)
{
    if (index == 1) {
        ShowTestData();
    } else {
        ClearTestData();
        lblNoData->hide();
    }
    emit toolbarStateChanged();
}

void frmAbfragen::ClearTestData()
{
    m_testData->clear();
    FrameKunde->hide();
    ChartDruck->hide();
    ChartFluss->hide();
}

void frmAbfragen::ShowTestData()
{
    ClearTestData();
    Recordset &tests = m_data->tests();
    if (tests.recordCount() == 0 || tests.bof() || tests.eof()) {
        lblNoData->show();
        return;
    }
    try {
        const ColumnCaptions &c = columnCaptions();
        m_testData->showPanel(TestDataPanel::fromCurrentTest(tests));
        if (!newTestsBase) {
            const auto text = [&tests](const QString &caption) {
                return tests.value(caption).toString().trimmed();
            };
            m_customerText->setText(
                resString(25027) + u' ' + text(c.capKundenNr) + u'\n' + text(c.capName1) + u'\n'
                + text(c.capName2) + u'\n' + text(c.capStrasse) + u'\n' + text(c.capPLZ) + u' '
                + text(c.capOrt));
            FrameKunde->show();
        }
        const QString pressure = tests.value(c.capDruckkurve).toString();
        lblNoData->setVisible(pressure.isEmpty());
        if (pressure.isEmpty())
            return;
        const auto dauer = qint16(tests.value(c.capDauer).toInt());
        const int kind = tests.value(c.capPruefart).toInt();
        ChartDruck->setChart(DrawCurve(pressure, dauer, resString(25753), kind,
                                       tests.value(c.capEndDruck).toFloat()));
        ChartDruck->show();
        const QString flow = tests.value(c.capFlusskurve).toString();
        if (!flow.isEmpty()) {
            CurveChartData chart = DrawCurve(flow, dauer, resString(25754), kind,
                                             tests.value(c.capFluss).toFloat());
            chart.valueAxisTitle = resString(26955);
            ChartFluss->setChart(chart);
            ChartFluss->show();
        }
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
}

void frmAbfragen::CLICK_LOESCHMESS()
{
    Recordset &tests = m_data->tests();
    if (m_mode != WindowKind::Statistics || tests.recordCount() == 0)
        return;
    QList<int> rows = m_gridSupport->selectedRows();
    if (rows.isEmpty() && DataGrid2->currentIndex().isValid()) {
        rows << DataGrid2->currentIndex().row();
        DataGrid2->selectRow(rows.first());
    }
    if (rows.isEmpty() || !askYesNo(this, resString(25060), true))
        return;
    QList<int> bookmarks;
    for (int row : std::as_const(rows)) {
        tests.move(row);
        bookmarks << tests.bookmark();
    }
    std::optional<RuntimeError> failure;
    m_data->deleteMarked(bookmarks, &m_main.progress(), &failure);
    m_gridSupport->ClearGridSelection();
    if (failure)
        ErrorReport::ShowError(*failure);
    if (m_testsDeleted)
        m_testsDeleted();
}

QString frmAbfragen::caption() const
{
    const bool archive = m_mode == WindowKind::ArchiveStatistics;
    if (!archive)
        return resString(m_customerSearch ? 25041 : 25040);
    return QDir::toNativeSeparators(m_data->connection().filePath()) + QStringLiteral(" - ")
           + resString(m_customerSearch ? 25077 : 25065);
}

void frmAbfragen::buildCustomerSearch(QWidget *page)
{
    FrameSuchen = new QWidget(page);
    FrameSuchen->setObjectName(QStringLiteral("FrameSuchen"));
    txtSuchen = new QLineEdit(FrameSuchen);
    txtSuchen->setObjectName(QStringLiteral("txtSuchen"));
    cmdSuchen = new QPushButton(resString(25792), FrameSuchen);
    cmdSuchen->setObjectName(QStringLiteral("cmdSuchen"));
    cmdSuchen->setEnabled(false);
    auto *cmdZurueck = new QPushButton(resString(25067), FrameSuchen);
    cmdZurueck->setObjectName(QStringLiteral("cmdZurueck"));
    auto *row = new QHBoxLayout(FrameSuchen);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(txtSuchen, 1);
    row->addWidget(cmdSuchen);
    row->addWidget(cmdZurueck);

    DataGrid1 = new QTableView(page);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setToolTip(resString(25063));
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->horizontalHeader()->setSectionsClickable(true);
    m_customerModel = new RecordsetModel(&m_data->customers(), this);
    DataGrid1->setModel(m_customerModel);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FrameSuchen);
    layout->addWidget(DataGrid1, 1);
    page->hide();

    connect(DataGrid1, &QAbstractItemView::doubleClicked, this, &frmAbfragen::customerChosen);
    connect(DataGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        SortByColumn(m_data->customers(), c, m_customerSortColumn, m_customerSortDirection);
        DataGrid1->clearSelection();
    });
    onKey(DataGrid1, Qt::Key_Escape, [this] {
        leaveCustomerSearch();
        txtKunde->setFocus();
        return true;
    });
    connect(cmdZurueck, &QPushButton::clicked, this, [this] {
        leaveCustomerSearch();
        txtKunde->setFocus();
    });
    connect(txtSuchen, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!text.isEmpty())
            cmdSuchen->setEnabled(true);
        else if (cmdSuchen->text() == resString(25792))
            cmdSuchen->setEnabled(false);
    });
    onKey(txtSuchen, Qt::Key_Return, [this] {
        if (cmdSuchen->isEnabled())
            searchCustomers();
        return true;
    });
    connect(cmdSuchen, &QPushButton::clicked, this, [this] {
        if (cmdSuchen->text() != resString(25793)) {
            searchCustomers();
            return;
        }
        m_data->customers().setFilter(QString());
        cmdSuchen->setText(resString(25792));
        cmdSuchen->setEnabled(false);
        txtSuchen->clear();
        DataGrid1->setFocus();
    });
}

void frmAbfragen::enterCustomerSearch()
{
    try {
        // Sorting again on the last column turns its order, as a second header click does.
        if (m_customerSortColumn >= 0)
            SortByColumn(m_data->customers(), m_customerSortColumn, m_customerSortColumn,
                         m_customerSortDirection);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
    m_customerSearch = true;
    SSTab1->hide();
    DataGrid1->parentWidget()->show();
    setWindowTitle(caption());
    emit toolbarStateChanged();
    DataGrid1->setFocus();
}

void frmAbfragen::leaveCustomerSearch()
{
    m_customerSearch = false;
    DataGrid1->parentWidget()->hide();
    SSTab1->setCurrentIndex(0);
    SSTab1->show();
    setWindowTitle(caption());
    emit toolbarStateChanged();
}

void frmAbfragen::customerChosen(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    Recordset &customers = m_data->customers();
    customers.move(index.row());
    txtKunde->setText(customers.value(columnCaptions().capAdsKundenNr).toString());
    SetFilter();
    leaveCustomerSearch();
    cbbPruefer->setFocus();
}

void frmAbfragen::searchCustomers()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Recordset &customers = m_data->customers();
    try {
        customers.setFilter(QString());
        const QString filter = CustomerSearchFilter(customers, txtSuchen->text());
        if (filter.isEmpty()) {
            cmdSuchen->setText(resString(25792));
            cmdSuchen->setEnabled(false);
        } else if (customers.recordCount() > 0) {
            customers.setFilter(filter);
            cmdSuchen->setText(resString(25793));
        }
    } catch (const RuntimeErrorException &e) {
        QApplication::restoreOverrideCursor();
        if (e.error().number == 3001)
            showWarning(this, resString(25794));
        else
            ErrorReport::ShowError(e.error());
        customers.setFilter(QString());
        return;
    }
    QApplication::restoreOverrideCursor();
}

void frmAbfragen::CLICK_VORSCHAU()
{
    Recordset &tests = m_data->tests();
    if (tests.bof() || tests.eof())
        return;
    auto *preview = new frmVorschau(m_ini, logoFile(), ProtocolTest::fromRecordset(tests));
    m_main.openChild(preview, nullptr);
}

void frmAbfragen::CLICK_PROTOKOLLDRUCK()
{
    QList<ProtocolTest> protocols;
    const std::unique_ptr<Recordset> tests = m_data->tests().clone();
    for (tests->moveFirst(); !tests->eof(); tests->moveNext())
        protocols << ProtocolTest::fromRecordset(*tests);
    if (protocols.isEmpty())
        return;
    ProtocolBuilder builder(ProtocolBuilder::defaultTemplateFolder(),
                            StringTable::instance().languageNo(), logoFile());
    builder.setNotice([this](const QString &message) { showInformation(this, message); });
    PrintProtocols(this, builder, protocols);
}

void frmAbfragen::CLICK_LISTDRUCK()
{
    ListHeaderCriteria header;
    header.newTests = newTestsBase;
    header.testKind = cbbPruefart->currentIndex() > 0 ? cbbPruefart->currentText() : QString();
    header.finding = cbbBefund->currentIndex() > 0 ? cbbBefund->currentText() : QString();
    header.startDate = dateOf(MaskDatemin);
    header.endDate = dateOf(MaskDatemax);
    header.flowMin = txtLeckmin->text().trimmed();
    header.flowMax = txtLeckmax->text().trimmed();
    header.customer = newTestsBase ? QString() : txtKunde->text().trimmed();
    header.inspector = cbbPruefer->currentIndex() > 0 ? cbbPruefer->currentText() : QString();
    header.client = cbbAuftraggeber->currentIndex() > 0 ? cbbAuftraggeber->currentText()
                                                         : QString();
    header.fabNr = cbbFabNr->currentIndex() > 0 ? cbbFabNr->currentText() : QString();
    QStringList columns;
    const QHeaderView *order = DataGrid2->horizontalHeader();
    for (int visual = 0; visual < order->count(); ++visual) {
        const int field = order->logicalIndex(visual);
        if (!DataGrid2->isColumnHidden(field))
            columns << m_data->tests().fieldName(field);
    }
    PrintList(this, windowTitle(), [&](bool landscape) {
        return BuildTestList(m_data->tests(), columns, MakeHeader(header), landscape);
    });
}

QString frmAbfragen::logoFile() const
{
    return m_locations ? m_locations->logoFile() : QString();
}

QString frmAbfragen::chooseExportFile()
{
    if (!m_locations)
        return {};
    const QString folder = m_locations->exportFolder != m_locations->homeFolder()
                               ? m_locations->exportFolder
                               : m_locations->homeFolder() + QStringLiteral("/Archiv");
    const QString proposed = folder + u'/' + resString(27211) + QStringLiteral(".csv");
    const QString filter = resString(27212) + QStringLiteral(" (*.txt;*.csv)|*.txt;*.csv|");
    while (true) {
        const QString name =
            FileDialogs::instance().saveFileName(this, resString(27210), proposed, filter);
        if (name.isEmpty())
            return {};
        const QFileInfo file(name);
        if (file.completeBaseName().trimmed().isEmpty()
            || !name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
            continue;
        if (file.exists()) {
            showInformation(this, resString(25361) + QStringLiteral("\r\n") + resString(25362));
            continue;
        }
        m_locations->exportFolder = file.absolutePath();
        return name;
    }
}

ExportCriteria frmAbfragen::exportCriteria() const
{
    const auto chosen = [](const QComboBox *box) {
        return box->currentIndex() > 0 ? box->currentText() : QString();
    };
    ExportCriteria criteria;
    criteria.dataBase = cbbKunden->currentText();
    criteria.testKind = chosen(cbbPruefart);
    criteria.dateFrom = MaskDatemin->text();
    criteria.dateTo = MaskDatemax->text();
    criteria.finding = chosen(cbbBefund);
    criteria.flowMin = txtLeckmin->text().trimmed();
    criteria.flowMax = txtLeckmax->text().trimmed();
    criteria.customerShown = !newTestsBase;
    criteria.customer = txtKunde->text().trimmed();
    criteria.inspector = chosen(cbbPruefer);
    criteria.client = chosen(cbbAuftraggeber);
    criteria.fabNr = chosen(cbbFabNr);
    return criteria;
}

ExportGrid frmAbfragen::exportGrid() const
{
    QList<int> order;
    QList<bool> visible;
    const QHeaderView *header = DataGrid2->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual)
        order << header->logicalIndex(visual);
    for (int column = 0; column < DataGrid2->model()->columnCount(); ++column)
        visible << !DataGrid2->isColumnHidden(column);
    return ExportGrid(*DataGrid2->model(), order, visible);
}

void frmAbfragen::writeExport(const QString &file, const QStringList &lines)
{
    QString failure;
    switch (ExportFile::write(file, ExportFile::bytes(lines, ExportFile::runningCodePage()),
                              &failure)) {
    case ExportFile::Result::Written:
        break;
    case ExportFile::Result::Exists:
        showInformation(this, resString(25361) + QStringLiteral("\r\n") + resString(25362));
        break;
    case ExportFile::Result::Failed:
        ErrorReport::ShowError({DatabaseError::General, QStringLiteral("frmAbfragen"),
                                resString(27230).arg(file, failure)});
        break;
    }
}

void frmAbfragen::CLICK_EXPORT_LISTE()
{
    if (m_data->tests().recordCount() == 0)
        return;
    const QString file = chooseExportFile();
    if (!file.isEmpty())
        writeExport(file, ListExportLines(exportCriteria(), exportGrid()));
}

void frmAbfragen::CLICK_EXPORT_PROTOKOLL()
{
    const QList<int> marked = m_gridSupport->selectedRows();
    if (marked.size() > 1) {
        showInformation(this, resString(25094));
        return;
    }
    // The marked test, also when the current row is another one.
    const int row = marked.isEmpty() ? DataGrid2->currentIndex().row() : marked.first();
    Recordset &tests = m_data->tests();
    if (row < 0 || row >= tests.recordCount())
        return;
    const QString file = chooseExportFile();
    if (file.isEmpty())
        return;
    const QVariant refDruck =
        tests.valueAt(row, tests.fieldIndex(columnCaptions().capRefDruck));
    writeExport(file, ProtocolExportLines(exportCriteria(), exportGrid(), row, refDruck));
}
