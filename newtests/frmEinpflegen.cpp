#include "newtests/frmEinpflegen.h"

#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseError.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/Recordset.h"
#include "data/RecordsetHelpers.h"
#include "data/RecordsetModel.h"
#include "data/StringTable.h"
#include "newtests/AllColumnsLikeFilter.h"
#include "newtests/FileTestUnderCustomer.h"
#include "newtests/FilingCase.h"
#include "newtests/NewCustomerFiling.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int customerColumnSize = 255; // the Kunden columns are VARCHAR(255)
constexpr int meterField = 8;

QPushButton *button(int captionString, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(resString(captionString), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmEinpflegen::frmEinpflegen(DatabaseSession &session, Recordset &adoPruef, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_adoPruef(adoPruef)
    , m_customers(session.rsKunden->clone())
{
    setObjectName(QStringLiteral("frmEinpflegen"));
    setWindowTitle(resString(26915));
    m_customers->setSort(u'[' + m_customers->fieldName(0) + QStringLiteral("] ASC"));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    buildNewCustomerTab();
    buildCustomerListTab();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmEinpflegen::showTab);
    ApplyLocaleFont(this, true);
    resize(760, 520);
    showTab(0);
    preselect();
}

frmEinpflegen::~frmEinpflegen() = default;

void frmEinpflegen::buildNewCustomerTab()
{
    Frame1 = new QWidget;
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *form = new QFormLayout;
    for (int i = 0; i < m_customers->fieldCount(); ++i) {
        auto *field = new QLineEdit(Frame1);
        field->setObjectName(QStringLiteral("TextFeld%1").arg(i));
        field->setMaxLength(customerColumnSize);
        form->addRow(m_customers->fieldName(i) + u':', field);
        TextFeld << field;
    }
    // The highest customer number so far helps choosing the next one.
    txtLastKundenNr = new QLineEdit(Frame1);
    txtLastKundenNr->setObjectName(QStringLiteral("txtLastKundenNr"));
    txtLastKundenNr->setReadOnly(true);
    auto byNumber = m_session.rsKunden->clone();
    if (byNumber->recordCount() > 0) {
        byNumber->setSort(u'[' + columnCaptions().capAdsKundenNr + QStringLiteral("] ASC"));
        byNumber->moveLast();
        txtLastKundenNr->setText(byNumber->value(columnCaptions().capAdsKundenNr).toString());
    }
    form->addRow(resString(26907), txtLastKundenNr);
    auto *einpflegen = button(26910, "cmdEinpflegenNeu", Frame1);
    cmdAbbrechen0 = button(26909, "cmdAbbrechen0", Frame1);
    connect(einpflegen, &QPushButton::clicked, this, &frmEinpflegen::cmdEinpflegenNeu);
    connect(cmdAbbrechen0, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(einpflegen);
    buttons->addWidget(cmdAbbrechen0);
    auto *layout = new QVBoxLayout(Frame1);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);
    SSTab1->addTab(Frame1, resString(26906));
}

void frmEinpflegen::buildCustomerListTab()
{
    Frame2 = new QWidget;
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto *lblListe = new QLabel(resString(26912), Frame2);
    DataGrid1 = new QTableView(Frame2);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setToolTip(resString(26914));
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_model = new RecordsetModel(m_customers.get(), this);
    DataGrid1->setModel(m_model);
    connect(DataGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    m_customers->move(current.row());
            });
    connect(DataGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        SortByColumn(*m_customers, c, m_sortColumn, m_sortDirection);
        DataGrid1->clearSelection();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_customers->recordCount() > 0)
            DataGrid1->setCurrentIndex(m_model->index(0, 0));
    });
    if (m_customers->recordCount() > 0)
        DataGrid1->setCurrentIndex(m_model->index(0, 0));

    txtSuchen = new QLineEdit(Frame2);
    txtSuchen->setObjectName(QStringLiteral("txtSuchen"));
    txtSuchen->setToolTip(resString(26919));
    m_cmdSuchen = button(26904, "cmdSuchen", Frame2);
    m_cmdSuchen->setEnabled(false);
    connect(m_cmdSuchen, &QPushButton::clicked, this, &frmEinpflegen::cmdSuchen);
    connect(txtSuchen, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!text.isEmpty())
            m_cmdSuchen->setEnabled(true);
        else if (!m_searching)
            m_cmdSuchen->setEnabled(false);
    });
    connect(txtSuchen, &QLineEdit::returnPressed, this, [this] {
        if (m_cmdSuchen->isEnabled() && !m_searching)
            cmdSuchen();
    });
    auto *zuordnen = button(26910, "cmdEinpflegenZuordnen", Frame2);
    cmdAbbrechen1 = button(26909, "cmdAbbrechen1", Frame2);
    connect(zuordnen, &QPushButton::clicked, this, &frmEinpflegen::cmdEinpflegenZuordnen);
    connect(cmdAbbrechen1, &QPushButton::clicked, this, &QDialog::reject);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(txtSuchen, 1);
    searchRow->addWidget(m_cmdSuchen);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(zuordnen);
    buttons->addWidget(cmdAbbrechen1);
    auto *layout = new QVBoxLayout(Frame2);
    layout->addWidget(lblListe);
    layout->addWidget(DataGrid1, 1);
    layout->addLayout(searchRow);
    layout->addLayout(buttons);
    SSTab1->addTab(Frame2, resString(26905));
}

