#include "masterdata/import/frmImport.h"

#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/ErrorReport.h"
#include "data/Progress.h"
#include "data/StringTable.h"
#include "masterdata/import/FieldListWidgets.h"
#include "masterdata/import/ImportSourceFactory.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int sampleRows = 3;

template<typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

frmImport::frmImport(DatabaseSession &session, const QString &filePath, Progress *progress,
                     QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_filePath(filePath)
    , m_fileTitle(QFileInfo(filePath).fileName())
    , m_progress(progress)
{
    setObjectName(QStringLiteral("frmImport"));
    setModal(true);
    setWindowTitle(resString(25252));
    FrameTabellen = named(new QGroupBox(resString(25253)), QStringLiteral("FrameTabellen"));
    ListTabellen = named(new QListWidget, QStringLiteral("ListTabellen"));
    (new QVBoxLayout(FrameTabellen))->addWidget(ListTabellen);
    FrameSourceFields = named(new QGroupBox, QStringLiteral("FrameSourceFields"));
    lstvwSourceFields = named(new SourceFieldList, QStringLiteral("lstvwSourceFields"));
    lstvwSourceFields->setHeaderLabels({resString(25273)});
    (new QVBoxLayout(FrameSourceFields))->addWidget(lstvwSourceFields);
    FrameDestFields = named(new QGroupBox(resString(25284)), QStringLiteral("FrameDestFields"));
    lstvwDestFields = named(new DestinationFieldList, QStringLiteral("lstvwDestFields"));
    lstvwDestFields->setHeaderLabels({resString(25273), resString(25274)});
    (new QVBoxLayout(FrameDestFields))->addWidget(lstvwDestFields);
    FrameGrid = named(new QGroupBox, QStringLiteral("FrameGrid"));
    DataGrid1 = named(new QTableWidget, QStringLiteral("DataGrid1"));
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    (new QVBoxLayout(FrameGrid))->addWidget(DataGrid1);
    FrameAktualisieren = named(new QGroupBox(resString(25285)),
                               QStringLiteral("FrameAktualisieren"));
    OptionUpdate = named(new QRadioButton(resString(25267)), QStringLiteral("OptionUpdate"));
    OptionNoUpdate = named(new QRadioButton(resString(25268)), QStringLiteral("OptionNoUpdate"));
    OptionNoUpdate->setChecked(true);
    auto *options = new QVBoxLayout(FrameAktualisieren);
    options->addWidget(OptionUpdate);
    options->addWidget(OptionNoUpdate);
    options->addStretch();
    lblHinweis = named(new QLabel, QStringLiteral("lblHinweis"));
    lblHinweis->setWordWrap(true);
    lblDatenbankname = named(new QLabel(m_fileTitle), QStringLiteral("lblDatenbankname"));
    auto *cmdHilfe = named(new QPushButton(resString(25254)), QStringLiteral("cmdHilfe"));
    cmdZurueck = named(new QPushButton(resString(25255)), QStringLiteral("cmdZurück"));
    cmdWeiter = named(new QPushButton(resString(25256)), QStringLiteral("cmdWeiter"));
    cmdAbbrechen = named(new QPushButton(resString(25257)), QStringLiteral("cmdAbbrechen"));

    auto *database = new QHBoxLayout;
    database->addWidget(named(new QLabel(resString(25258)), QStringLiteral("lblDatenbank")));
    database->addWidget(lblDatenbankname, 1);
    auto *lists = new QHBoxLayout;
    lists->addWidget(FrameTabellen);
    lists->addWidget(FrameSourceFields);
    lists->addWidget(FrameDestFields);
    lists->addWidget(FrameAktualisieren);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdHilfe);
    buttons->addStretch();
    buttons->addWidget(cmdZurueck);
    buttons->addWidget(cmdWeiter);
    buttons->addWidget(cmdAbbrechen);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblHinweis);
    layout->addLayout(database);
    layout->addLayout(lists, 2);
    layout->addWidget(FrameGrid, 1);
    layout->addLayout(buttons);
    resize(720, 560);

    connect(ListTabellen, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        m_tableName = item->text();
        cmdWeiter->setEnabled(true);
    });
    connect(lstvwDestFields, &DestinationFieldList::fieldDropped, this, &frmImport::mapField);
    connect(lstvwSourceFields, &SourceFieldList::mappingRemoved, this, [this] {
        removeMapping(lstvwDestFields->indexOfTopLevelItem(lstvwDestFields->currentItem()));
    });
    connect(cmdWeiter, &QPushButton::clicked, this, &frmImport::forward);
    connect(cmdZurueck, &QPushButton::clicked, this, &frmImport::back);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmImport::reject);
}

frmImport::~frmImport() = default;

bool frmImport::openSource()
{
    ApplyLocaleFont(this, true);
    if (m_progress) {
        m_progress->ShowProgress(true, 3, resString(25259));
        m_progress->StepProgress();
    }
    try {
        m_source = OpenImportSource(m_filePath);
        const QStringList tables = m_source->tableNames();
        ListTabellen->addItems(tables);
        if (m_progress)
            m_progress->ShowProgress(false);
        if (!tables.isEmpty()) {
            m_firstPage = Tables;
            showPage(Tables);
        } else {
            m_firstPage = Mapping;
            m_tableName = m_fileTitle;
            buildMappingPage();
        }
        return true;
    } catch (const RuntimeErrorException &e) {
        if (m_progress)
            m_progress->ShowProgress(false);
        ErrorReport::ShowError(e.error());
        return false;
    }
}

