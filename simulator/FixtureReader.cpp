#include "FixtureReader.h"

#include "GeneratedTests.h"
#include "StandardParameters.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QRegularExpression>

#include <bit>
#include <cmath>
#include <stdexcept>

namespace FixtureReader {

namespace {

constexpr uint32_t defaultFirmware = 3000;

[[noreturn]] void fail(const QString &where, const QString &what)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(where, what).toStdString());
}

void checkKeys(const QJsonObject &object, const QStringList &allowed, const QString &where)
{
    for (const QString &key : object.keys()) {
        if (!allowed.contains(key))
            fail(where, QStringLiteral("unknown key \"%1\"").arg(key));
    }
}

uint32_t unsignedValue(const QJsonValue &value, const QString &where, const QString &key,
                       double maximum = 4294967295.0)
{
    if (value.isUndefined())
        fail(where, QStringLiteral("\"%1\" is missing").arg(key));
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < 0 || number > maximum || std::floor(number) != number)
        fail(where, QStringLiteral("\"%1\" must be a whole number from 0 to %2")
                        .arg(key).arg(maximum, 0, 'f', 0));
    return uint32_t(number);
}

double numberValue(const QJsonObject &object, const QString &key, const QString &where)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble())
        fail(where, QStringLiteral("\"%1\" must be a number").arg(key));
    return value.toDouble();
}

bool boolValue(const QJsonObject &object, const QString &key, const QString &where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return false;
    if (!value.isBool())
        fail(where, QStringLiteral("\"%1\" must be true or false").arg(key));
    return value.toBool();
}

// An absent list reads as empty; anything but a list of objects is refused.
QList<QJsonObject> objectList(const QJsonObject &object, const QString &key, const QString &where)
{
    const QJsonValue value = object.value(key);
    QList<QJsonObject> result;
    if (value.isUndefined())
        return result;
    if (!value.isArray())
        fail(where, QStringLiteral("\"%1\" must be a list").arg(key));
    for (const QJsonValue &entry : value.toArray()) {
        if (!entry.isObject())
            fail(where, QStringLiteral("every entry of \"%1\" must be an object { ... }")
                            .arg(key));
        result.push_back(entry.toObject());
    }
    return result;
}

QJsonObject objectValue(const QJsonObject &object, const QString &key, const QString &where)
{
    const QJsonValue value = object.value(key);
    if (!value.isUndefined() && !value.isObject())
        fail(where, QStringLiteral("\"%1\" must be an object { ... }").arg(key));
    return value.toObject();
}

uint32_t fabValue(const QJsonValue &value, const QString &where, const QString &key)
{
    uint32_t fab = 0;
    if (value.isDouble())
        return unsignedValue(value, where, key);
    if (!value.isString() || !parseFabNumber(value.toString(), &fab))
        fail(where, QStringLiteral("\"%1\" must be a number or a text like \"063 01 00042\"")
                        .arg(key));
    return fab;
}

