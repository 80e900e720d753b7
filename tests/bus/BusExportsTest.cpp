#include "bus/ScriptedLine.h"

#include "BusLibrary.h"
#include "HandleRecord.h"
#include "TermiosTransport.h"
#include "SteadyClock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <functional>

namespace {

constexpr uint32_t fab = 0x3F01002A;

using Call = std::function<int(BusLibrary &)>;

QString errorText(BusLibrary &bus)
{
    char text[256] = {};
    bus.memory.getExtendedErrorInformation(text);
    return QString::fromLatin1(text);
}

std::vector<uint32_t> fabNumbers(int count)
{
    std::vector<uint32_t> numbers;
    for (int i = 0; i < count; ++i)
        numbers.push_back(0x3F010000u + uint32_t(i + 1));
    return numbers;
}

} // namespace

Q_DECLARE_METATYPE(Call)

// The exports' results, error texts and debug log, over a scripted line.
class BusExportsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void badCalls_data();
    void badCalls();
    void startWithInstruments_data();
    void startWithInstruments();
    void duplicateFabNumber();
    void searchRefusesMoreThanFiftyKnown();
    void setParameterWritesNothingUnselected_data();
    void setParameterWritesNothingUnselected();
    void setParameterResults_data();
    void setParameterResults();
    void memoryAnswerOfOtherLength();
    void lastChangedParameter_data();
    void lastChangedParameter();
    void activateRemovesSilentDevice();
    void releaseClosesOnlyOwnPort();
    void debugLog();
    void libraryInformation();

private:
    QTemporaryDir m_runtime;
};

void BusExportsTest::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
}

void BusExportsTest::badCalls_data()
{
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<Call>("call");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text");

    const QString badPort = QStringLiteral(
        "comm port already opened or selected comm port not valid!");
    const QString badRate = QStringLiteral(
        "comm port already opened or selected baud rate not valid!");
    QTest::newRow("port 0") << false << Call([](BusLibrary &b) { return b.link.setCommPort(0); })
                            << 0 << badPort;
    QTest::newRow("port 9") << false << Call([](BusLibrary &b) { return b.link.setCommPort(9); })
                            << 0 << badPort;
    QTest::newRow("port while open")
        << true << Call([](BusLibrary &b) { return b.link.setCommPort(2); }) << 0 << badPort;
    QTest::newRow("9600 baud")
        << false << Call([](BusLibrary &b) { return b.link.setBaudRate(9600); }) << 0 << badRate;
    QTest::newRow("baud while open")
        << true << Call([](BusLibrary &b) { return b.link.setBaudRate(19200); }) << 0 << badRate;
    QTest::newRow("NULL device pointer") << true << Call([](BusLibrary &b) {
        return b.devices.searchForNewDevices(nullptr, 0, 1);
    }) << 252 << QStringLiteral("device pointer points to NULL!");
    QTest::newRow("search, no port open") << false << Call([](BusLibrary &b) {
        uint32_t devices[52] = {};
        return b.devices.searchForNewDevices(devices, 0, 1);
    }) << 255 << QStringLiteral("selected comm port is not available!");
    QTest::newRow("stop, no port open")
        << false << Call([](BusLibrary &b) { return b.devices.stopCommunication(); }) << 0
        << QStringLiteral("comm port not opened!");
    QTest::newRow("start twice") << true << Call([](BusLibrary &b) {
        return b.devices.startCommunication(500);
    }) << 255 << QStringLiteral("comm port already opened! Try to close it.");
    QTest::newRow("memory NULL") << true << Call([](BusLibrary &b) {
        return b.memory.getMemory(fab, 0, 0, nullptr);
    }) << 0 << QStringLiteral("'BusMemoryObject' points to NULL!");
    QTest::newRow("memory length 0") << true << Call([](BusLibrary &b) {
        BusMemoryObject block = {};
        return b.memory.getMemory(fab, 0, 0, &block);
    }) << 0 << QStringLiteral("length of 'BusMemoryObject' is 0!");
    QTest::newRow("memory length 252") << true << Call([](BusLibrary &b) {
        BusMemoryObject block = {};
        block.Length = 252;
        return b.memory.getMemory(fab, 0, 0, &block);
    }) << 0 << QStringLiteral("length of 'BusMemoryObject' is too big!");
    QTest::newRow("memory type 5") << true << Call([](BusLibrary &b) {
        BusMemoryObject block = {};
        block.Length = 10;
        return b.memory.getMemory(fab, 5, 0, &block);
    }) << 0 << QString();
    QTest::newRow("parameter, no record")
        << true << Call([](BusLibrary &b) { return b.parameters.getParameter(fab, 13, nullptr); })
        << 250 << QString();
    QTest::newRow("verify sync, no device")
        << true << Call([](BusLibrary &b) { return b.devices.verifySyncReceive(1); }) << 0
        << QString();
}

