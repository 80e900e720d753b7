#pragma once

#include "app/DatabaseCommands.h"
#include "data/DatabaseSession.h"
#include "data/FileLocations.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "sync/ui/frmLumetra4.h"

#include <memory>

class frmMain;

// Everything one run of the program shares: settings, file locations, the database session
// and the main window. Start-up and shut-down happen here.
class Program
{
public:
    explicit Program(const QString &homeFolder);
    ~Program();

    // Runs the start-up sequence. False when the program must end (the user has been told
    // why); then no window remains.
    bool Main();

    IniFile &ini() { return *m_ini; }
    FileLocations &locations() { return m_locations; }
    DatabaseSession &session() { return m_session; }
    frmMain *mainWindow() { return m_mainWindow.get(); }

private:
    bool ensureDatabaseFile(bool firstStart);
    bool openDatabase();
    bool refuseWhenOpenElsewhere();
    bool upgradeDatabase();
    void registerWindows();
    void synchronise(frmLumetra4::Mode mode);

    FileLocations m_locations;
    std::unique_ptr<IniFile> m_ini;
    DatabaseSession m_session;
    std::unique_ptr<frmMain> m_mainWindow;
    DatabaseCommands m_databaseCommands;
};
