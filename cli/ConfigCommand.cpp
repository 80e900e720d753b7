#include "cli/ConfigCommand.h"

#include "cli/Command.h"
#include "data/IniFile.h"
#include "data/ProgramDatabase.h"
#include "data/Settings.h"
#include "options/TimeOutText.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace {

// A setting: where it lives and how a typed value becomes the stored text (empty: refused).
struct ConfigKey
{
    const char *section;
    const char *key;
    const char *help;
    std::function<QString(const QString &)> stored;
};

QString booleanText(const QString &value)
{
    static const QStringList yes{"1", "-1", "true", "yes", "on", "ja"};
    static const QStringList no{"0", "false", "no", "off", "nein"};
    if (yes.contains(value.toLower()))
        return iniBool(true);
    return no.contains(value.toLower()) ? iniBool(false) : QString();
}

QString existingFolder(const QString &value)
{
    const QFileInfo folder(value);
    return folder.isDir() && folder.isWritable() ? QDir::cleanPath(folder.absoluteFilePath())
                                                  : QString();
}

const QList<ConfigKey> &keys()
{
    static const QList<ConfigKey> all{
        {"frmMain", "GrafikmodusSchnell", "fast graphics mode (yes/no)", booleanText},
        {"frmMain", "DeleteSyncedPruef", "delete tests on the instrument after reading (yes/no)",
         booleanText},
        {"frmMain", "AutoCommPort", "find the serial port automatically (yes/no)", booleanText},
        {"frmMain", "CommPort", "serial port 1-8 when not found automatically",
         [](const QString &value) {
             bool ok = false;
             const int port = value.toInt(&ok);
             return ok && port >= 1 && port <= 8 ? QString::number(port) : QString();
         }},
        {"frmMain", "TimeOut", "bus time-out in ms (500-30000; other text gives 3000)",
         [](const QString &value) { return QString::number(TimeOutText::parse(value)); }},
        {"frmMain", "InfrarotPath", "folder the infrared transfer fills", existingFolder},
        {"Pfade", "Archiv", "base folder of the archives (empty: the home folder)",
         [](const QString &value) {
             return value.isEmpty() ? QStringLiteral(" ") : existingFolder(value);
         }},
    };
    return all;
}

QString usageText()
{
    QString text = QStringLiteral(
        "Usage: lumetra4 config [KEY [VALUE]]\n"
        "Prints every setting, prints one, or sets one with the checks of the options dialog.\n"
        "The database folder is moved with the options dialog, which copies the database.\n"
        "Keys:\n");
    for (const ConfigKey &key : keys())
        text += QStringLiteral("  %1  %2\n").arg(QLatin1String(key.key), -20).arg(QLatin1String(key.help));
    return text;
}

// The value a key has now, its default when the settings file does not set it.
QString currentValue(const IniFile &ini, const QString &name)
{
    const Settings s = Settings::load(ini);
    if (name == QLatin1String("GrafikmodusSchnell"))
        return iniBool(s.grafikmodusSchnell);
    if (name == QLatin1String("DeleteSyncedPruef"))
        return iniBool(s.deleteSyncedPruef);
    if (name == QLatin1String("AutoCommPort"))
        return iniBool(s.autoCommPort);
    if (name == QLatin1String("CommPort"))
        return QString::number(s.commPort);
    if (name == QLatin1String("TimeOut"))
        return QString::number(s.timeOut);
    if (name == QLatin1String("InfrarotPath"))
        return s.infrarotPath;
    return ini.read(QStringLiteral("Pfade"), name, QString());
}

} // namespace

int runConfigCommand(const QStringList &arguments)
{
    if (arguments.contains(QStringLiteral("--help")) || arguments.size() > 2) {
        printLine(usageText());
        return arguments.size() > 2 ? 2 : 0;
    }
    const FileLocations locations = programLocations();
    IniFile ini(locations.iniFile());
    for (const ConfigKey &key : keys()) {
        const QString name = QLatin1String(key.key);
        if (!arguments.isEmpty() && name.compare(arguments[0], Qt::CaseInsensitive) != 0)
            continue;
        if (arguments.size() == 2) {
            const QString stored = key.stored(arguments[1].trimmed());
            if (stored.isEmpty())
                return usageError(QStringLiteral("%1: '%2' is not allowed").arg(name, arguments[1]));
            if (!ini.write(QLatin1String(key.section), name, stored.trimmed()))
                return usageError(ini.lastError());
        }
        printLine(QStringLiteral("%1=%2").arg(name, currentValue(ini, name)));
        if (!arguments.isEmpty())
            return 0;
    }
    if (!arguments.isEmpty())
        return usageError(QStringLiteral("unknown setting '%1'; see lumetra4 config --help")
                              .arg(arguments[0]));
    printLine(QStringLiteral("Datenbank=%1").arg(locations.dbFolder));
    return 0;
}
