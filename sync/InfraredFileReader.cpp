#include "InfraredFileReader.h"

#include "sync/CurveText.h"
#include "sync/NumberText.h"
#include "data/CodePage.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

using Kind = InfraredFileProblem::Kind;

enum class Key {
    Ignored,
    InstrumentNumber,
    Firmware,
    Measurement,
    CustomerNumber,
    MeterNumber,
    Mode,
    Start,
    Gas,
    LeakRateAsFlow,
    Pressure,
    StartValue,
    EndValue,
    MeasuringTime,
    Volume,
    LeakRate,
    ReferencePressure,
    Finding,
    FlowPressure,
    StaticPressure,
    SafetyValvePressure,
    ZeroShutOff,
    LowFlowSafety,
    SampleCount,
    Interval,
    ValuesPerLine,
    Unit,
    End,
};

// Keys are compared exactly, case and blanks included ("GM-Sicherung :" has a blank).
const QHash<QString, Key> &keys()
{
    static const QHash<QString, Key> table = {
        {QStringLiteral("GERAET:"), Key::Ignored},
        {QStringLiteral("SNR:"), Key::InstrumentNumber},
        {QStringLiteral("FIRMWARE:"), Key::Firmware},
        {QStringLiteral("MESSUNG:"), Key::Measurement},
        {QStringLiteral("KNR:"), Key::CustomerNumber},
        {QStringLiteral("ZNR:"), Key::MeterNumber},
        {QStringLiteral("MODUS:"), Key::Mode},
        {QStringLiteral("START:"), Key::Start},
        {QStringLiteral("GAS:"), Key::Gas},
        {QStringLiteral("LECKRATE:"), Key::LeakRateAsFlow},
        {QStringLiteral("DRUCK:"), Key::Pressure},
        {QStringLiteral("MESSWERTSTART:"), Key::StartValue},
        {QStringLiteral("MESSWERTENDE:"), Key::EndValue},
        {QStringLiteral("MESSDAUER:"), Key::MeasuringTime},
        {QStringLiteral("VOLUMEN:"), Key::Volume},
        {QStringLiteral("VP952LECKRATE:"), Key::LeakRate},
        {QStringLiteral("REFDRUCK:"), Key::ReferencePressure},
        {QStringLiteral("ANLAGE:"), Key::Finding},
        {QStringLiteral("Fliessdruck:"), Key::FlowPressure},
        {QStringLiteral("Ruhedruck:"), Key::StaticPressure},
        {QStringLiteral("SAV-Pruef:"), Key::SafetyValvePressure},
        {QStringLiteral("Nullabschluss:"), Key::ZeroShutOff},
        {QStringLiteral("GM-Sicherung :"), Key::LowFlowSafety},
        {QStringLiteral("MESSWERTE:"), Key::SampleCount},
        {QStringLiteral("MESSINTERVALL:"), Key::Interval},
        {QStringLiteral("MESSWERTEPROINTERVALL:"), Key::ValuesPerLine},
        {QStringLiteral("UNIT:"), Key::Unit},
        {QStringLiteral("END:"), Key::End},
    };
    return table;
}

std::optional<uint8_t> testKindOf(const QString &value)
{
    static const QHash<QString, uint8_t> kinds = {
        {QStringLiteral("Gebrauchsfaehigkeitspruefung"), 0},
        {QStringLiteral("Belastungspruefung"), 1},
        {QStringLiteral("Dichtheitspruefung"), 2},
        {QStringLiteral("Reglerpruefung"), 3},
    };
    const auto kind = kinds.constFind(value);
    return kind == kinds.cend() ? std::nullopt : std::optional<uint8_t>(*kind);
}

std::optional<uint8_t> findingOf(const QString &value)
{
    static const QHash<QString, uint8_t> findings = {
        {QStringLiteral("OK"), 0},
        {QStringLiteral("BEDINGT OK"), 1},
        {QStringLiteral("bOK"), 1},
        {QStringLiteral("NICHT OK"), 2},
        {QStringLiteral("nOK"), 2},
        {QStringLiteral("MESSABBRUCH"), 3},
        {QStringLiteral("MESSWERTE NICHT STABIL"), 4},
    };
    const auto finding = findings.constFind(value);
    return finding == findings.cend() ? std::nullopt : std::optional<uint8_t>(*finding);
}

