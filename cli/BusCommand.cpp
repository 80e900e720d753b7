#include "cli/BusCommand.h"

#include "bus/client/VlmBusLibrary.h"
#include "cli/Command.h"
#include "sync/BusInstrumentMemory.h"
#include "sync/BusInstrumentParameters.h"
#include "sync/FabNumber.h"
#include "sync/MemoryDecoder.h"
#include "sync/TestBuilder.h"
#include "data/ErrorReport.h"
#include "sync/ParameterRecord.h"
#include "sync/ParameterValues.h"

#include <QCommandLineParser>
#include <QFile>


namespace {

constexpr uint16_t firmwareParameter = 13;
constexpr uint16_t infoBlockParameter = 71;
constexpr int maxBlock = 251;

const QString usage = QStringLiteral(
    "Usage: lumetra4 bus scan [--port N]\n"
    "       lumetra4 bus param FAB NR [VALUE] [--port N]\n"
    "       lumetra4 bus dump FAB --type T --address A --length L [--port N]\n"
    "       lumetra4 bus decode FAB [--port N]\n"
    "Talks to the instruments on serial port N (1-8, default 1; the device path comes from\n"
    "VLM_BUS_COMn, the bus library's vlm_bus.ini or /dev/ttyS<N-1>).\n"
    "  scan   lists the attached instruments: FAB number, firmware, parameter count\n"
    "  param  prints parameter NR of instrument FAB, or writes VALUE to it first\n"
    "  dump   prints L bytes of memory type T (0-4) from address A in hex\n"
    "  decode reads and decodes the stored tests of instrument FAB: each memory block's\n"
    "         validity and the test it yields; nothing is stored\n"
    "FAB is the number as shown (\"063 01 00042\", quoted) or as a plain number.\n"
    "Options:\n"
    "  --port N        serial port number (default 1)\n"
    "  --timeout MS    device time-out for the run (default 500)\n"
    "  --log FILE      write the bus library's communication log to FILE\n"
    "  --help          this text");

// A failure the user can act on: the message goes to stderr, exit code 1.
struct BusFailure
{
    QString message;
};

QString hexBytes(const uint8_t *bytes, int count)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(bytes), count).toHex(' '));
}

// One run on the line: port selected, debug log switched on when asked, communication started;
// the destructor stops it and closes the log, whatever happened in between.
class BusRun
{
public:
    BusRun(uint8_t port, uint16_t timeOut, const QString &logFile)
        : m_bus(VlmBusLibrary::instance()), m_call(m_bus.functions())
    {
        if (!logFile.isEmpty()) {
            qputenv("VLM_BUS_DEBUG_LOG", QFile::encodeName(logFile));
            if (m_call.SetDebugMode(0xFF) != 1)
                throw BusFailure{QStringLiteral("cannot write the log file %1").arg(logFile)};
        }
        if (!m_call.SetCommPort(port))
            throw BusFailure{m_bus.errorText()};
        m_count = m_call.StartCommunication(timeOut);
        if (m_count == VLM_BUS_PORT_FAILED)
            throw BusFailure{m_bus.errorText()};
        m_started = true;
        if (m_count > VLM_BUS_MAX_DEVICES) {
            std::fprintf(stderr, "lumetra4 bus: discovery stopped early (code %d): %s\n",
                         m_count, m_bus.errorText().toUtf8().constData());
        }
    }

    ~BusRun()
    {
        if (m_started && !m_call.StopCommunication())
            std::fprintf(stderr, "lumetra4 bus: %s\n", m_bus.errorText().toUtf8().constData());
        m_call.SetDebugMode(0);
    }

    const VlmBusFunctions &call() const { return m_call; }
    QString errorText() const { return m_bus.errorText(); }

    std::vector<uint32_t> devices() const
    {
        std::vector<uint32_t> list(VLM_BUS_MAX_DEVICES + 2);
        list.resize(m_call.GetConnectedDevices(list.data()));
        return list;
    }

private:
    VlmBusLibrary &m_bus;
    const VlmBusFunctions &m_call;
    uint8_t m_count = 0;
    bool m_started = false;
};

QString valueText(const BusDataObject &data)
{
    const ParameterRecord record = toParameterRecord(data);
    try {
        return ParameterValueText(record);
    } catch (const RuntimeErrorException &) {
        return QString(); // without VLM_MEM the bytes alone are shown
    }
}

// The value as text, or its bytes in hex when the conversion library is missing.
QString shownValue(const BusDataObject &data)
{
    const QString text = valueText(data);
    return text.isEmpty() ? QStringLiteral("bytes ") + hexBytes(data.Value, data.Length) : text;
}

