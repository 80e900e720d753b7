#pragma once

#include <QString>

class Program;

// The File menu's commands that rework the database file: archiving and repair / compaction.
class DatabaseCommands
{
public:
    explicit DatabaseCommands(Program &program);

    void archive();
    void repairCompact();

private:
    QString chooseArchiveFile();

    Program &m_program;
};