std::optional<uint8_t> safetyFindingOf(const QString &value)
{
    if (value == QLatin1String("OK"))
        return 0;
    if (value == QLatin1String("NICHT OK") || value == QLatin1String("nOK"))
        return 2;
    if (value == QLatin1String("---"))
        return 3;
    return std::nullopt;
}

// The number at the start of text: blanks skipped, an optional sign, digits with at most one
// decimal point and an optional exponent; reading stops at the first character that cannot
// continue the number, and text without a number reads as 0. Empty when the number is beyond
// the range of a double.
std::optional<double> leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    QByteArray number;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    bool point = false;
    bool digits = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        number += char(c.unicode());
    }
    if (!digits)
        return 0.0;
    if (i + 1 < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (text[j] == u'-' || text[j] == u'+')
            exponent += char(text[j++].unicode());
        const qsizetype firstDigit = j;
        while (j < text.size() && text[j] >= u'0' && text[j] <= u'9')
            exponent += char(text[j++].unicode());
        if (j > firstDigit)
            number += exponent;
    }
    double value = 0;
    const auto result = std::from_chars(number.constData(), number.constData() + number.size(),
                                        value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value == 0 ? 0.0 : value;
}

// A problem found while reading; read() turns it into the result.
struct Refusal
{
    InfraredFileProblem problem;
};

class FileParse
{
public:
    FileParse(const QStringList &lines, InfraredFileReader::CarryOver &carry,
              const QLocale &locale)
        : m_lines(lines), m_carry(carry), m_locale(locale)
    {}

    TestRecord run()
    {
        for (m_index = 0; m_index < m_lines.size(); ++m_index) {
            const QString &line = m_lines[m_index];
            const qsizetype colon = line.indexOf(u':');
            if (colon < 0)
                continue;
            const auto key = keys().constFind(line.left(colon + 1));
            if (key == keys().cend())
                continue;
            if (*key == Key::End)
                break;
            apply(*key, line.mid(colon + 1).trimmed());
        }
        finish();
        return m_test;
    }

private:
    [[noreturn]] void refuseValue(qsizetype index) const
    {
        throw Refusal{{Kind::InvalidValue, int(index + 1), m_lines[index]}};
    }
    [[noreturn]] void refuseValue() const { refuseValue(m_index); }
    [[noreturn]] static void refuseFile() { throw Refusal{{Kind::Incomplete, 0, {}}}; }

    double number(QStringView text) const
    {
        const auto value = leadingNumber(text);
        if (!value)
            refuseValue();
        return *value;
    }

    // The value up to and including its first blank, read as a number; 0 without a blank.
    double numberBeforeBlank(const QString &value) const
    {
        const qsizetype blank = value.indexOf(u' ');
        return blank < 0 ? 0.0 : number(QStringView(value).left(blank + 1));
    }

    float single(double value) const
    {
        if (std::fabs(value) > std::numeric_limits<float>::max())
            refuseValue();
        return float(value);
    }

    float singleBeforeBlank(const QString &value) const
    {
        return single(numberBeforeBlank(value));
    }

    QString singleText(const QString &value) const
    {
        return NumberText::fromSingle(singleBeforeBlank(value), m_locale);
    }

    // A count or a time rounded to a whole number, halves to even, of 0 to 32767.
    int wholeCount(double value) const
    {
        const double rounded = std::nearbyint(value);
        if (!(rounded >= 0 && rounded <= std::numeric_limits<int16_t>::max()))
            refuseValue();
        return int(rounded);
    }