void BusExportsTest::badCalls()
{
    QFETCH(bool, portOpen);
    QFETCH(Call, call);
    QFETCH(int, result);
    QFETCH(QString, text);
    ScriptedLine line;
    BusLibrary bus(line, line);
    if (portOpen)
        QCOMPARE(bus.devices.startCommunication(500), uint8_t(0));
    const size_t before = line.written.size();
    QCOMPARE(call(bus), result);
    QCOMPARE(errorText(bus), text);
    QCOMPARE(line.written.size(), before);
    QCOMPARE(bus.link.selectedBaudRate(), 57600u);
    QCOMPARE(bus.link.selectedPort(), uint8_t(1));
}

void BusExportsTest::startWithInstruments_data()
{
    QTest::addColumn<int>("onLine");
    QTest::addColumn<int>("attached");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("fifty") << 50 << 50;
    QTest::newRow("fifty-one") << 51 << 50;
}

void BusExportsTest::startWithInstruments()
{
    QFETCH(int, onLine);
    QFETCH(int, attached);
    ScriptedLine line;
    ScriptedInstruments instruments;
    instruments.waiting = fabNumbers(onLine);
    line.responder = std::ref(instruments);
    BusLibrary bus(line, line);
    QCOMPARE(int(bus.devices.startCommunication(300)), attached);
    uint32_t devices[52] = {};
    QCOMPARE(int(bus.devices.getConnectedDevices(devices)), attached);
    const std::vector<uint32_t> expected = fabNumbers(attached);
    QVERIFY(std::equal(expected.begin(), expected.end(), devices));
    QCOMPARE(int(instruments.attached.size()), attached);
    // Every attached device got the time-out, between lock and unlock.
    QCOMPARE(line.countWritten(Bytes{0xAA}), 3 * attached);
    QCOMPARE(bus.devices.stopCommunication(), uint8_t(1));
    QVERIFY(!line.isOpen());
    QCOMPARE(bus.devices.getConnectedDevices(nullptr), uint8_t(0));
}

void BusExportsTest::duplicateFabNumber()
{
    ScriptedLine line;
    ScriptedInstruments instruments;
    instruments.waiting = {fab, fab}; // a second device with the same number answers again
    line.responder = [&](const Bytes &request) {
        const Bytes answer = instruments(request);
        if (request[0] == 0x80 && instruments.waiting.empty() && instruments.attached.size() == 1
            && line.countWritten(Bytes{0x80}) == 1)
            instruments.waiting.push_back(fab);
        return answer;
    };
    BusLibrary bus(line, line);
    QCOMPARE(bus.devices.startCommunication(300), uint8_t(251));
    QCOMPARE(bus.devices.getConnectedDevices(nullptr), uint8_t(1));
    QVERIFY(!bus.context.log.isSuppressed());
}

