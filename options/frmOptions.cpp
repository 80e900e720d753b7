#include "options/frmOptions.h"

#include "app/FileDialogs.h"
#include "app/LocaleFont.h"
#include "app/MessageBoxes.h"
#include "app/frmMain.h"
#include "bus/client/VlmBusLibrary.h"
#include "data/ErrorReport.h"
#include "data/FileLocations.h"
#include "data/StringTable.h"
#include "options/PortList.h"
#include "options/TimeOutText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int logoBoxTwips = 3495;
constexpr int twipsPerInch = 1440;
constexpr int timeOutStep = 100;

template<typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel *wrappedLabel(int textNumber, const QString &name)
{
    auto *label = named(new QLabel(resString(textNumber)), name);
    label->setWordWrap(true);
    return label;
}

// The busy pointer for the length of a scope.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

std::optional<quint8> frmOptions::busPortMask()
{
    try {
        return VlmBusLibrary::instance().functions().GetAvailableCommPorts();
    } catch (const RuntimeErrorException &) {
        return std::nullopt; // no library: no ports to offer, and none to check against
    }
}

frmOptions::frmOptions(frmMain &mainWindow, FileLocations &locations, IniFile &ini,
                       DatabaseSession &session, OptionsApplier::PortMask availablePorts)
    : QDialog(&mainWindow)
    , m_main(mainWindow)
    , m_locations(locations)
    , m_logo(locations.logoFolder())
    , m_applier(session, locations, ini, m_logo, *this, availablePorts)
    , m_availablePorts(availablePorts)
    , m_choices(OptionsChoices::from(mainWindow.settings(), locations))
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(resString(25553));
    setModal(true);

    SSTab1 = named(new QTabWidget, QStringLiteral("SSTab1"));
    SSTab1->setUsesScrollButtons(false);
    SSTab1->addTab(createLogoTab(), resString(25560));
    SSTab1->addTab(createGraphicsTab(), resString(25562));
    SSTab1->addTab(createInfraredTab(), resString(25567));
    SSTab1->addTab(createSynchronisationTab(), resString(25571));
    SSTab1->addTab(createPortTab(), resString(25572));
    SSTab1->addTab(createDatabaseTab(), resString(25580));

    auto *buttons = new QDialogButtonBox;
    auto *cmdOK = named(buttons->addButton(resString(25556), QDialogButtonBox::AcceptRole),
                        QStringLiteral("cmdOK"));
    auto *cmdCancel = named(buttons->addButton(resString(25557), QDialogButtonBox::RejectRole),
                            QStringLiteral("cmdCancel"));
    cmdUebernehmen = named(buttons->addButton(resString(25558), QDialogButtonBox::ApplyRole),
                           QStringLiteral("cmdÜbernehmen"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::ok);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::reject);
    connect(cmdUebernehmen, &QPushButton::clicked, this, &frmOptions::apply);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addWidget(buttons);

    ApplyLocaleFont(this, true);
    showChoices();
    showLogo(m_logo.current());
    connectChanges();
    cmdUebernehmen->setEnabled(false);
    m_loading = false;
}

QWidget *frmOptions::createLogoTab()
{
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    const int box = qRound(logoBoxTwips * dpi / twipsPerInch);
    auto *Frame1 = named(new QGroupBox, QStringLiteral("Frame1"));
    picLogo = named(new QLabel, QStringLiteral("picLogo"));
    picLogo->setAlignment(Qt::AlignCenter);
    picLogo->setFixedSize(box, box);
    lblLogo = wrappedLabel(25559, QStringLiteral("lblLogo"));
    lblLogo->setAlignment(Qt::AlignCenter);
    auto *frameLayout = new QHBoxLayout(Frame1);
    frameLayout->addWidget(picLogo, 0, Qt::AlignVCenter);
    frameLayout->addWidget(lblLogo, 1, Qt::AlignVCenter);

    auto *change = named(new QPushButton(resString(25554)), QStringLiteral("cmdLogoÄndern"));
    auto *remove = named(new QPushButton(resString(25555)), QStringLiteral("cmdLogoLöschen"));
    connect(change, &QPushButton::clicked, this, &frmOptions::chooseLogo);
    connect(remove, &QPushButton::clicked, this, &frmOptions::deleteLogo);
    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(change);
    buttonColumn->addWidget(remove);
    buttonColumn->addStretch();

    auto *tab = new QWidget;
    auto *layout = new QHBoxLayout(tab);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttonColumn);
    return tab;
}

