#include "options/OptionsChoices.h"

#include "data/FileLocations.h"

OptionsChoices OptionsChoices::from(const Settings &settings, const FileLocations &locations)
{
    OptionsChoices choices;
    choices.grafikSchnell = settings.grafikmodusSchnell;
    choices.pruefLoeschen = settings.deleteSyncedPruef;
    choices.portAuto = settings.autoCommPort;
    choices.portNr = settings.commPort;
    choices.infrarotPath = settings.infrarotPath;
    choices.timeOutText = QString::number(settings.timeOut);
    choices.dbFolderText = locations.dbFolder;
    choices.archiveInDbFolder = !locations.archiveFolder.isEmpty();
    return choices;
}
