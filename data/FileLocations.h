#pragma once

#include <QString>

class IniFile;

// Where the program keeps its files.
//
// The home folder plays the part of the program folder of a Windows installation: it holds the
// INI file, by default the database, the archives, exports and the company logo. It is
// $LUMETRA4_HOME when set; else the folder of the executable when a Lumetra4Desktop.ini lies
// there and the folder is writable (portable use); else ~/.local/share/Lumetra4Desktop.
// Shipped read-only files (templates, help) come from the installation.
class FileLocations
{
public:
    static constexpr const char *programName = "Lumetra4Desktop";
    static constexpr const char *databaseFileName = "Lumetra4Desktop.db";

    // Resolves the home folder from the environment and the executable's folder.
    static QString resolveHomeFolder(const QString &executableFolder);

    explicit FileLocations(QString homeFolder);

    const QString &homeFolder() const { return m_home; }
    QString iniFile() const;

    // Reads [Pfade] "Datenbank" and "Archiv" as start-up does.
    void readPaths(const IniFile &ini);

    QString dbFolder;
    QString dbFile;
    QString archiveFolder; // empty: archives go below the home folder
    QString exportFolder;

    void setDbFolder(const QString &folder);
    QString logoFolder() const;
    // The company logo file if one is present (SVG, PNG or JPEG), else empty.
    QString logoFile() const;
    // The user guide for a language number (English when that language has none).
    static QString helpFile(int languageNo);
    // Read-only files shipped with the program: <prefix>/share/lumetra4 or the source tree.
    static QString sharedDataFolder();

private:
    QString m_home;
};
