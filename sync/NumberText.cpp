#include "NumberText.h"

#include <charconv>
#include <cmath>

namespace NumberText {

namespace {

QString withSeparator(const char *begin, const char *end, const QLocale &locale)
{
    QString text = QString::fromLatin1(begin, end - begin);
    const QString separator = locale.decimalPoint();
    if (separator != QLatin1String("."))
        text.replace(u'.', separator);
    return text;
}

} // namespace

QString fromSingle(float value, const QLocale &locale)
{
    if (value == 0)
        value = 0; // "0", never "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed);
    if (result.ec != std::errc())
        return QString::number(double(value)); // not reached: 64 characters hold every single
    return withSeparator(buffer, result.ptr, locale);
}

QString fromDouble(double value, const QLocale &locale)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, (long long)value);
        return QString::fromLatin1(buffer, result.ptr - buffer);
    }
    return fromSingle(float(value), locale);
}

std::optional<double> parse(QStringView text)
{
    const QByteArray latin = text.trimmed().toLatin1().replace(',', '.');
    if (latin.isEmpty() || latin.contains('?'))
        return std::nullopt;
    const char *begin = latin.constData();
    if (*begin == '+')
        ++begin;
    double value = 0;
    const auto result = std::from_chars(begin, latin.constData() + latin.size(), value);
    if (result.ec != std::errc() || result.ptr != latin.constData() + latin.size()
        || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double roundToThousandths(double value)
{
    char buffer[400];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::fixed, 3);
    if (written.ec != std::errc())
        return value;
    double rounded = value;
    std::from_chars(buffer, written.ptr, rounded);
    return rounded == 0 ? 0.0 : rounded; // no "-0" from tiny negative values
}

} // namespace NumberText
