#include "app/Program.h"

#include "app/MessageBoxes.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "sync/ui/frmLumetra4.h"
#include "data/ColumnCaptions.h"
#include "data/ErrorReport.h"
#include "data/ProgramDatabase.h"
#include "data/Schema.h"
#include "data/StringTable.h"
#include "masterdata/frmListen.h"
#include "masterdata/import/ImportCommands.h"
#include "newtests/frmNeuePruefungen.h"
#include "options/frmOptions.h"
#include "statistics/frmAbfragen.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int splashMilliseconds = 500;

} // namespace

Program::Program(const QString &homeFolder)
    : m_locations(homeFolder)
    , m_databaseCommands(*this)
{}

Program::~Program()
{
    m_mainWindow.reset();
    m_session.close();
}

bool Program::Main()
{
    const int languageNo = StringTable::instance().languageNo();
    LoadColumnCaptions();

    // A home folder without settings has never been used: it gets an empty database.
    const bool firstStart = !QFileInfo::exists(m_locations.iniFile());
    if (!QDir().mkpath(m_locations.homeFolder())) {
        ErrorReport::ShowError({75, QStringLiteral("Main"),
                                resString(26176).arg(m_locations.homeFolder(), resString(26180))});
        return false;
    }
    m_ini = std::make_unique<IniFile>(m_locations.iniFile());
    m_locations.readPaths(*m_ini);
    if (!m_ini->lastError().isEmpty())
        ErrorReport::ShowError({75, QStringLiteral("Main"), m_ini->lastError()});
    if (!ensureDatabaseFile(firstStart))
        return false;

    frmSplash splash(languageNo);
    splash.show();
    splash.holdOnTop(splashMilliseconds);
    m_mainWindow = std::make_unique<frmMain>(*m_ini, m_locations, Settings::load(*m_ini));
    m_mainWindow->show();
    splash.holdOnTop(splashMilliseconds);
    splash.close();

    if (!openDatabase() || !refuseWhenOpenElsewhere() || !upgradeDatabase()) {
        m_mainWindow.reset();
        m_session.close();
        return false;
    }
    registerWindows();
    m_mainWindow->EnableMainMenus();
    return true;
}

bool Program::ensureDatabaseFile(bool firstStart)
{
    if (QFileInfo::exists(m_locations.dbFile))
        return true;
    // A configured folder that lost its database is reported, so the user does not go on
    // working in an empty one by mistake.
    if (firstStart && m_locations.dbFolder == m_locations.homeFolder()) {
        try {
            Schema::createEmptyDatabase(m_locations.dbFile);
            return true;
        } catch (const RuntimeErrorException &e) {
            ErrorReport::ShowError(e.error());
            return false;
        }
    }
    m_ini->write(QStringLiteral("Pfade"), QStringLiteral("Datenbank"), m_locations.dbFolder);
    showCritical(nullptr,
                 resString(26002) + u'\n' + m_locations.dbFile + u'\n' + resString(26003) + u'\n'
                     + resString(26004),
                 QLatin1String(FileLocations::programName) + resString(26005));
    return false;
}

bool Program::openDatabase()
{
    try {
        m_session.dbConnection.open(Database::BuildConnectionString(m_locations.dbFile));
        return true;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return false;
    }
}

bool Program::upgradeDatabase()
{
    UpdatePruefartenNames(m_session.dbConnection); // reports its own failure
    try {
        CheckDatabaseVersion(m_session);
        return true;
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return false;
    }
}

bool Program::refuseWhenOpenElsewhere()
{
    const QString other = otherComputerHolding(m_session.dbConnection);
    if (other.isEmpty())
        return true;
    showInformation(nullptr, otherComputerMessage(other));
    return false;
}

void Program::synchronise(frmLumetra4::Mode mode)
{
    frmLumetra4 window(mode, m_mainWindow->settings(), m_session, m_mainWindow.get());
    if (window.runModal())
        m_mainWindow->menuItem(QStringLiteral("mnuEditNeukundenpflege"))->trigger();
}

void Program::registerWindows()
{
    m_mainWindow->setChildFactory(WindowKind::NewTests, [this](frmMain &main) {
        return new frmNeuePruefungen(m_session, *m_ini, main); });
    m_mainWindow->setChildFactory(WindowKind::Customers, [this](frmMain &main) {
        return frmListen::open(m_session, *m_ini, main, MasterListKind::Customers); });
    m_mainWindow->setChildFactory(WindowKind::Inspectors, [this](frmMain &main) {
        return frmListen::open(m_session, *m_ini, main, MasterListKind::Inspectors); });
    m_mainWindow->setChildFactory(WindowKind::Clients, [this](frmMain &main) {
        return frmListen::open(m_session, *m_ini, main, MasterListKind::Clients); });
    m_mainWindow->setChildFactory(WindowKind::Statistics, [this](frmMain &main) {
        auto *window = new frmAbfragen(m_session.dbConnection, WindowKind::Statistics, *m_ini,
                                       main);
        window->setTestsDeletedHandler([this] { m_session.RequeryRecordsets(); });
        window->setLocations(m_locations);
        return window; });
    m_mainWindow->setChildFactory(WindowKind::ArchiveStatistics, [this](frmMain &main) {
        return m_databaseCommands.openArchive(main); });
    m_mainWindow->setCommand(QStringLiteral("mnuDateiImport"), [this] {
        RunCustomerImportCommand(*m_mainWindow, m_session); });
    m_mainWindow->setCommand(QStringLiteral("mnuDateiMigration"), [this] {
        RunMigrationCommand(*m_mainWindow, m_session); });
    m_mainWindow->setCommand(QStringLiteral("mnuDateiArchivieren"),
                             [this] { m_databaseCommands.archive(); });
    m_mainWindow->setCommand(QStringLiteral("mnuDateiCompact"),
                             [this] { m_databaseCommands.repairCompact(); });
    m_mainWindow->setCommand(QStringLiteral("mnuEditSyncPCLumetra4"),
                             [this] { synchronise(frmLumetra4::Mode::Serial); });
    m_mainWindow->setCommand(QStringLiteral("mnuEditSyncPCLumetra4IRDA"),
                             [this] { synchronise(frmLumetra4::Mode::Infrared); });
    m_mainWindow->setCommand(QStringLiteral("mnuExtrasOptionen"), [this] {
        frmOptions dialog(*m_mainWindow, m_locations, *m_ini, m_session);
        dialog.exec();
        if (dialog.endsProgram())
            m_mainWindow->close(); });
    QObject::connect(m_mainWindow.get(), &frmMain::shutDown, m_mainWindow.get(),
                     [this] { m_session.close(); });
}
