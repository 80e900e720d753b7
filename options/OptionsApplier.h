#pragma once

#include "data/Settings.h"
#include "options/DatabasePathChange.h"

#include <functional>
#include <optional>

class CompanyLogo;
class DatabaseSession;
class FileLocations;
class IniFile;
class OptionsQuestions;
struct OptionsChoices;

// Applies the options dialog's choices to the program's settings and the INI file, in the
// order the dialog has always used: logo, graphics mode, infrared folder, database folder,
// archive folder, synchronisation and port, time-out.
//
// A choice that cannot be carried out (a folder that is missing or not writable, a port that
// is gone, a logo that cannot be copied) is reported and leaves that setting as it was; the
// choices are then set back to show it.
class OptionsApplier
{
public:
    // The port mask of the bus library now, or nothing when the library cannot be asked.
    using PortMask = std::function<std::optional<quint8>()>;

    OptionsApplier(DatabaseSession &session, FileLocations &locations, IniFile &ini,
                   CompanyLogo &logo, OptionsQuestions &questions, PortMask availablePorts);

    // Changes settings to what choices say and writes them; choices afterwards show what was
    // applied (the time-out as stored, the database folder in use).
    DatabasePathChange::Outcome apply(OptionsChoices &choices, Settings &settings);

    DatabasePathChange &pathChange() { return m_pathChange; }

private:
    void applyLogo(OptionsChoices &choices);
    void applyInfrared(OptionsChoices &choices, Settings &settings);
    DatabasePathChange::Outcome applyDatabaseFolder(OptionsChoices &choices);
    void applyArchive(OptionsChoices &choices);
    void applyPort(OptionsChoices &choices, Settings &settings);
    void write(const QString &section, const QString &key, const QString &value);

    FileLocations &m_locations;
    IniFile &m_ini;
    CompanyLogo &m_logo;
    OptionsQuestions &m_questions;
    PortMask m_availablePorts;
    DatabasePathChange m_pathChange;
};