std::vector<uint8_t> hexBytes(const QJsonValue &value, const QString &where)
{
    QString text = value.toString();
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    if (!value.isString() || text.size() % 2 != 0
        || !QRegularExpression(QStringLiteral("^[0-9A-Fa-f]*$")).match(text).hasMatch())
        fail(where, QStringLiteral("\"hex\" must be pairs of hex digits"));
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<uint8_t> numberBytes(double number, uint16_t type, const QString &where)
{
    const auto bytes = [](uint32_t value, size_t width) {
        std::vector<uint8_t> result;
        for (size_t i = 0; i < width; ++i)
            result.push_back(uint8_t(value >> (8 * i)));
        return result;
    };
    const auto inRange = [&](double low, double high) {
        if (number < low || number > high || std::floor(number) != number)
            fail(where, QStringLiteral("value %1 does not fit type %2").arg(number).arg(type));
        return int64_t(number);
    };
    switch (type & 0xFF) {
    case 0: return bytes(uint32_t(inRange(0, 255)), 1);
    case 1: return bytes(uint32_t(inRange(-128, 127)), 1);
    case 2: return bytes(uint32_t(inRange(0, 65535)), 2);
    case 3: return bytes(uint32_t(inRange(-32768, 32767)), 2);
    case 4: return bytes(uint32_t(inRange(0, 4294967295.0)), 4);
    case 5: return bytes(uint32_t(inRange(-2147483648.0, 2147483647.0)), 4);
    case 6: return bytes(std::bit_cast<uint32_t>(float(number)), 4);
    default:
        fail(where, QStringLiteral("type %1 takes a text or \"hex\", not a number").arg(type));
    }
}

SimulatedParameter parameter(const QJsonObject &object, const QString &where, uint16_t *number)
{
    checkKeys(object, {"number", "type", "value", "hex", "description", "readOnly", "name"},
              where);
    *number = uint16_t(unsignedValue(object.value("number"), where, "number", 65534));
    SimulatedParameter result;
    result.type = uint16_t(unsignedValue(object.value("type"), where, "type", 65535));
    result.readOnly = boolValue(object, "readOnly", where);
    result.name = object.value("name").toString().toStdString();
    result.description = {uint8_t(result.readOnly ? 1 : 3), 0, 0, 0};
    if (object.contains("description")) {
        const auto description = hexBytes(object.value("description"), where);
        if (description.size() != 4)
            fail(where, QStringLiteral("\"description\" must be 4 bytes of hex"));
        std::copy(description.begin(), description.end(), result.description.begin());
    }
    const QJsonValue value = object.value("value");
    if (object.contains("hex"))
        result.value = hexBytes(object.value("hex"), where);
    else if (value.isDouble())
        result.value = numberBytes(value.toDouble(), result.type, where);
    else if (value.isString() && (result.type & 0xFF) == 7) {
        const QByteArray text = value.toString().toLatin1(); // the instrument's one-byte text
        result.value = std::vector<uint8_t>(text.begin(), text.end());
    }
    else if (value.isString())
        result.value = hexBytes(value, where);
    else
        fail(where, QStringLiteral("a parameter needs a \"value\" or \"hex\""));
    if (result.value.size() > 251)
        fail(where, QStringLiteral("a value holds at most 251 bytes"));
    return result;
}

std::vector<float> samples(const QJsonValue &value, const QString &where)
{
    std::vector<float> result;
    for (const QJsonValue &sample : value.toArray()) {
        if (!sample.isDouble())
            fail(where, QStringLiteral("curve samples must be numbers"));
        result.push_back(float(sample.toDouble()));
    }
    return result;
}

BlockFault blockFault(const QJsonValue &value, const QString &where)
{
    static const QMap<QString, BlockFault> faults = {
        {"headerCrc", BlockFault::HeaderCrc},
        {"seriesCrc", BlockFault::SeriesCrc},
        {"eventCrc", BlockFault::EventCrc},
        {"emptySlot", BlockFault::EmptySlot},
        {"measurementNumberZero", BlockFault::MeasurementNumberZero},
        {"samplesAboveValidMemory", BlockFault::SamplesAboveValidMemory}};
    if (!faults.contains(value.toString()))
        fail(where, QStringLiteral("\"fault\" must be one of %1")
                        .arg(QStringList(faults.keys()).join(QStringLiteral(", "))));
    return faults.value(value.toString());
}

TestDescription test(const QJsonObject &object, const QString &where)
{
    checkKeys(object, {"kind", "date", "startPressure", "endPressure", "flow", "finding",
                       "flowPressure", "staticPressure", "safetyValvePressure",
                       "zeroShutOffFinding", "lowFlowSafetyFinding", "customerNumber",
                       "meterNumber", "pipeVolumeCode", "measurementNumber", "sampleIntervalMs",
                       "bytesPerSample", "pressureCurve", "flowCurve", "fault"}, where);
    TestDescription result;
    result.kind = int(unsignedValue(object.value("kind"), where, "kind", 3));
    const QDateTime date = QDateTime::fromString(object.value("date").toString(), Qt::ISODate);
    if (!date.isValid())
        fail(where, QStringLiteral("\"date\" must be a date like \"2025-03-01T08:30:00\""));
    result.date = {date.date().year(), date.date().month(), date.date().day(),
                   date.time().hour(), date.time().minute(), date.time().second()};
    const auto single = [&](const char *key, std::optional<float> &field) {
        if (object.contains(key))
            field = float(numberValue(object, key, where));
    };
    const auto whole = [&](const char *key, std::optional<int> &field, double maximum) {
        if (object.contains(key))
            field = int(unsignedValue(object.value(key), where, key, maximum));
    };
    const auto large = [&](const char *key, std::optional<double> &field) {
        if (object.contains(key))
            field = numberValue(object, key, where);
    };
    single("startPressure", result.startPressure);
    single("endPressure", result.endPressure);
    single("flow", result.flow);
    single("flowPressure", result.flowPressure);
    single("staticPressure", result.staticPressure);
    single("safetyValvePressure", result.safetyValvePressure);
    whole("finding", result.finding, 255);
    whole("zeroShutOffFinding", result.zeroShutOffFinding, 255);
    whole("lowFlowSafetyFinding", result.lowFlowSafetyFinding, 255);
    whole("pipeVolumeCode", result.pipeVolumeCode, 255);
    large("customerNumber", result.customerNumber);
    large("meterNumber", result.meterNumber);
    if (object.contains("measurementNumber"))
        result.measurementNumber = uint16_t(unsignedValue(object.value("measurementNumber"),
                                                          where, "measurementNumber", 65535));
    if (object.contains("sampleIntervalMs"))
        result.sampleIntervalMs = uint16_t(unsignedValue(object.value("sampleIntervalMs"),
                                                         where, "sampleIntervalMs", 65535));
    if (object.contains("bytesPerSample"))
        result.bytesPerSample = uint8_t(unsignedValue(object.value("bytesPerSample"), where,
                                                      "bytesPerSample", 255));
    if (object.contains("pressureCurve"))
        result.series.push_back({82, 9, samples(object.value("pressureCurve"), where)});
    if (object.contains("flowCurve"))
        result.series.push_back({98, 48, samples(object.value("flowCurve"), where)});
    if (object.contains("fault"))
        result.fault = blockFault(object.value("fault"), where);
    return result;
}

std::vector<TestDescription> tests(const QJsonValue &value, const QString &where)
{
    if (value.isDouble())
        return GeneratedTests::tightnessTests(int(unsignedValue(value, where, "tests", 5000)));
    if (!value.isArray())
        fail(where, QStringLiteral("\"tests\" must be a count or a list of tests"));
    std::vector<TestDescription> result;
    const QJsonArray list = value.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString place = QStringLiteral("%1, test %2").arg(where).arg(i + 1);
        if (!list.at(i).isObject())
            fail(place, QStringLiteral("a test must be an object { ... }"));
        result.push_back(test(list.at(i).toObject(), place));
    }
    return result;
}