QWidget *frmOptions::createGraphicsTab()
{
    optFast = named(new QRadioButton(resString(25564)), QStringLiteral("OptGrafikmodus0"));
    optSlow = named(new QRadioButton(resString(25565)), QStringLiteral("OptGrafikmodus1"));
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(wrappedLabel(25563, QStringLiteral("lblAnzeigemodus")));
    layout->addWidget(optFast);
    layout->addWidget(optSlow);
    layout->addStretch();
    return tab;
}

QWidget *frmOptions::createInfraredTab()
{
    auto *FrameIRDA = named(new QGroupBox(resString(25567)), QStringLiteral("FrameIRDA"));
    txtIRDA = named(new QLineEdit, QStringLiteral("txtIRDA"));
    auto *browseButton = named(new QPushButton(resString(25573)),
                               QStringLiteral("cmdIRDAÄndern"));
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(txtIRDA); });
    auto *row = new QHBoxLayout;
    row->addWidget(txtIRDA, 1);
    row->addWidget(browseButton);
    // There is no infrared control panel to point to on this system.
    const bool irdaInstalled = m_main.settings().irdaInstalled;
    auto *lblSystemsteuerung = wrappedLabel(25574, QStringLiteral("lblSystemsteuerung"));
    auto *cmdSystemsteuerung = named(new QPushButton(resString(25575)),
                                     QStringLiteral("cmdSystemsteuerung"));
    lblSystemsteuerung->setVisible(irdaInstalled);
    cmdSystemsteuerung->setVisible(irdaInstalled);

    auto *frameLayout = new QVBoxLayout(FrameIRDA);
    frameLayout->addWidget(wrappedLabel(25566, QStringLiteral("lblIRDA")));
    frameLayout->addLayout(row);
    frameLayout->addWidget(lblSystemsteuerung);
    frameLayout->addWidget(cmdSystemsteuerung, 0, Qt::AlignLeft);
    frameLayout->addStretch();
    auto *tab = new QWidget;
    (new QVBoxLayout(tab))->addWidget(FrameIRDA);
    return tab;
}

QWidget *frmOptions::createSynchronisationTab()
{
    CheckPruefLoeschen = named(new QCheckBox(resString(25570)),
                               QStringLiteral("CheckPruefLoeschen"));
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(wrappedLabel(25569, QStringLiteral("lblSynchro")));
    layout->addWidget(CheckPruefLoeschen);
    layout->addStretch();
    return tab;
}

