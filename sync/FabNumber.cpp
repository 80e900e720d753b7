#include "sync/FabNumber.h"

#include <QRegularExpression>

QString FabNumber::displayText(uint32_t fab)
{
    return QStringLiteral("%1 %2 %3")
        .arg(fab >> 24, 3, 10, QLatin1Char('0'))
        .arg((fab >> 16) & 0xFF, 2, 10, QLatin1Char('0'))
        .arg(fab & 0xFFFF, 5, 10, QLatin1Char('0'));
}

bool FabNumber::parse(const QString &text, uint32_t *fab)
{
    static const QRegularExpression shown(
        QStringLiteral("^(\\d{1,3})[ .-](\\d{1,2})[ .-](\\d{1,5})$"));
    const QRegularExpressionMatch match = shown.match(text.trimmed());
    if (match.hasMatch()) {
        const uint32_t type = match.captured(1).toUInt();
        const uint32_t second = match.captured(2).toUInt();
        const uint32_t serial = match.captured(3).toUInt();
        if (type > 255 || second > 255 || serial > 65535)
            return false;
        *fab = type << 24 | second << 16 | serial;
        return true;
    }
    bool ok = false;
    *fab = text.toUInt(&ok, 0);
    return ok;
}