std::vector<uint8_t> memory(const QJsonObject &object, const QString &where)
{
    checkKeys(object, {"hex", "size"}, where);
    if (object.contains("hex"))
        return hexBytes(object.value("hex"), where);
    if (!object.contains("size"))
        fail(where, QStringLiteral("a memory needs its \"hex\" bytes or a \"size\""));
    std::vector<uint8_t> bytes(unsignedValue(object.value("size"), where, "size", 16777216));
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + i / 256); // no two neighbouring pages look alike
    return bytes;
}

RefusalRule refusal(const QJsonObject &object, const QString &where)
{
    checkKeys(object, {"service", "subIndex", "write"}, where);
    RefusalRule rule;
    if (object.contains("service"))
        rule.service = uint8_t(unsignedValue(object.value("service"), where, "service", 63));
    if (object.contains("subIndex"))
        rule.subIndex = uint8_t(unsignedValue(object.value("subIndex"), where, "subIndex", 255));
    if (object.contains("write"))
        rule.write = boolValue(object, "write", where);
    return rule;
}

InstrumentFaults faults(const QJsonObject &object, const QString &where)
{
    checkKeys(object, {"silent", "delayMs", "busy", "badChecksum", "refuse", "foreignFab",
                       "oversizeLength", "shortMemory", "unplugAfter", "joinAfter"}, where);
    InstrumentFaults result;
    result.silent = boolValue(object, "silent", where);
    result.oversizeLength = boolValue(object, "oversizeLength", where);
    const auto count = [&](const char *key) {
        return object.contains(key) ? unsignedValue(object.value(key), where, key) : 0u;
    };
    result.delayMs = count("delayMs");
    result.busyAnswers = count("busy");
    result.badChecksums = count("badChecksum");
    result.shortMemory = count("shortMemory");
    result.joinAfter = count("joinAfter");
    if (object.contains("unplugAfter"))
        result.unplugAfter = count("unplugAfter");
    if (object.contains("foreignFab"))
        result.foreignFab = fabValue(object.value("foreignFab"), where, "foreignFab");
    for (const QJsonObject &rule : objectList(object, "refuse", where))
        result.refusals.push_back(refusal(rule, where));
    return result;
}

