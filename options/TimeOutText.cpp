#include "options/TimeOutText.h"

#include <QLocale>

#include <cmath>

namespace TimeOutText {

qint16 parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale().toDouble(trimmed, &ok); // the user's decimal separator
    if (!ok || std::isnan(value))
        return defaultTimeOut;
    if (value > longest)
        return longest;
    if (value < shortest)
        return shortest;
    return static_cast<qint16>(std::lround(value));
}

} // namespace TimeOutText
