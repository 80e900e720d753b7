#pragma once

#include <QString>

class IniFile;

// The program-wide settings of section [frmMain], with their defaults.
struct Settings
{
    static constexpr const char *section = "frmMain";

    bool grafikmodusSchnell = true;
    bool deleteSyncedPruef = false;
    bool autoCommPort = true;
    qint16 commPort = 0;
    qint16 timeOut = 3000;
    QString infrarotPath = QStringLiteral("/");
    bool irdaInstalled = false; // Linux has no infrared control panel

    // Reads every setting; a value that is not a number keeps its default and is reported
    // through the error report, naming the key and the file.
    static Settings load(const IniFile &ini);
    // Writes every setting back (Booleans as "-1" / "0"); false when the file cannot be written.
    bool save(IniFile &ini) const;
};

// Booleans in the INI file are "-1" for true and "0" for false.
QString iniBool(bool value);