void BusExportsTest::searchRefusesMoreThanFiftyKnown()
{
    ScriptedLine line;
    ScriptedInstruments instruments;
    line.responder = std::ref(instruments);
    BusLibrary bus(line, line);
    QCOMPARE(bus.devices.startCommunication(300), uint8_t(0));
    uint32_t devices[60] = {};
    QCOMPARE(bus.devices.searchForNewDevices(devices, 51, 1), uint8_t(252));
    QCOMPARE(errorText(bus),
             QStringLiteral("NrOfDevices = 51 is too big! The bus holds at most 50 devices."));
    QCOMPARE(bus.devices.getConnectedDevices(nullptr), uint8_t(0));

    // Fifty known devices are accepted; none more is attached.
    instruments.waiting = {fab};
    const std::vector<uint32_t> known = fabNumbers(50);
    std::copy(known.begin(), known.end(), devices);
    QCOMPARE(bus.devices.searchForNewDevices(devices, 50, 1), uint8_t(0));
    QCOMPARE(bus.devices.getConnectedDevices(nullptr), uint8_t(50));
    QVERIFY(instruments.attached.empty());
}

void BusExportsTest::setParameterWritesNothingUnselected_data()
{
    QTest::addColumn<int>("failingSub"); // service 3 sub-index whose exchange fails
    QTest::addColumn<bool>("shortType");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("selection refused") << 0 << false << 254
                                       << QStringLiteral("set service 'parameter number' fails "
                                                         "(Pos=1)!");
    QTest::newRow("type read fails") << 2 << false << 253
                                     << QStringLiteral("get service 'parameter type' fails "
                                                       "(Pos=2)!");
    QTest::newRow("type answer short") << -1 << true << 253
                                       << QStringLiteral("get service 'parameter type' fails "
                                                         "(Pos=3)!");
}

void BusExportsTest::setParameterWritesNothingUnselected()
{
    QFETCH(int, failingSub);
    QFETCH(bool, shortType);
    QFETCH(int, result);
    QFETCH(QString, text);
    ScriptedLine line;
    line.responder = [&](const Bytes &request) {
        if (request[6] == failingSub)
            return serviceAnswer(fab, 0x40, {});
        if (request[5] == 3 && request[6] == 2)
            return serviceAnswer(fab, 0, shortType ? Bytes{2} : Bytes{2, 0});
        return serviceAnswer(fab, 0, {});
    };
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    BusDataObject record = {};
    record.ParamNr = 13;
    record.DataType = 2;
    record.Length = 2;
    QCOMPARE(int(bus.parameters.setParameter(fab, &record)), result);
    QCOMPARE(errorText(bus), text);
    QCOMPARE(line.countWritten(Bytes{0xAA} + fabBytes(fab) + Bytes{3 + 0x40, 1}), 0);
}

void BusExportsTest::setParameterResults_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<int>("valueStatus");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("written") << 2 << 0 << 2 << 1 << QString();
    QTest::newRow("other type") << 4 << 0 << 2 << 251
                                << QStringLiteral("data type in 'BusDataObject' not identically "
                                                  "with device data type!");
    QTest::newRow("value refused") << 2 << 0x40 << 2 << 249
                                   << QStringLiteral("set service 'parameter value' fails! "
                                                     "ReturnCode = 0x01.");
    QTest::newRow("value of 252 bytes") << 2 << 0 << 252 << 254
                                        << QStringLiteral("set service 'parameter value' fails! "
                                                          "ReturnCode = 0x10.");
}

void BusExportsTest::setParameterResults()
{
    QFETCH(int, deviceType);
    QFETCH(int, valueStatus);
    QFETCH(int, length);
    QFETCH(int, result);
    QFETCH(QString, text);
    ScriptedLine line;
    line.responder = [&](const Bytes &request) {
        if (request[5] == 3 && request[6] == 2)
            return serviceAnswer(fab, 0, {uint8_t(deviceType), 0});
        if (request[5] == 3 + 0x40 && request[6] == 1)
            return serviceAnswer(fab, uint8_t(valueStatus), {});
        return serviceAnswer(fab, 0, {});
    };
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    BusDataObject record = {};
    record.ParamNr = 13;
    record.DataType = 2;
    record.Length = uint8_t(length);
    QCOMPARE(int(bus.parameters.setParameter(fab, &record)), result);
    if (!text.isEmpty())
        QCOMPARE(errorText(bus), text);
}

