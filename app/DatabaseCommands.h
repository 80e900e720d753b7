#pragma once

#include <QString>

class ChildWindow;
class Program;
class frmMain;

// The File menu's commands that rework the database file: archiving and repair / compaction.
class DatabaseCommands
{
public:
    explicit DatabaseCommands(Program &program);

    void archive();
    void repairCompact();
    // The statistics window on an archive the user chooses, or nullptr when none was opened.
    ChildWindow *openArchive(frmMain &mainWindow);

private:
    QString chooseArchiveFile();
    QString chooseArchiveToOpen();

    Program &m_program;
};
