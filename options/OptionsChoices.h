#pragma once

#include "data/Settings.h"

#include <QString>

class FileLocations;

// What the options dialog holds until the user applies it.
struct OptionsChoices
{
    bool grafikSchnell = true;
    bool pruefLoeschen = false;
    bool portAuto = true;
    qint16 portNr = 0;
    QString infrarotPath;
    QString timeOutText;
    QString dbFolderText;
    bool archiveInDbFolder = false;
    bool logoDeleted = false;
    bool logoChosen = false;

    // The choices that show the program's current settings.
    static OptionsChoices from(const Settings &settings, const FileLocations &locations);
};
