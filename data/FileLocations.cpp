#include "data/FileLocations.h"

#include "data/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
constexpr int englishLanguageNo = 2;
}

QString FileLocations::resolveHomeFolder(const QString &executableFolder)
{
    const QString fromEnv = qEnvironmentVariable("LUMETRA4_HOME");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(QDir(fromEnv).absolutePath());
    const QString portableIni = executableFolder + u'/' + QLatin1String(programName) + ".ini";
    if (QFileInfo::exists(portableIni) && QFileInfo(executableFolder).isWritable())
        return QDir::cleanPath(executableFolder);
    return QDir::homePath() + QStringLiteral("/.local/share/") + QLatin1String(programName);
}

FileLocations::FileLocations(QString homeFolder)
    : m_home(std::move(homeFolder))
{
    setDbFolder(m_home);
    exportFolder = m_home;
}

QString FileLocations::iniFile() const
{
    return m_home + u'/' + QLatin1String(programName) + QStringLiteral(".ini");
}

void FileLocations::readPaths(const IniFile &ini)
{
    setDbFolder(ini.read(QStringLiteral("Pfade"), QStringLiteral("Datenbank"), m_home));
    const QString archive = ini.read(QStringLiteral("Pfade"), QStringLiteral("Archiv"), QString());
    if (!archive.isEmpty())
        archiveFolder = archive;
}

void FileLocations::setDbFolder(const QString &folder)
{
    dbFolder = folder;
    dbFile = QDir(folder).filePath(QLatin1String(databaseFileName));
}

QString FileLocations::logoFolder() const
{
    return m_home + QStringLiteral("/logos");
}

QString FileLocations::logoFile() const
{
    // The name is matched without regard to case, as users copy it from other systems.
    const QStringList files = QDir(logoFolder()).entryList(QDir::Files, QDir::Name);
    for (const char *suffix : {"svg", "png", "jpg", "jpeg"}) {
        const QString wanted = QStringLiteral("Firma.") + QLatin1String(suffix);
        for (const QString &file : files) {
            if (file.compare(wanted, Qt::CaseInsensitive) == 0)
                return logoFolder() + u'/' + file;
        }
    }
    return {};
}

QString FileLocations::sharedDataFolder()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    // The build tree has a share/lumetra4 too, holding only the built guide; the installed
    // folder is the one that carries the templates.
    const QString installed = QDir::cleanPath(appDir + QStringLiteral("/../share/lumetra4"));
    if (QFileInfo::exists(installed + QStringLiteral("/templates")))
        return installed;
    return QStringLiteral(LUMETRA4_SOURCE_DIR);
}

QString FileLocations::helpFile(int languageNo)
{
    // Installed beside the program, or made by the build; English stands in for a language
    // without a guide of its own.
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList folders{QDir::cleanPath(appDir + QStringLiteral("/../share/lumetra4/help")),
                              QStringLiteral(LUMETRA4_SHARE_BUILD_DIR "/help")};
    for (int number : {languageNo, englishLanguageNo}) {
        for (const QString &folder : folders) {
            const QString file = folder + QStringLiteral("/%1/Lumetra4Desktop.pdf").arg(number);
            if (QFileInfo::exists(file))
                return file;
        }
    }
    return folders.first() + QStringLiteral("/%1/Lumetra4Desktop.pdf").arg(languageNo);
}
