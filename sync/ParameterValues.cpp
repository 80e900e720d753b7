#include "ParameterValues.h"

#include "sync/NumberText.h"
#include "sync/VlmMemLibrary.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The instruments' strings are in the Windows ANSI code page of the office computers.
const char *const ansiCodePage = "windows-1252";

QString decodeAnsi(const uint8_t *bytes, qsizetype count)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), count);
    QStringDecoder decoder(ansiCodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(data);
    return decoder.decode(data);
}

QByteArray encodeAnsi(const QString &text)
{
    QStringEncoder encoder(ansiCodePage);
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

template<typename Integer>
QString integerText(const ParameterRecord &record, uint8_t count)
{
    Integer value{};
    if (!VlmMemLibrary::instance().memoryToData(&value, record.value, count))
        return QStringLiteral("0");
    return QString::number(value);
}

// The text as a whole number within [low, high], halves to even; empty when it is none.
std::optional<qint64> wholeNumber(const QString &text, qint64 low, qint64 high)
{
    const auto number = NumberText::parse(text);
    if (!number)
        return std::nullopt;
    const double rounded = std::nearbyint(*number);
    if (rounded < double(low) || rounded > double(high))
        return std::nullopt;
    return qint64(rounded);
}

template<typename Native>
bool writeNative(ParameterRecord &record, Native value, uint8_t count)
{
    return VlmMemLibrary::instance().dataToMemory(&value, record.value, count);
}

} // namespace

QString ParameterValueText(const ParameterRecord &record, const QLocale &locale)
{
    switch (record.typeCode()) {
    case ParameterType::U8:
        return QString::number(record.value[0]);
    case ParameterType::S8:
        return QString::number(int(int8_t(record.value[0])));
    case ParameterType::U16: {
        int16_t value = 0;
        if (!VlmMemLibrary::instance().memoryToData(&value, record.value, 2))
            return QStringLiteral("0");
        return QString::number(value < 0 ? int(value) + 65536 : int(value));
    }
    case ParameterType::S16:
        return integerText<int16_t>(record, 2);
    case ParameterType::U32:
    case ParameterType::S32:
        return integerText<int32_t>(record, 4);
    case ParameterType::Float: {
        float value = 0;
        if (!VlmMemLibrary::instance().memoryToData(&value, record.value, 4))
            return QStringLiteral("0");
        return NumberText::fromSingle(value, locale);
    }
    case ParameterType::String:
        return decodeAnsi(record.value, sizeof record.value);
    default:
        return QString();
    }
}

ParameterRecord TextToParameterValue(const ParameterRecord &record, const QString &text,
                                     bool *exact)
{
    ParameterRecord result = record;
    bool fits = false;
    constexpr qint64 int16Min = std::numeric_limits<int16_t>::min();
    constexpr qint64 int16Max = std::numeric_limits<int16_t>::max();
    constexpr qint64 int32Min = std::numeric_limits<int32_t>::min();
    constexpr qint64 int32Max = std::numeric_limits<int32_t>::max();

    switch (record.typeCode()) {
    case ParameterType::U8:
        if (const auto value = wholeNumber(text, 0, 255)) {
            result.value[0] = uint8_t(*value);
            fits = true;
        }
        break;
    case ParameterType::S8: {
        const auto value = wholeNumber(text, int16Min, int16Max);
        fits = writeNative(result, int16_t(value.value_or(0)), 1) && value && *value >= -128
               && *value <= 127;
        break;
    }
    case ParameterType::U16: {
        const auto value = wholeNumber(text, int32Min, int32Max);
        const qint64 stored = value ? (*value < 0 ? *value + 65536 : *value) : 0;
        fits = writeNative(result, int32_t(stored), 2) && value && *value >= 0 && *value <= 65535;
        break;
    }
    case ParameterType::S16: {
        const auto value = wholeNumber(text, int16Min, int16Max);
        fits = writeNative(result, int16_t(value.value_or(0)), 2) && value;
        break;
    }
    case ParameterType::U32:
    case ParameterType::S32: {
        const auto value = wholeNumber(text, int32Min, int32Max);
        fits = writeNative(result, int32_t(value.value_or(0)), 4) && value
               && (record.typeCode() == ParameterType::S32 || *value >= 0);
        break;
    }
    case ParameterType::Float: {
        const auto number = NumberText::parse(text);
        const bool inRange = number && std::fabs(*number) <= std::numeric_limits<float>::max();
        fits = writeNative(result, inRange ? float(*number) : 0.0f, 4) && inRange;
        break;
    }
    case ParameterType::String: {
        const QByteArray bytes = encodeAnsi(text);
        const qsizetype count = std::min<qsizetype>(bytes.size(), sizeof result.value);
        std::memcpy(result.value, bytes.constData(), count);
        if (count < qsizetype(sizeof result.value))
            result.value[count] = 0;
        if (bytes.size() < 255)
            result.length = uint8_t(bytes.size() + 1);
        // A parameter holds at most 251 bytes; a longer string does not arrive whole.
        fits = bytes.size() + 1 <= 251;
        break;
    }
    default:
        break;
    }
    if (exact)
        *exact = fits;
    return result;
}
