#include "app/DatabaseCommands.h"

#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/Program.h"
#include "app/frmMain.h"
#include "data/Archive.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "statistics/frmAbfragen.h"
#include "data/ErrorReport.h"
#include "data/StringTable.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>

namespace {

// The busy pointer for the length of a scope.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

DatabaseCommands::DatabaseCommands(Program &program)
    : m_program(program)
{}

QString DatabaseCommands::chooseArchiveFile()
{
    const FileLocations &where = m_program.locations();
    const QString proposed = Archive::folder(where.homeFolder(), where.archiveFolder)
                             + Archive::defaultName(QDate::currentDate()) + Archive::fileSuffix;
    while (true) {
        const QString name = FileDialogs::instance().saveFileName(
            m_program.mainWindow(), resString(25366), proposed, resString(26183));
        if (name.isEmpty())
            return {};
        const QFileInfo file(name);
        if (!name.endsWith(Archive::fileSuffix, Qt::CaseInsensitive)
            || file.completeBaseName().isEmpty())
            continue;
        if (file.exists()) {
            showInformation(m_program.mainWindow(), resString(25361) + u'\n' + resString(25362));
            continue;
        }
        return name;
    }
}

QString DatabaseCommands::chooseArchiveToOpen()
{
    const FileLocations &where = m_program.locations();
    const QString folder = Archive::folder(where.homeFolder(), where.archiveFolder);
    while (true) {
        const QString name = FileDialogs::instance().openFileName(
            m_program.mainWindow(), resString(25367), folder, resString(26183));
        if (name.isEmpty())
            return {};
        const QFileInfo file(name);
        if (name.endsWith(Archive::fileSuffix, Qt::CaseInsensitive)
            && !file.completeBaseName().isEmpty() && file.isFile())
            return name;
    }
}

ChildWindow *DatabaseCommands::openArchive(frmMain &mainWindow)
{
    const QString file = chooseArchiveToOpen();
    if (file.isEmpty())
        return nullptr;
    // The connection lives as long as the window that shows the archive.
    auto archive = std::make_shared<Database>();
    try {
        archive->open(Database::BuildConnectionString(file));
        Schema::upgrade(*archive);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        return nullptr;
    }
    auto *window = new frmAbfragen(*archive, WindowKind::ArchiveStatistics, m_program.ini(),
                                   mainWindow);
    window->setLocations(m_program.locations());
    QObject::connect(window, &QObject::destroyed, window, [archive] {});
    return window;
}

void DatabaseCommands::archive()
{
    frmMain *window = m_program.mainWindow();
    DatabaseSession &session = m_program.session();
    try {
        if (Archive::newTestCount(session) > 0
            && !askYesNo(window, resString(25371) + u'\n' + resString(25372) + u'\n'
                                     + resString(25373) + QStringLiteral("\n\n")
                                     + resString(25374))) {
            return;
        }
        const QString archiveFile = chooseArchiveFile();
        if (archiveFile.isEmpty()
            || !askYesNo(window, resString(25363) + QStringLiteral("\n\n") + resString(25365)))
            return;
        BusyCursor busy;
        Archive::archiveTests(session, archiveFile);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
    }
}

void DatabaseCommands::repairCompact()
{
    frmMain *window = m_program.mainWindow();
    const QString dbFile = m_program.locations().dbFile;
    if (!askYesNo(window, resString(26018) + QStringLiteral("\n\"") + dbFile
                              + QStringLiteral("\"\n") + resString(26019),
                  false))
        return;
    try {
        BusyCursor busy;
        Archive::RepairCompactDatabase(m_program.session(), dbFile);
    } catch (const RuntimeErrorException &e) {
        ErrorReport::ShowError(e.error());
        if (!m_program.session().dbConnection.isOpen()) {
            // Without its database the program cannot go on.
            showCritical(window, resString(26020) + u'\n' + resString(26021));
            QApplication::exit(1);
        }
        return;
    }
    showInformation(window, resString(26022));
}