void frmImport::showPage(int page)
{
    m_page = page;
    FrameTabellen->setVisible(page == Tables);
    FrameSourceFields->setVisible(page == Mapping);
    FrameDestFields->setVisible(page == Mapping);
    FrameGrid->setVisible(page == Mapping);
    FrameAktualisieren->setVisible(page == UpdateMethodPage || page == Import);
    cmdZurueck->setEnabled(page > m_firstPage && page < Import);
    cmdWeiter->setText(page == UpdateMethodPage ? resString(25269) : resString(25256));
    switch (page) {
    case Tables:
        lblHinweis->setText(resString(25260));
        cmdWeiter->setEnabled(!m_tableName.isEmpty());
        break;
    case Mapping:
        lblHinweis->setText(resString(25261) + resString(25262) + resString(25263)
                            + columnCaptions().capAdsKundenNr + resString(25264));
        cmdWeiter->setEnabled(m_mapping.keyMapped());
        break;
    case UpdateMethodPage:
        lblHinweis->setText(resString(25265) + u'\n' + resString(25266));
        cmdWeiter->setEnabled(true);
        break;
    default:
        break;
    }
}

void frmImport::buildMappingPage()
{
    try {
        m_table = m_source->readTable(m_tableName);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return;
    }
    const int shown = int(std::min<qsizetype>(sampleRows, m_table.rows.size()));
    FrameSourceFields->setTitle(resString(25270) + m_tableName);
    FrameGrid->setTitle(resString(25271) + m_tableName + QStringLiteral(" (")
                        + QString::number(shown) + resString(25272));
    DataGrid1->clear();
    DataGrid1->setColumnCount(int(m_table.fields.size()));
    DataGrid1->setHorizontalHeaderLabels(m_table.fields);
    DataGrid1->setRowCount(shown);
    for (int row = 0; row < shown; ++row) {
        for (int column = 0; column < m_table.fields.size(); ++column)
            DataGrid1->setItem(row, column,
                               new QTableWidgetItem(m_table.rows.at(row).value(column)));
    }
    lstvwSourceFields->clear();
    for (const QString &field : std::as_const(m_table.fields))
        lstvwSourceFields->addTopLevelItem(new QTreeWidgetItem(QStringList{field}));
    m_mapping.clearAll();
    refreshDestinationList();
    showPage(Mapping);
}

void frmImport::refreshDestinationList()
{
    const int current = lstvwDestFields->indexOfTopLevelItem(lstvwDestFields->currentItem());
    lstvwDestFields->clear();
    for (const ImportMapping::Entry &entry : m_mapping.entries())
        lstvwDestFields->addTopLevelItem(new QTreeWidgetItem({entry.caption, entry.source}));
    if (current >= 0)
        lstvwDestFields->setCurrentItem(lstvwDestFields->topLevelItem(current));
    lstvwDestFields->resizeColumnToContents(0);
}

void frmImport::mapField(int entry, const QString &sourceField)
{
    if (entry < 0 || entry >= m_mapping.entries().size())
        return;
    m_mapping.map(entry, sourceField);
    refreshDestinationList();
    cmdWeiter->setEnabled(m_mapping.keyMapped());
}

void frmImport::removeMapping(int entry)
{
    if (entry < 0 || entry >= m_mapping.entries().size())
        return;
    m_mapping.clear(entry);
    refreshDestinationList();
    cmdWeiter->setEnabled(m_mapping.keyMapped());
}

void frmImport::forward()
{
    if (m_page == Tables)
        buildMappingPage();
    else if (m_page == Mapping)
        showPage(UpdateMethodPage);
    else if (m_page == UpdateMethodPage)
        runImport();
}

void frmImport::back()
{
    if (m_page > m_firstPage && m_page < Import)
        showPage(m_page - 1);
}

void frmImport::runImport()
{
    showPage(Import);
    FrameAktualisieren->setEnabled(false);
    cmdWeiter->setEnabled(false);
    cmdZurueck->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_progress) {
        m_progress->ShowProgress(true, 10, resString(25275));
        m_progress->StepProgress();
    }
    if (m_table.rows.isEmpty()) {
        finishWith(resString(25277));
        return;
    }
    m_importing = true;
    if (m_progress)
        m_progress->ShowProgress(true, int(m_table.rows.size()), resString(25276));
    try {
        const ImportCounts counts =
            CustomerImport(m_session.dbConnection, m_mapping,
                           OptionUpdate->isChecked() ? UpdateMethod::Update
                                                     : UpdateMethod::NoUpdate)
                .run(m_table, [this] {
                    if (m_progress)
                        m_progress->StepProgress();
                    QCoreApplication::processEvents();
                    return !m_cancelRequested;
                });
        m_importing = false;
        finishWith(ImportCountsMessage(counts));
    } catch (const RuntimeErrorException &e) {
        m_importing = false;
        if (m_progress)
            m_progress->ShowProgress(false);
        QApplication::restoreOverrideCursor();
        ErrorReport::ShowError(e.error());
        QDialog::reject();
    }
}

void frmImport::finishWith(const QString &message)
{
    if (m_progress)
        m_progress->ShowProgress(false);
    hide();
    QApplication::restoreOverrideCursor();
    showInformation(parentWidget(), message);
    accept();
}

void frmImport::reject()
{
    if (m_importing) {
        m_cancelRequested = true;
        return;
    }
    QDialog::reject();
}
