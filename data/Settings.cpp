#include "data/Settings.h"

#include "data/ErrorReport.h"
#include "data/IniFile.h"

#include <limits>

namespace {

constexpr qint32 typeMismatch = 13; // the run-time error of a non-numeric conversion

const QString frmMain = QLatin1String(Settings::section);

qint16 readInteger(const IniFile &ini, const char *key, qint16 defaultValue)
{
    const QString text = ini.read(frmMain, QLatin1String(key), QString::number(defaultValue));
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok && value >= std::numeric_limits<qint16>::min()
        && value <= std::numeric_limits<qint16>::max())
        return static_cast<qint16>(value);
    ErrorReport::raise(typeMismatch, QStringLiteral("Settings"),
                       QStringLiteral("[%1] %2=%3 in %4 is not a number; using %5.")
                           .arg(frmMain, QLatin1String(key), text, ini.path())
                           .arg(defaultValue));
    ErrorReport::ShowError();
    return defaultValue;
}

bool readBoolean(const IniFile &ini, const char *key, bool defaultValue)
{
    return readInteger(ini, key, defaultValue ? -1 : 0) != 0;
}

} // namespace

QString iniBool(bool value)
{
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

Settings Settings::load(const IniFile &ini)
{
    Settings s;
    s.grafikmodusSchnell = readBoolean(ini, "GrafikmodusSchnell", s.grafikmodusSchnell);
    s.deleteSyncedPruef = readBoolean(ini, "DeleteSyncedPruef", s.deleteSyncedPruef);
    s.autoCommPort = readBoolean(ini, "AutoCommPort", s.autoCommPort);
    s.commPort = readInteger(ini, "CommPort", s.commPort);
    s.timeOut = readInteger(ini, "TimeOut", s.timeOut);
    s.infrarotPath = ini.read(frmMain, QStringLiteral("InfrarotPath"), s.infrarotPath);
    return s;
}

bool Settings::save(IniFile &ini) const
{
    return ini.write(frmMain, QStringLiteral("GrafikmodusSchnell"), iniBool(grafikmodusSchnell))
           && ini.write(frmMain, QStringLiteral("DeleteSyncedPruef"), iniBool(deleteSyncedPruef))
           && ini.write(frmMain, QStringLiteral("AutoCommPort"), iniBool(autoCommPort))
           && ini.write(frmMain, QStringLiteral("CommPort"), QString::number(commPort))
           && ini.write(frmMain, QStringLiteral("TimeOut"), QString::number(timeOut))
           && ini.write(frmMain, QStringLiteral("InfrarotPath"), infrarotPath);
}