QWidget *frmOptions::createPortTab()
{
    cbbPort = named(new QComboBox, QStringLiteral("cbbPort"));
    CheckAutoCommPort = named(new QCheckBox(resString(25576)),
                              QStringLiteral("CheckAutoCommPort"));

    auto *FrameTimeOut = named(new QGroupBox, QStringLiteral("FrameTimeOut"));
    auto *lblTimeOut = named(new QLabel(resString(25578)), QStringLiteral("lblTimeOut"));
    txtTimeOut = named(new QLineEdit, QStringLiteral("txtTimeOut"));
    txtTimeOut->setMaxLength(5);
    txtTimeOut->setMaximumWidth(txtTimeOut->fontMetrics().horizontalAdvance(u'0') * 10);
    auto *UpDownTimeOut = named(new QWidget, QStringLiteral("UpDownTimeOut"));
    auto *up = new QToolButton;
    auto *down = new QToolButton;
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    connect(up, &QToolButton::clicked, this, [this] { stepTimeOut(timeOutStep); });
    connect(down, &QToolButton::clicked, this, [this] { stepTimeOut(-timeOutStep); });
    auto *arrows = new QVBoxLayout(UpDownTimeOut);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);
    const QList<QWidget *> withTip{FrameTimeOut, lblTimeOut, txtTimeOut, UpDownTimeOut};
    for (QWidget *widget : withTip)
        widget->setToolTip(resString(25577));
    auto *timeOutRow = new QHBoxLayout(FrameTimeOut);
    timeOutRow->addWidget(lblTimeOut);
    timeOutRow->addWidget(txtTimeOut);
    timeOutRow->addWidget(UpDownTimeOut);
    timeOutRow->addStretch();

    auto *portRow = new QHBoxLayout;
    portRow->addWidget(named(new QLabel(resString(25572)), QStringLiteral("lblPort")));
    portRow->addWidget(cbbPort, 1);
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(portRow);
    layout->addWidget(CheckAutoCommPort);
    layout->addWidget(FrameTimeOut);
    layout->addStretch();
    return tab;
}

QWidget *frmOptions::createDatabaseTab()
{
    auto *DataBaseFrame = named(new QGroupBox(resString(25580)), QStringLiteral("DataBaseFrame"));
    txtDATABASE = named(new QLineEdit, QStringLiteral("txtDATABASE"));
    auto *browseButton = named(new QPushButton(resString(25573)),
                               QStringLiteral("cmdDATABASEChange"));
    connect(browseButton, &QPushButton::clicked, this, [this] {
        if (m_main.OnlyMainAndOptionsOpen())
            browse(txtDATABASE);
    });
    CheckArchivLocation = named(new QCheckBox(resString(25593)),
                                QStringLiteral("CheckArchivLocation"));
    auto *row = new QHBoxLayout;
    row->addWidget(txtDATABASE, 1);
    row->addWidget(browseButton);
    auto *frameLayout = new QVBoxLayout(DataBaseFrame);
    frameLayout->addWidget(wrappedLabel(25579, QStringLiteral("LabelDatabase")));
    frameLayout->addLayout(row);
    frameLayout->addWidget(CheckArchivLocation);
    frameLayout->addStretch();
    auto *tab = new QWidget;
    (new QVBoxLayout(tab))->addWidget(DataBaseFrame);
    return tab;
}

void frmOptions::connectChanges()
{
    connect(optFast, &QRadioButton::toggled, this, [this](bool fast) {
        m_choices.grafikSchnell = fast;
        changed();
    });
    connect(txtIRDA, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_choices.infrarotPath = text;
        changed();
    });
    connect(CheckPruefLoeschen, &QCheckBox::toggled, this, [this](bool checked) {
        m_choices.pruefLoeschen = checked;
        changed();
    });
    connect(cbbPort, &QComboBox::activated, this, [this](int index) {
        m_choices.portNr = static_cast<qint16>(cbbPort->itemData(index).toInt());
        changed();
    });
    connect(CheckAutoCommPort, &QCheckBox::toggled, this, [this](bool checked) {
        m_choices.portAuto = checked;
        cbbPort->setEnabled(!checked);
        if (!checked)
            cbbPort->setFocus();
        changed();
    });
    connect(txtTimeOut, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_choices.timeOutText = text;
        changed();
    });
    connect(txtDATABASE, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_choices.dbFolderText = text;
        changed();
    });
    connect(CheckArchivLocation, &QCheckBox::toggled, this, [this](bool checked) {
        m_choices.archiveInDbFolder = checked;
        changed();
    });
}

void frmOptions::changed()
{
    if (!m_loading)
        cmdUebernehmen->setEnabled(true);
}

