#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class DatabaseSession;
class FileLocations;
class IniFile;
class OptionsQuestions;
class Rollback;

// Moves the program to the database of another folder: copies the working database there,
// adopts the database found there, or replaces it, as the user answers.
//
// The old database is never deleted; it stays in its folder under a dated backup name, and a
// replaced database stays in the new folder under its backup name. Every step that changes a
// file or the settings is undone when a later one fails, and the program then goes on with its
// old database and settings that point at it.
class DatabasePathChange
{
public:
    enum class Outcome {
        NotChanged,
        Changed,     // the session works on the database of the new folder
        EndProgram,  // adopted a database another computer uses: the program must end
    };

    DatabasePathChange(DatabaseSession &session, FileLocations &locations, IniFile &ini,
                       OptionsQuestions &questions);

    Outcome run(const QString &newFolder);

    // The clock for backup names; tests set a fixed time.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // folder + "/Lumetra4Desktop <date> <time>.db" with every ':' and '.' of the date and time
    // replaced by '_'; a number is added when that name is taken.
    static QString backupName(const QString &folder, const QDateTime &when);

private:
    Outcome change(const QString &target, Rollback &rollback);
    void checkFolder(const QString &folder) const;
    QString changeQuestion(const QString &target) const;
    QString stageCopy(const QString &target, Rollback &rollback);
    void rename(const QString &from, const QString &to, Rollback &rollback);
    void pointSettingsAt(const QString &folder, Rollback &rollback);
    void switchTo(const QString &target, const QString &oldFile, Rollback &rollback);
    void reopen(const QString &file);
    void recover(const QString &oldFile);

    DatabaseSession &m_session;
    FileLocations &m_locations;
    IniFile &m_ini;
    OptionsQuestions &m_questions;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
};