    void apply(Key key, const QString &value)
    {
        switch (key) {
        case Key::Ignored:
        case Key::End:
            break;
        case Key::InstrumentNumber:
            m_test.instrumentNumber = value;
            break;
        case Key::Firmware:
            m_carry.firmwareText = value;
            break;
        case Key::Measurement:
            m_test.measurementText = u'M' + value;
            break;
        case Key::CustomerNumber:
            m_test.customerNumber = value;
            m_customerLine = m_index;
            break;
        case Key::MeterNumber:
            m_test.meterNumber = value.isEmpty() ? QStringLiteral("0") : value;
            break;
        case Key::Mode:
            m_test.testKind = testKindOf(value).value_or(m_test.testKind);
            break;
        case Key::Start:
            m_test.date = startDate(value);
            break;
        case Key::Gas:
            m_test.gasType = value;
            break;
        case Key::LeakRateAsFlow:
            m_test.flow = singleBeforeBlank(value);
            break;
        case Key::Pressure:
            m_test.endPressure = singleBeforeBlank(value);
            break;
        case Key::StartValue:
            m_test.startPressure = single(loadTestScaled(numberBeforeBlank(value)));
            break;
        case Key::EndValue:
            m_test.endPressure = single(loadTestScaled(numberBeforeBlank(value)));
            break;
        case Key::MeasuringTime:
            m_test.measuringTime = singleText(value);
            break;
        case Key::Volume:
            m_test.pipeVolume = value;
            break;
        case Key::LeakRate:
            m_test.leakRate = singleText(value);
            break;
        case Key::ReferencePressure:
            m_test.referencePressure = singleText(value);
            break;
        case Key::Finding:
            m_test.finding = findingOf(value).value_or(m_test.finding);
            break;
        case Key::FlowPressure:
            m_test.flowPressure = singleBeforeBlank(value);
            break;
        case Key::StaticPressure:
            m_test.staticPressure = singleBeforeBlank(value);
            break;
        case Key::SafetyValvePressure:
            m_test.safetyValvePressure = singleBeforeBlank(value);
            break;
        case Key::ZeroShutOff:
            m_test.zeroShutOffFinding = safetyFindingOf(value).value_or(
                m_test.zeroShutOffFinding);
            break;
        case Key::LowFlowSafety:
            m_test.lowFlowSafetyFinding = safetyFindingOf(value).value_or(
                m_test.lowFlowSafetyFinding);
            break;
        case Key::SampleCount:
            m_carry.sampleCount = wholeCount(number(value));
            m_durationLine = m_index;
            break;
        case Key::Interval:
            m_carry.intervalSeconds = wholeCount(numberBeforeBlank(value) / 1000.0);
            m_durationLine = m_index;
            break;
        case Key::ValuesPerLine:
            m_carry.valuesPerLine = wholeCount(number(value));
            break;
        case Key::Unit:
            if (m_carry.sampleCount >= 1)
                readSamples();
            break;
        }
    }

    // Start and end pressure of a load test are written in bar.
    double loadTestScaled(double value) const
    {
        return m_test.testKind == 1 ? value * 1000 : value;
    }

    // "D.M.YY H:M:S", for example "7.3.05 14:5:9"; years 00-29 are 2000-2029, 30-99 1930-1999.
    QDateTime startDate(const QString &value) const
    {
        const qsizetype point1 = value.indexOf(u'.');
        const qsizetype point2 = point1 < 0 ? -1 : value.indexOf(u'.', point1 + 1);
        const qsizetype blank = value.indexOf(u' ');
        const qsizetype colon1 = value.indexOf(u':');
        const qsizetype colon2 = colon1 < 0 ? -1 : value.indexOf(u':', colon1 + 1);
        // A year of other than two digits would be misplaced by the two-digit window.
        if (point2 < 0 || blank != point2 + 3 || colon1 < blank || colon2 < 0)
            refuseValue();
        const QStringView text(value);
        const int day = whole(text.left(point1));
        const int month = whole(text.mid(point1 + 1, point2 - point1 - 1));
        const int year = whole(text.mid(point2 + 1, 2));
        const int hour = whole(text.mid(blank + 1, colon1 - blank - 1));
        const int minute = whole(text.mid(colon1 + 1, colon2 - colon1 - 1));
        const int second = whole(text.mid(colon2 + 1));
        const QDate date(year < 30 ? 2000 + year : 1900 + year, month, day);
        const QTime time(hour, minute, second);
        // An invalid time would silently become midnight.
        if (!date.isValid() || !time.isValid() || !QDateTime(date, time).isValid())
            refuseValue();
        return QDateTime(date, time);
    }

    // Digits only, at most five of them.
    int whole(QStringView text) const
    {
        const QStringView digits = text.trimmed();
        if (digits.isEmpty() || digits.size() > 5)
            refuseValue();
        int value = 0;
        for (const QChar c : digits) {
            if (c < u'0' || c > u'9')
                refuseValue();
            value = value * 10 + (c.unicode() - u'0');
        }
        return value;
    }