void frmEinpflegen::showTab(int index)
{
    if (SSTab1->currentIndex() != index)
        SSTab1->setCurrentIndex(index); // comes back here through currentChanged
    Frame1->setEnabled(index == 0);
    Frame2->setEnabled(index == 1);
}

void frmEinpflegen::setSearchButton(bool searching)
{
    m_searching = searching;
    m_cmdSuchen->setText(resString(searching ? 26917 : 26904));
    m_cmdSuchen->setEnabled(searching || !txtSuchen->text().isEmpty());
}

void frmEinpflegen::cmdSuchen()
{
    if (m_searching)
        clearSearch();
    else
        search();
    txtSuchen->setFocus();
}

void frmEinpflegen::search()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString key = txtSuchen->text();
    try {
        m_customers->setFilter(QString());
        if (key.isEmpty()) {
            setSearchButton(false);
            m_cmdSuchen->setEnabled(false);
            QApplication::restoreOverrideCursor();
            return;
        }
        if (m_customers->recordCount() > 0)
            m_customers->setFilter(AllColumnsLikeFilter(*m_customers, key));
        setSearchButton(true);
    } catch (const RuntimeErrorException &e) {
        if (e.error().number == DatabaseError::InvalidArgument)
            showWarning(this, resString(26918));
        else
            ErrorReport::ShowError(e.error());
        m_customers->setFilter(QString());
    }
    QApplication::restoreOverrideCursor();
}

void frmEinpflegen::clearSearch()
{
    m_customers->setFilter(QString());
    txtSuchen->clear();
    setSearchButton(false);
}

void frmEinpflegen::preselect()
{
    const ColumnCaptions &c = columnCaptions();
    const QString kundenNr = m_adoPruef.value(c.capKundenNr).toString();
    const QString meter = m_adoPruef.value(c.capZaehlerNr).toString().trimmed();
    const std::optional<int> filingCase = FilingCase(kundenNr, meter.isEmpty() ? "0" : meter);
    if (!filingCase)
        return;
    QLineEdit *numberField = TextFeld.value(0);
    QLineEdit *meterField = TextFeld.value(::meterField);
    const auto searchFor = [this](const QString &key) {
        txtSuchen->setText(key);
        search();
        return m_customers->recordCount() > 0;
    };
    const auto nothingFound = [this] {
        clearSearch();
        showTab(0);
    };
    switch (*filingCase) {
    case 0:
        showTab(0);
        return;
    case 1:
        if (meterField->text().isEmpty())
            meterField->setText(meter);
        showTab(1);
        if (!searchFor(meter))
            return nothingFound();
        meterField->clear();
        return;
    case 2:
        numberField->setText(kundenNr);
        showTab(1);
        if (!searchFor(kundenNr))
            return nothingFound();
        numberField->clear();
        return;
    default:
        break;
    }
    numberField->setText(kundenNr);
    if (meterField->text().isEmpty())
        meterField->setText(meter);
    showTab(1);
    const bool byNumber = searchFor(kundenNr);
    const bool byMeter = searchFor(meter);
    m_customers->moveFirst();
    const QString firstHit = byMeter ? m_customers->value(c.capAdsKundenNr).toString()
                                     : QStringLiteral("0");
    if (!byNumber && !byMeter)
        return nothingFound();
    numberField->clear();
    meterField->clear();
    if (!byNumber || !byMeter)
        return;
    qint64 hit = 0;
    qint64 own = 0;
    if (readWholeNumber(firstHit, &hit) && readWholeNumber(kundenNr, &own) && hit == own)
        return;
    showInformation(this, resString(26920) + kundenNr + resString(26921) + meter
                              + resString(26922) + u'\n' + resString(26923) + QStringLiteral("\n\n")
                              + resString(26924) + u'\n' + resString(26925));
    clearSearch();
}

void frmEinpflegen::cmdEinpflegenNeu()
{
    const QString typed = TextFeld.value(0)->text().trimmed();
    if (typed.isEmpty())
        return;
    QString number = WithoutLeadingZeros(typed);
    if (number == QLatin1String("0"))
        return;
    if (MatchKundenNr(*m_session.rsKunden, columnCaptions().capAdsKundenNr, number) > 0) {
        showInformation(this, resString(25772) + number + resString(25773) + u'\n'
                                  + resString(25774));
        TextFeld.value(0)->selectAll();
        TextFeld.value(0)->setFocus();
        return;
    }
    QStringList texts;
    for (QLineEdit *field : std::as_const(TextFeld))
        texts << field->text();
    m_customers->setFilter(QString());
    if (!CreateCustomerAndFile(m_session.dbConnection, *m_customers, m_adoPruef, texts))
        showCritical(this, resString(26916));
    accept();
}

void frmEinpflegen::cmdEinpflegenZuordnen()
{
    const bool customerChosen = m_customers->recordCount() > 0 && !m_customers->bof()
                                && !m_customers->eof();
    const auto ask = [this](const QString &question) { return askYesNo(this, question, false); };
    if (!customerChosen
        || !FileTestUnderCustomer(m_session.dbConnection, m_adoPruef, *m_customers,
                                  FilingVariant::FilingWindow, ask))
        showCritical(this, resString(26916));
    accept();
}