void frmOptions::showChoices()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    (m_choices.grafikSchnell ? optFast : optSlow)->setChecked(true);
    txtIRDA->setText(m_choices.infrarotPath);
    CheckPruefLoeschen->setChecked(m_choices.pruefLoeschen);
    CheckAutoCommPort->setChecked(m_choices.portAuto);
    fillPortList();
    cbbPort->setEnabled(!m_choices.portAuto);
    txtTimeOut->setText(m_choices.timeOutText);
    txtDATABASE->setText(m_choices.dbFolderText);
    CheckArchivLocation->setChecked(m_choices.archiveInDbFolder);
    m_loading = wasLoading;
}

void frmOptions::fillPortList()
{
    cbbPort->clear();
    const std::optional<quint8> mask = m_availablePorts ? m_availablePorts() : std::nullopt;
    for (const PortList::Port &port : PortList::fromMask(mask.value_or(0)))
        cbbPort->addItem(port.text, port.number);
    cbbPort->setCurrentIndex(m_choices.portNr != 0 ? cbbPort->findData(m_choices.portNr) : -1);
}

void frmOptions::showLogo(const QString &file)
{
    QImageReader reader;
    if (!file.isEmpty())
        reader.setFileName(file);
    QSize size = reader.size();
    if (!size.isValid()) {
        picLogo->clear();
        picLogo->hide();
        lblLogo->show();
        return;
    }
    // Fitted into the square box, keeping its proportions; SVG drawn at that size.
    size.scale(picLogo->size(), Qt::KeepAspectRatio);
    reader.setScaledSize(size);
    picLogo->setPixmap(QPixmap::fromImage(reader.read()));
    picLogo->show();
    lblLogo->hide();
}

void frmOptions::chooseLogo()
{
    while (true) {
        const QString file = FileDialogs::instance().openFileName(
            this, resString(25560), m_locations.homeFolder(), resString(25641));
        if (file.isEmpty())
            return;
        try {
            m_logo.stage(file);
            break;
        } catch (const RuntimeErrorException &e) {
            ErrorReport::ShowError(e.error());
        }
    }
    showLogo(m_logo.staged());
    m_choices.logoDeleted = false;
    m_choices.logoChosen = true;
    changed();
}

void frmOptions::deleteLogo()
{
    m_logo.discardStaged();
    showLogo({});
    m_choices.logoDeleted = true;
    m_choices.logoChosen = false;
    changed();
}

void frmOptions::browse(QLineEdit *folderText)
{
    QString start = folderText->text();
    if (start.size() > 1 && start.endsWith(u'/'))
        start.chop(1);
    const QString folder = FileDialogs::instance().folder(this, resString(25568), start);
    if (!folder.isEmpty()) {
        folderText->setText(folder);
        emit folderText->textEdited(folder);
    }
}

void frmOptions::stepTimeOut(int step)
{
    const int value = TimeOutText::parse(txtTimeOut->text()) + step;
    const QString text = QString::number(
        std::clamp(value, int(TimeOutText::shortest), int(TimeOutText::longest)));
    txtTimeOut->setText(text);
    emit txtTimeOut->textEdited(text);
}

void frmOptions::apply()
{
    Settings settings = m_main.settings();
    DatabasePathChange::Outcome outcome;
    {
        BusyCursor busy;
        outcome = m_applier.apply(m_choices, settings);
    }
    m_main.setSettings(settings);
    showChoices();
    showLogo(m_logo.current());
    cmdUebernehmen->setEnabled(false);
    if (outcome == DatabasePathChange::Outcome::EndProgram) {
        m_endsProgram = true;
        accept();
    }
}

void frmOptions::ok()
{
    if (cmdUebernehmen->isEnabled())
        apply();
    if (!m_endsProgram)
        accept();
}

void frmOptions::reject()
{
    m_logo.discardStaged();
    QDialog::reject();
}

bool frmOptions::ask(const QString &text)
{
    return askYesNo(this, text, true);
}

void frmOptions::inform(const QString &text)
{
    showInformation(this, text);
}

void frmOptions::fail(const RuntimeError &error)
{
    ErrorReport::ShowError(error);
}

bool frmOptions::onlyMainAndOptionsOpen()
{
    return m_main.OnlyMainAndOptionsOpen();
}
