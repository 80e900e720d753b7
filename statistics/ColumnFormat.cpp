#include "statistics/ColumnFormat.h"

#include "data/StringTable.h"

#include <optional>

namespace {

constexpr double notMeasured = -99999;

// The text of a known code; nothing when the format has no text for it.
std::optional<QString> knownText(ColumnFormat format, const QVariant &stored)
{
    if (stored.isNull())
        return QString();
    bool ok = false;
    const double number = stored.toDouble(&ok);
    if (format == ColumnFormat::MissingValue) {
        if (ok && number == notMeasured)
            return QString();
        return std::nullopt;
    }
    const int code = int(number);
    if (!ok || code != number)
        return std::nullopt;
    switch (format) {
    case ColumnFormat::Finding:
        if (code >= 0 && code <= 2)
            return resString(25069 + code);
        if (code == 3 || code == 4)
            return resString(25072);
        break;
    case ColumnFormat::GasMeterSafety:
    case ColumnFormat::ZeroClosure:
        if (code == 0 || code == 2)
            return resString(25069 + code);
        if (code == 3)
            return resString(format == ColumnFormat::GasMeterSafety ? 25079 : 25078);
        break;
    case ColumnFormat::TestKind:
        if (code >= 0 && code <= 3)
            return resString(203 + code);
        return std::nullopt;
    case ColumnFormat::None:
    case ColumnFormat::MissingValue:
        return std::nullopt;
    }
    if (code == 255)
        return QString();
    return std::nullopt;
}

} // namespace

QString GridText(ColumnFormat format, const QVariant &stored)
{
    return knownText(format, stored).value_or(stored.toString());
}

QString PrintText(ColumnFormat format, const QVariant &stored)
{
    if (format == ColumnFormat::None || format == ColumnFormat::MissingValue)
        return GridText(format, stored);
    return knownText(format, stored).value_or(QString());
}
