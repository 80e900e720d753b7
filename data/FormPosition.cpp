#include "data/FormPosition.h"

#include "data/IniFile.h"

#include <cmath>
#include <limits>

namespace {

constexpr double twipsPerInch = 1440.0;

qint16 readShort(const IniFile &ini, const QString &tag, const char *key, qint16 defaultValue)
{
    bool ok = false;
    const int value = ReadIniValue(ini, tag, QLatin1String(key), QString::number(defaultValue))
                          .trimmed()
                          .toInt(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min()
        || value > std::numeric_limits<qint16>::max())
        return defaultValue;
    return static_cast<qint16>(value);
}

} // namespace

QString ReadIniValue(const IniFile &ini, const QString &tag, const QString &key,
                     const QString &defaultValue)
{
    return ini.read(tag, key, defaultValue);
}

bool WriteIniValue(IniFile &ini, const QString &tag, const QString &key, const QString &value)
{
    return ini.write(tag, key, value);
}

bool SaveFormPosition(IniFile &ini, const QString &tag, const FormPlacement &placement)
{
    if (placement.state == FormPlacement::Minimised)
        return true;
    if (!WriteIniValue(ini, tag, QStringLiteral("State"), QString::number(placement.state)))
        return false;
    if (placement.state != FormPlacement::Normal)
        return true;
    return WriteIniValue(ini, tag, QStringLiteral("Left"), QString::number(placement.left))
           && WriteIniValue(ini, tag, QStringLiteral("Top"), QString::number(placement.top))
           && WriteIniValue(ini, tag, QStringLiteral("Height"), QString::number(placement.height))
           && WriteIniValue(ini, tag, QStringLiteral("Width"), QString::number(placement.width));
}

FormPlacement RestoreFormPosition(const IniFile &ini, const QString &tag, qint16 defaultHeight,
                                  qint16 defaultWidth, qint16 defaultState)
{
    FormPlacement p;
    p.state = readShort(ini, tag, "State", defaultState);
    p.left = readShort(ini, tag, "Left", 0);
    p.top = readShort(ini, tag, "Top", 0);
    p.height = readShort(ini, tag, "Height", defaultHeight);
    p.width = readShort(ini, tag, "Width", defaultWidth);
    return p;
}

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / twipsPerInch));
}

int pixelsToTwips(int pixels, double dpi)
{
    return static_cast<int>(std::lround(pixels * twipsPerInch / dpi));
}