    // A sample times 10 (and times 1000 more for a load test's pressure in bar), rounded to a
    // 16-bit whole number, halves to even.
    double sample(QStringView text, bool fromBar = false) const
    {
        const auto value = NumberText::parse(text);
        if (!value)
            refuseValue();
        const double rounded = std::nearbyint(*value * 10 * (fromBar ? 1000 : 1));
        if (!(rounded >= std::numeric_limits<int16_t>::min()
              && rounded <= std::numeric_limits<int16_t>::max()))
            refuseValue();
        return rounded;
    }

    void readSamples()
    {
        const bool twoValues = m_carry.valuesPerLine == 2;
        QList<double> pressures;
        QList<double> flows;
        for (++m_index; m_index < m_lines.size(); ++m_index) {
            const QString &line = m_lines[m_index];
            if (line.startsWith(QLatin1String("END:")))
                break;
            if (line.trimmed().isEmpty())
                continue;
            const qsizetype afterColon = line.indexOf(u':') + 1;
            const QStringView text(line);
            if (twoValues) {
                const qsizetype semicolon = line.indexOf(u';');
                if (semicolon < afterColon)
                    refuseValue();
                pressures.append(sample(text.mid(semicolon + 1)));
                flows.append(sample(text.mid(afterColon, semicolon - afterColon)));
            } else {
                pressures.append(sample(text.mid(afterColon), m_test.testKind == 1));
            }
        }
        if (pressures.size() != m_carry.sampleCount)
            refuseFile(); // cut off, or samples of another test
        m_test.pressureCurve = CurveTextOfTenths(pressures, m_locale);
        if (twoValues)
            m_test.flowCurve = CurveTextOfTenths(flows, m_locale);
    }

    void finish()
    {
        if (!m_test.date.isValid())
            refuseFile(); // no "START:" line: the file holds no test
        const int duration = m_carry.sampleCount * m_carry.intervalSeconds;
        if (duration > std::numeric_limits<int16_t>::max()) {
            if (m_durationLine < 0)
                refuseFile();
            refuseValue(m_durationLine);
        }
        m_test.duration = int16_t(duration);

        if (!m_test.customerNumber.isEmpty()) {
            const auto customer = NumberText::parse(m_test.customerNumber);
            if (!customer)
                refuseValue(m_customerLine);
            if (*customer == 0)
                m_test.customerNumber.clear();
        }
        if (m_test.customerNumber.isEmpty())
            m_test.customerNumber = m_test.measurementText;

        m_test.measuringTime = m_test.measuringTime.trimmed();
        m_test.leakRate = m_test.leakRate.trimmed();
        m_test.pipeVolume.remove(u'<').remove(u'l');
        m_test.pipeVolume = m_test.pipeVolume.trimmed();
        if (!m_test.pipeVolume.isEmpty()) {
            if (m_test.endPressure > 30) {
                m_test.referencePressure = NumberText::fromSingle(m_test.endPressure, m_locale);
            } else if (m_test.referencePressure.isEmpty()) {
                // Pipe volume tests of firmware before 3.000 assume 22 mbar, later ones 23.
                QString firmware = m_carry.firmwareText;
                firmware.remove(u'V').remove(u'.');
                m_test.referencePressure = firmware < QLatin1String("3000") ? QStringLiteral("22")
                                                                           : QStringLiteral("23");
            }
        }
    }

    const QStringList &m_lines;
    InfraredFileReader::CarryOver &m_carry;
    const QLocale &m_locale;
    TestRecord m_test;
    qsizetype m_index = 0;
    qsizetype m_customerLine = -1;
    qsizetype m_durationLine = -1;
};

// Control characters other than tab, line feed and carriage return mark a file that is not
// text, for example a damaged transfer.
bool isText(const QByteArray &content)
{
    for (const char byte : content) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 && code != '\t' && code != '\n' && code != '\r')
            return false;
    }
    return true;
}

QStringList linesOf(const QByteArray &content)
{
    QStringList lines = CodePage::decode(content, CodePage::Id::Windows1252).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

InfraredFileReader::InfraredFileReader(QLocale locale)
    : m_locale(std::move(locale))
{}

InfraredFileResult InfraredFileReader::read(const QByteArray &content)
{
    InfraredFileResult result;
    if (content.isEmpty() || content.size() > maximumFileSize || !isText(content)) {
        result.problem.kind = Kind::Incomplete;
        return result;
    }
    const QStringList lines = linesOf(content);
    try {
        result.test = FileParse(lines, m_carry, m_locale).run();
    } catch (const Refusal &refusal) {
        result.problem = refusal.problem;
    }
    return result;
}