void BusExportsTest::memoryAnswerOfOtherLength()
{
    ScriptedLine line;
    Bytes block(100, 0x5A);
    line.responder = [&](const Bytes &request) {
        return serviceAnswer(fab, 0, request[5] == 34 ? block : Bytes{});
    };
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    BusMemoryObject memory = {};
    memory.Length = 120;
    QCOMPARE(bus.memory.getMemory(fab, 2, 0x400, &memory), uint8_t(0));
    QCOMPARE(errorText(bus),
             QStringLiteral("invalid size (100 Bytes instead of 120 Bytes) of 'memory data'!"));
    QCOMPARE(memory.Data[0], uint8_t(0));

    memory.Length = 100;
    QCOMPARE(bus.memory.getMemory(fab, 2, 0x400, &memory), uint8_t(1));
    QCOMPARE(memory.Length, uint8_t(100));
    QCOMPARE(memory.Data[99], uint8_t(0x5A));
}

void BusExportsTest::lastChangedParameter_data()
{
    QTest::addColumn<Bytes>("word");
    QTest::addColumn<int>("result");
    QTest::newRow("600 capped at 511") << Bytes{0x58, 0x02, 0x01, 0x03} << 511;
    QTest::newRow("byte 2 zero") << Bytes{0x58, 0x02, 0x00, 0x03} << -8;
    QTest::newRow("not a parameter") << Bytes{0x58, 0x02, 0x01, 0x02} << -4;
    QTest::newRow("nothing changed") << Bytes{0xFF, 0xFF, 0xFF, 0xFF} << -1;
    QTest::newRow("3 bytes") << Bytes{0x58, 0x02, 0x01} << -3;
}

void BusExportsTest::lastChangedParameter()
{
    QFETCH(Bytes, word);
    QFETCH(int, result);
    ScriptedLine line;
    ScriptedInstruments instruments;
    instruments.reads[{15, 0}] = word;
    instruments.reads[{3, 2}] = {2, 0};
    line.responder = std::ref(instruments);
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    BusDataObject record = {};
    QCOMPARE(int(bus.parameters.getLastChangedParameter(fab, &record)), result);
    if (result > 0) {
        QCOMPARE(int(record.ParamNr), result);
        QCOMPARE(line.written.back(), framed(Bytes{0xAA} + fabBytes(fab)
                                              + Bytes{15 + 0x40, 0, 4, 0xFF, 0xFF, 0xFF, 0xFF}));
    }
}

void BusExportsTest::activateRemovesSilentDevice()
{
    ScriptedLine line;
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    QCOMPARE(bus.devices.activateCommand(fab), uint8_t(0));
    QCOMPARE(errorText(bus), QStringLiteral("Device: %1 removed!").arg(fab));
    QCOMPARE(line.countWritten(Bytes{0x80}), 2);
}

// Over a real pseudo-terminal: the recorded number is closed only when it is our open port.
void BusExportsTest::releaseClosesOnlyOwnPort()
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    QCOMPARE(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::close(slave);
    qputenv("VLM_BUS_COM1", name);
    TermiosTransport transport;
    SteadyClock clock;
    BusLibrary bus(transport, clock);

    // A number recorded by another process, now in use here for something else.
    int pipeEnds[2];
    QCOMPARE(pipe(pipeEnds), 0);
    HandleRecord::write(uint32_t(pipeEnds[0]));
    QCOMPARE(bus.devices.enforceInterfaceRelease(), uint8_t(1));
    QVERIFY(fcntl(pipeEnds[0], F_GETFD) != -1);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);

    QCOMPARE(bus.devices.startCommunication(100), uint8_t(0));
    QCOMPARE(HandleRecord::read(), uint32_t(transport.handleNumber()));
    QCOMPARE(bus.devices.enforceInterfaceRelease(), uint8_t(1));
    QVERIFY(!transport.isOpen());
    QCOMPARE(bus.devices.enforceInterfaceRelease(), uint8_t(1)); // the same record again
    // The port opens again.
    QVERIFY2(bus.devices.startCommunication(100) == 0, qPrintable(errorText(bus)));
    QCOMPARE(bus.devices.stopCommunication(), uint8_t(1));
    QCOMPARE(bus.devices.enforceInterfaceRelease(), uint8_t(0));
    QCOMPARE(errorText(bus), QStringLiteral("comm port handle lost!"));
    ::close(master);
    qunsetenv("VLM_BUS_COM1");
}