BusDataObject readParameter(BusRun &run, uint32_t fab, uint16_t number)
{
    BusDataObject data = {};
    if (run.call().GetParameter(fab, number, &data) != 1)
        throw BusFailure{QStringLiteral("parameter %1 of %2: %3")
                             .arg(number).arg(FabNumber::displayText(fab), run.errorText())};
    return data;
}

int scan(BusRun &run)
{
    const std::vector<uint32_t> devices = run.devices();
    printLine(QStringLiteral("%1 instrument(s) attached").arg(devices.size()));
    for (uint32_t fab : devices) {
        BusDataObject firmware = {};
        const bool haveFirmware = run.call().GetParameter(fab, firmwareParameter, &firmware) == 1;
        const int16_t count = run.call().GetNrOfParameter(fab, 0);
        printLine(QStringLiteral("%1  firmware %2  parameters %3")
                      .arg(FabNumber::displayText(fab), haveFirmware ? shownValue(firmware) : QStringLiteral("?"),
                           count >= 0 ? QString::number(count) : QStringLiteral("?")));
    }
    return 0;
}

int param(BusRun &run, uint32_t fab, uint16_t number, const QStringList &value)
{
    BusDataObject data = readParameter(run, fab, number);
    if (!value.isEmpty()) {
        bool exact = false;
        const ParameterRecord record = TextToParameterValue(toParameterRecord(data), value.first(),
                                                            &exact);
        if (!exact)
            throw BusFailure{QStringLiteral("'%1' is no value of type %2")
                                 .arg(value.first()).arg(data.DataType)};
        data = toBusDataObject(record);
        if (run.call().SetParameter(fab, &data) != 1)
            throw BusFailure{run.errorText()};
        data = readParameter(run, fab, number);
    }
    printLine(QStringLiteral("parameter %1 of %2: type %3, %4 byte(s): %5")
                  .arg(number).arg(FabNumber::displayText(fab)).arg(data.DataType).arg(data.Length)
                  .arg(hexBytes(data.Value, data.Length)));
    const QString text = valueText(data);
    if (!text.isEmpty())
        printLine(QStringLiteral("value: %1").arg(text));
    return 0;
}

int dump(BusRun &run, uint32_t fab, uint8_t type, uint32_t address, uint32_t length)
{
    QByteArray bytes;
    while (uint32_t(bytes.size()) < length) {
        BusMemoryObject block = {};
        block.Length = uint8_t(std::min<uint32_t>(maxBlock, length - uint32_t(bytes.size())));
        const uint32_t at = address + uint32_t(bytes.size());
        if (run.call().GetMemory(fab, type, at, &block) != 1)
            throw BusFailure{QStringLiteral("memory type %1 at 0x%2: %3")
                                 .arg(type).arg(at, 8, 16, QLatin1Char('0'))
                                 .arg(run.errorText())};
        bytes.append(reinterpret_cast<const char *>(block.Data), block.Length);
    }
    for (qsizetype offset = 0; offset < bytes.size(); offset += 16)
        printLine(QStringLiteral("%1  %2")
                      .arg(address + uint32_t(offset), 8, 16, QLatin1Char('0'))
                      .arg(QString::fromLatin1(bytes.mid(offset, 16).toHex(' '))));
    return 0;
}

// Reads and decodes one instrument's stored tests as a synchronisation would, storing nothing.
int decode(BusRun &run, uint32_t fab)
{
    const VlmBusFunctions &call = run.call();
    BusInstrumentParameters parameters(call);
    ParameterRecord firmware;
    ParameterRecord infoBlock;
    if (call.ActivateCommand(fab) != 1 || !parameters.getParameter(fab, firmwareParameter, firmware)
        || !parameters.getParameter(fab, infoBlockParameter, infoBlock))
        throw BusFailure{run.errorText()};
    BusInstrumentMemory memory(call, fab);
    MemoryDecoder decoder(memory);
    if (!decoder.ReadAll(ParameterValueText(firmware).toUInt(),
                         ParameterValueText(infoBlock).toUInt()))
        throw BusFailure{decoder.lastError()};
    const DecodedInstrument &instrument = decoder.instrument();
    printLine(QStringLiteral("FAB %1, firmware %2, %3 blocks%4")
                  .arg(FabNumber::displayText(fab))
                  .arg(instrument.firmwareNumber)
                  .arg(instrument.blocks.size())
                  .arg(instrument.layoutFault ? QStringLiteral(", tables broken")
                                              : QString()));
    for (int k = 0; k < instrument.blocks.size(); ++k) {
        const DecodedBlock &block = instrument.blocks[k];
        printLine(QStringLiteral("  block %1 at %2: %3")
                      .arg(k + 1)
                      .arg(block.address)
                      .arg(block.blockValid ? QStringLiteral("valid")
                                            : QStringLiteral("invalid")));
    }
    QList<TestRecord> records;
    const BuildOutcome built = BuildTests(instrument, FabNumber::displayText(fab), records);
    for (const TestRecord &test : records) {
        printLine(QStringLiteral("  test %1  kind %2  %3 -> %4 mbar  flow %5  finding %6  "
                                 "customer %7  meter %8")
                      .arg(test.date.toString(Qt::ISODate))
                      .arg(test.testKind)
                      .arg(test.startPressure)
                      .arg(test.endPressure)
                      .arg(test.flow)
                      .arg(test.finding)
                      .arg(test.customerNumber, test.meterNumber));
    }
    printLine(QStringLiteral("%1 tests, %2 blocks without a test")
                  .arg(built.testsBuilt)
                  .arg(built.blocksWithoutTest));
    return 0;
}

} // namespace

int runBusCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QString none;
    const QCommandLineOption portOption(QStringLiteral("port"), none, QStringLiteral("N"),
                                        QStringLiteral("1"));
    const QCommandLineOption timeOutOption(QStringLiteral("timeout"), none, QStringLiteral("MS"),
                                           QStringLiteral("500"));
    const QCommandLineOption logOption(QStringLiteral("log"), none, QStringLiteral("FILE"));
    const QCommandLineOption typeOption(QStringLiteral("type"), none, QStringLiteral("T"));
    const QCommandLineOption addressOption(QStringLiteral("address"), none, QStringLiteral("A"));
    const QCommandLineOption lengthOption(QStringLiteral("length"), none, QStringLiteral("L"));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    parser.addOptions({portOption, timeOutOption, logOption, typeOption, addressOption,
                       lengthOption, helpOption});
    if (!parser.parse(QStringList{QStringLiteral("bus")} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        printLine(usage);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        printLine(usage);
        return 2;
    }
    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port < 1 || port > 8)
        return usageError(QStringLiteral("--port must be 1 to 8"));
    const uint timeOutMs = parser.value(timeOutOption).toUInt(&ok);
    if (!ok || timeOutMs > 65535)
        return usageError(QStringLiteral("--timeout must be 0 to 65535 ms"));

    const QString action = positional.first();
    uint32_t fab = 0;
    if (action != QLatin1String("scan")
        && (positional.size() < 2 || !FabNumber::parse(positional.at(1), &fab)))
        return usageError(QStringLiteral("bus %1 needs an instrument's FAB number").arg(action));
    try {
        if (action == QLatin1String("scan") && positional.size() == 1) {
            BusRun run(uint8_t(port), uint16_t(timeOutMs), parser.value(logOption));
            return scan(run);
        }
        const bool withValue = positional.size() == 4;
        if (action == QLatin1String("param") && (positional.size() == 3 || withValue)) {
            const uint number = positional.at(2).toUInt(&ok, 0);
            if (!ok || number > 65535)
                return usageError(QStringLiteral("NR must be a parameter number"));
            BusRun run(uint8_t(port), uint16_t(timeOutMs), parser.value(logOption));
            return param(run, fab, uint16_t(number), positional.mid(3));
        }
        if (action == QLatin1String("decode") && positional.size() == 2) {
            BusRun run(uint8_t(port), uint16_t(timeOutMs), parser.value(logOption));
            return decode(run, fab);
        }
        if (action == QLatin1String("dump") && positional.size() == 2) {
            const uint memoryType = parser.value(typeOption).toUInt(&ok, 0);
            if (!ok || memoryType > 4)
                return usageError(QStringLiteral("--type must be a memory type 0 to 4"));
            const uint32_t start = parser.value(addressOption).toUInt(&ok, 0);
            if (!ok)
                return usageError(QStringLiteral("--address must be a number"));
            const uint32_t count = parser.value(lengthOption).toUInt(&ok, 0);
            if (!ok || count == 0)
                return usageError(QStringLiteral("--length must be a positive number"));
            BusRun run(uint8_t(port), uint16_t(timeOutMs), parser.value(logOption));
            return dump(run, fab, uint8_t(memoryType), start, count);
        }
    } catch (const BusFailure &failure) {
        std::fprintf(stderr, "lumetra4 bus: %s\n", failure.message.toUtf8().constData());
        return 1;
    } catch (const RuntimeErrorException &exception) {
        ErrorReport::ShowError(exception.error());
        return 1;
    }
    return usageError(QStringLiteral("unknown use of bus; see lumetra4 bus --help"));
}