void addInstruments(InstrumentLine &line, const QJsonObject &object, const QString &where)
{
    checkKeys(object, {"fab", "count", "firmware", "tests", "parameters", "memory",
                       "lastChanged", "faults"}, where);
    if (!object.contains("fab"))
        fail(where, QStringLiteral("an instrument needs its \"fab\""));
    const uint32_t first = fabValue(object.value("fab"), where, "fab");
    const uint32_t count = object.contains("count")
                               ? unsignedValue(object.value("count"), where, "count", 255) : 1;
    const uint32_t firmware = object.contains("firmware")
                                  ? unsignedValue(object.value("firmware"), where, "firmware")
                                  : defaultFirmware;
    const std::vector<TestDescription> stored = tests(object.value("tests").isUndefined()
                                                          ? QJsonValue(0) : object.value("tests"),
                                                      where);
    for (uint32_t i = 0; i < count; ++i) {
        SimulatedInstrument instrument(first + i);
        StandardParameters::addTo(instrument);
        try {
            instrument.setTests(firmware, stored);
        } catch (const std::invalid_argument &refused) {
            fail(where, QString::fromStdString(refused.what()));
        }
        for (const QJsonObject &entry : objectList(object, "parameters", where)) {
            uint16_t number = 0;
            SimulatedParameter added = parameter(entry, where, &number);
            instrument.setParameter(number, std::move(added));
        }
        const QJsonObject memories = objectValue(object, "memory", where);
        for (const QString &key : memories.keys()) {
            bool isNumber = false;
            const int type = key.toInt(&isNumber);
            if (!isNumber || type < 0 || type >= SimulatedInstrument::memoryTypes)
                fail(where, QStringLiteral("memory type \"%1\" is not 0 to 4").arg(key));
            const QString place = QStringLiteral("%1, memory %2").arg(where, key);
            instrument.setMemory(type, memory(objectValue(memories, key, place), place));
        }
        if (object.contains("lastChanged"))
            instrument.markChanged(uint16_t(unsignedValue(object.value("lastChanged"), where,
                                                          "lastChanged", 65535)));
        instrument.faults() = faults(objectValue(object, "faults", where), where);
        line.add(std::move(instrument));
    }
}

} // namespace

bool parseFabNumber(const QString &text, uint32_t *fabNumber)
{
    static const QRegularExpression displayed(
        QStringLiteral("^\\s*(\\d{1,3})\\s+(\\d{1,2})\\s+(\\d{1,5})\\s*$"));
    const QRegularExpressionMatch match = displayed.match(text);
    if (match.hasMatch()) {
        const uint32_t type = match.captured(1).toUInt();
        const uint32_t second = match.captured(2).toUInt();
        const uint32_t serial = match.captured(3).toUInt();
        if (type > 255 || serial > 65535)
            return false;
        *fabNumber = type << 24 | second << 16 | serial;
        return true;
    }
    bool isNumber = false;
    const uint32_t value = text.trimmed().toUInt(&isNumber, 0);
    if (isNumber)
        *fabNumber = value;
    return isNumber;
}

Fixture parse(const QByteArray &json, const QString &origin)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (document.isNull())
        fail(origin, QStringLiteral("not JSON: %1 at offset %2").arg(error.errorString())
                         .arg(error.offset));
    if (!document.isObject())
        fail(origin, QStringLiteral("a fixture is an object { \"instruments\": [ ... ] }"));
    const QJsonObject root = document.object();
    checkKeys(root, {"echo", "instruments"}, origin);
    const QList<QJsonObject> instruments = objectList(root, "instruments", origin);
    if (instruments.isEmpty())
        fail(origin, QStringLiteral("\"instruments\" must list at least one instrument"));
    Fixture fixture;
    fixture.echo = root.contains("echo") ? boolValue(root, "echo", origin) : true;
    for (qsizetype i = 0; i < instruments.size(); ++i)
        addInstruments(fixture.line, instruments.at(i),
                       QStringLiteral("%1: instrument %2").arg(origin).arg(i + 1));
    return fixture;
}

Fixture readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, file.errorString());
    return parse(file.readAll(), path);
}

} // namespace FixtureReader