void BusExportsTest::debugLog()
{
    QTemporaryDir folder;
    {
        // A log that cannot be created stays off.
        qputenv("VLM_BUS_DEBUG_LOG", QFile::encodeName(folder.filePath(QStringLiteral("no/log"))));
        ScriptedLine line;
        BusLibrary bus(line, line);
        QCOMPARE(bus.link.setDebugMode(0xFF), uint8_t(0));
        QVERIFY(!bus.context.log.isOn());
    }
    const QString file = folder.filePath(QStringLiteral("DEBUG_DLL.TXT"));
    qputenv("VLM_BUS_DEBUG_LOG", QFile::encodeName(file));
    ScriptedLine line;
    ScriptedInstruments instruments;
    instruments.waiting = {fab};
    line.responder = std::ref(instruments);
    {
        BusLibrary bus(line, line);
        QCOMPARE(bus.link.setDebugMode(1), uint8_t(0));
        QCOMPARE(errorText(bus), QStringLiteral("GlobalFileHandle: 0; DebugFlag: 0; Switch: 1"));
        QCOMPARE(bus.link.setDebugMode(0xFF), uint8_t(1));
        QCOMPARE(bus.link.setDebugMode(0xFF), uint8_t(1));
        QVERIFY(errorText(bus).endsWith(QStringLiteral("; DebugFlag: 1; Switch: 255")));
        QCOMPARE(bus.devices.startCommunication(300), uint8_t(1));
        QCOMPARE(bus.devices.getTimeOutTime(fab), uint16_t(0));
        QCOMPARE(bus.link.echoMode(0), uint8_t(0));
        QCOMPARE(bus.link.setDebugMode(0), uint8_t(0));
    }
    qunsetenv("VLM_BUS_DEBUG_LOG");
    QFile log(file);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(log.readAll());
    QVERIFY(text.startsWith(QStringLiteral("Debug print from 'VLM_BUS.DLL'\n")));
    QCOMPARE(text.count(QStringLiteral("\nFunction: StartCommunication - Parameter: "
                                       "GlobalTimeOutTime = 300 ms\n")),
             1);
    // Lock and time-out inside the start write no entry lines of their own.
    QVERIFY(!text.contains(QStringLiteral("Function: SetLockService")));
    QVERIFY(!text.contains(QStringLiteral("Function: SetTimeOutTime")));
    QVERIFY(text.contains(QStringLiteral("\nFunction: GetTimeOutTime - Parameter: FABNr = %1\n")
                              .arg(fab)));
    QVERIFY(text.contains(QStringLiteral("Time-Stamp: ")));
    QVERIFY(text.contains(QStringLiteral("ms - Error Code: 0x00; Send = 2; Received = 6; ")));
}

void BusExportsTest::libraryInformation()
{
    ScriptedLine line;
    BusLibrary bus(line, line);
    char name[256] = {};
    QCOMPARE(bus.memory.getComponentName(name), 18);
    QCOMPARE(QString::fromLatin1(name), QStringLiteral("VELMORA Bus-System"));
    QCOMPARE(MemoryServices::versionNumber, uint16_t(104));
    QCOMPARE(bus.memory.serviceMemoryTable(nullptr), uint8_t(1));
    QCOMPARE(bus.link.getAvailableCommPorts(), uint8_t(0xFF));
    std::tm utc = {};
    utc.tm_year = 2024 - 1900;
    utc.tm_mon = 2;
    utc.tm_mday = 15;
    utc.tm_hour = 10;
    utc.tm_min = 30;
    utc.tm_sec = 5;
    const uint64_t expected = ((((366ull * 2024 + 31 * 3 + 15) * 24 + 10) * 60 + 30 + 19661824)
                                   * 60
                               + 5)
                              % (1ull << 32);
    QCOMPARE(uint64_t(DeviceAdministration::syncIdentifier(utc)), expected);
}

QTEST_GUILESS_MAIN(BusExportsTest)
#include "BusExportsTest.moc"
