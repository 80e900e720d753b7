#include "statistics/TestTexts.h"

#include "data/StringTable.h"

namespace {

int codeOf(const QVariant &value, bool *ok)
{
    *ok = !value.isNull();
    return *ok ? value.toInt(ok) : -1;
}

} // namespace

QString FindingText(const QVariant &befund)
{
    bool ok = false;
    switch (codeOf(befund, &ok)) {
    case 0: return resString(25796);
    case 1: return resString(25797);
    case 2: return resString(25798);
    case 3:
    case 4: return resString(25799);
    default: return {};
    }
}

QString TestKindText(const QVariant &pruefart)
{
    bool ok = false;
    const int code = codeOf(pruefart, &ok);
    return ok && code >= 0 && code <= 3 ? resString(203 + code) : QString();
}

QString GridFindingText(const QVariant &befund)
{
    bool ok = false;
    const int code = codeOf(befund, &ok);
    if (!ok || code == 255)
        return {};
    return code >= 0 && code <= 4 ? FindingText(befund) : befund.toString();
}

QString GridTestKindText(const QVariant &pruefart)
{
    const QString text = TestKindText(pruefart);
    return text.isEmpty() ? pruefart.toString() : text;
}

QColor FindingColour(const QVariant &befund)
{
    bool ok = false;
    switch (codeOf(befund, &ok)) {
    case 0: return QColor(0, 255, 0);
    case 1: return QColor(255, 255, 0);
    case 2: return QColor(255, 0, 0);
    case 3:
    case 4: return Qt::white;
    default: return {};
    }
}
