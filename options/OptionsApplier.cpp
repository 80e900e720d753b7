#include "options/OptionsApplier.h"

#include "data/Archive.h"
#include "data/FileLocations.h"
#include "data/IniFile.h"
#include "data/StringTable.h"
#include "options/CompanyLogo.h"
#include "options/OptionsChoices.h"
#include "options/OptionsQuestions.h"
#include "options/PortList.h"
#include "options/TimeOutText.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr qint32 fileAccessError = 75;
const QString source = QStringLiteral("frmOptions");
const QString frmMain = QLatin1String(Settings::section);
const QString pfade = QStringLiteral("Pfade");

} // namespace

OptionsApplier::OptionsApplier(DatabaseSession &session, FileLocations &locations, IniFile &ini,
                               CompanyLogo &logo, OptionsQuestions &questions,
                               PortMask availablePorts)
    : m_locations(locations)
    , m_ini(ini)
    , m_logo(logo)
    , m_questions(questions)
    , m_availablePorts(std::move(availablePorts))
    , m_pathChange(session, locations, ini, questions)
{}

void OptionsApplier::write(const QString &section, const QString &key, const QString &value)
{
    if (!m_ini.write(section, key, value))
        m_questions.fail({fileAccessError, source, resString(25637).arg(m_ini.lastError())});
}

DatabasePathChange::Outcome OptionsApplier::apply(OptionsChoices &choices, Settings &settings)
{
    applyLogo(choices);
    settings.grafikmodusSchnell = choices.grafikSchnell;
    write(frmMain, QStringLiteral("GrafikmodusSchnell"), iniBool(settings.grafikmodusSchnell));
    applyInfrared(choices, settings);
    const DatabasePathChange::Outcome outcome = applyDatabaseFolder(choices);
    applyArchive(choices);
    applyPort(choices, settings);
    settings.timeOut = TimeOutText::parse(choices.timeOutText);
    write(frmMain, QStringLiteral("TimeOut"), QString::number(settings.timeOut));
    choices.timeOutText = QString::number(settings.timeOut);
    return outcome;
}

void OptionsApplier::applyLogo(OptionsChoices &choices)
{
    try {
        if (choices.logoDeleted)
            m_logo.remove();
        if (choices.logoChosen)
            m_logo.install();
    } catch (const RuntimeErrorException &e) {
        m_questions.fail(e.error());
    }
    choices.logoDeleted = false;
    choices.logoChosen = false;
}

void OptionsApplier::applyInfrared(OptionsChoices &choices, Settings &settings)
{
    if (choices.infrarotPath != settings.infrarotPath
        && !QFileInfo(choices.infrarotPath).isDir()) {
        m_questions.inform(resString(25631).arg(QDir::toNativeSeparators(choices.infrarotPath)));
        choices.infrarotPath = settings.infrarotPath;
    }
    settings.infrarotPath = choices.infrarotPath;
    write(frmMain, QStringLiteral("InfrarotPath"), settings.infrarotPath);
}

DatabasePathChange::Outcome OptionsApplier::applyDatabaseFolder(OptionsChoices &choices)
{
    auto outcome = DatabasePathChange::Outcome::NotChanged;
    if (choices.dbFolderText != m_locations.dbFolder && m_questions.onlyMainAndOptionsOpen())
        outcome = m_pathChange.run(choices.dbFolderText);
    choices.dbFolderText = m_locations.dbFolder;
    return outcome;
}

void OptionsApplier::applyArchive(OptionsChoices &choices)
{
    if (!choices.archiveInDbFolder) {
        m_locations.archiveFolder.clear();
        write(pfade, QStringLiteral("Archiv"), QString());
        return;
    }
    const QString folder = Archive::folder(m_locations.homeFolder(), m_locations.dbFolder);
    if (!QDir().mkpath(folder)) {
        m_questions.inform(resString(25633).arg(QDir::toNativeSeparators(folder)));
        choices.archiveInDbFolder = !m_locations.archiveFolder.isEmpty();
        return;
    }
    m_locations.archiveFolder = m_locations.dbFolder;
    write(pfade, QStringLiteral("Archiv"), m_locations.archiveFolder);
}

void OptionsApplier::applyPort(OptionsChoices &choices, Settings &settings)
{
    settings.deleteSyncedPruef = choices.pruefLoeschen;
    write(frmMain, QStringLiteral("DeleteSyncedPruef"), iniBool(settings.deleteSyncedPruef));
    const std::optional<quint8> mask = m_availablePorts ? m_availablePorts() : std::nullopt;
    if (!choices.portAuto && choices.portNr != 0 && mask
        && !PortList::contains(*mask, choices.portNr)) {
        m_questions.inform(resString(25640).arg(choices.portNr));
        choices.portAuto = settings.autoCommPort;
        choices.portNr = settings.commPort;
    }
    settings.autoCommPort = choices.portAuto;
    settings.commPort = choices.portNr;
    write(frmMain, QStringLiteral("AutoCommPort"), iniBool(settings.autoCommPort));
    write(frmMain, QStringLiteral("CommPort"), QString::number(settings.commPort));
}
