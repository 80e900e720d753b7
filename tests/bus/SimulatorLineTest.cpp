#include "bus/client/VlmBusLibrary.h"
#include "simulator/FixtureReader.h"
#include "simulator/PseudoTerminalLine.h"
#include "simulator/StandardParameters.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr uint32_t first = 0x3F01002A;  // "063 01 00042"
constexpr uint32_t second = 0x3F020007; // "063 02 00007"

QString fixture(const char *name)
{
    return QStringLiteral(BUS_FIXTURES "/%1").arg(QLatin1String(name));
}

std::vector<uint8_t> pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t(i * 13 + seed + i / 256);
    return bytes;
}

// Read requests of one service code among the telegrams the line received.
int readRequests(const InstrumentLine &line, uint8_t service)
{
    return int(std::count_if(line.received().begin(), line.received().end(),
                             [&](const Bytes &telegram) {
                                 return telegram[0] == 0xAA && telegram[5] == service;
                             }));
}

} // namespace

// The shared library against the instrument simulator on a real pseudo-terminal: discovery,
// parameters of every type, memory across page boundaries, retries, time-outs, faults and the
// error texts of bad calls.
class SimulatorLineTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void discovery_data();
    void discovery();
    void parameterTypes_data();
    void parameterTypes();
    void setParameterTypeMismatchWritesNothing();
    void memoryAcrossPages_data();
    void memoryAcrossPages();
    void retries_data();
    void retries();
    void silentInstrumentTimesOut();
    void unpluggedInstrumentIsRemoved();
    void badAnswers_data();
    void badAnswers();
    void instrumentJoinsMidRun();
    void deletionEmptiesMemory();
    void badCalls_data();
    void badCalls();
    void lineGoesAway();
    void noiseAndBrokenTelegramsGoUnanswered();

private:
    // Starts the line with the instruments and selects it as port 1.
    void startLine(InstrumentLine instruments, bool echo = true);
    uint8_t start(uint16_t timeOut = 100);
    QString errorText() { return VlmBusLibrary::instance().errorText(); }

    const VlmBusFunctions *m_call = nullptr;
    QTemporaryDir m_runtime;
    std::unique_ptr<PseudoTerminalLine> m_line;
};

void SimulatorLineTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    VlmBusLibrary::instance().reset(QStringLiteral(VLM_BUS_FILE));
    m_call = &VlmBusLibrary::instance().functions();
}

void SimulatorLineTest::cleanup()
{
    m_call->StopCommunication();
    m_call->EchoMode(0);
    m_line.reset();
    qunsetenv("VLM_BUS_COM1");
}

void SimulatorLineTest::startLine(InstrumentLine instruments, bool echo)
{
    m_line = std::make_unique<PseudoTerminalLine>(std::move(instruments),
                                                  PseudoTerminalLine::Options{echo, false, 57600});
    QVERIFY2(m_line->isValid(), m_line->error().c_str());
    m_line->start();
    qputenv("VLM_BUS_COM1", QByteArray::fromStdString(m_line->path()));
    QCOMPARE(m_call->SetCommPort(1), uint8_t(1));
}

uint8_t SimulatorLineTest::start(uint16_t timeOut)
{
    return m_call->StartCommunication(timeOut);
}

void SimulatorLineTest::discovery_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("echo");
    QTest::newRow("one") << fixture("one-instrument.json") << true;
    QTest::newRow("three, one of another type") << fixture("three-instruments.json") << true;
    QTest::newRow("three, line without echo") << fixture("three-instruments.json") << false;
    QTest::newRow("fifty") << fixture("fifty-instruments.json") << true;
}

void SimulatorLineTest::discovery()
{
    QFETCH(QString, file);
    QFETCH(bool, echo);
    FixtureReader::Fixture read = FixtureReader::readFile(file);
    std::vector<uint32_t> expected;
    for (SimulatedInstrument &instrument : read.line.instruments())
        expected.push_back(instrument.fabNumber());
    startLine(std::move(read.line), echo);
    if (!echo)
        QCOMPARE(m_call->EchoMode(0xFF), uint8_t(0xFF));
    QCOMPARE(int(start(300)), int(expected.size()));
    uint32_t devices[52] = {};
    QCOMPARE(int(m_call->GetConnectedDevices(devices)), int(expected.size()));
    QCOMPARE(std::vector<uint32_t>(devices, devices + expected.size()), expected);
    m_line->withLine([&](InstrumentLine &line) {
        for (SimulatedInstrument &instrument : line.instruments()) {
            QCOMPARE(instrument.timeOut(), uint16_t(300));
            QCOMPARE(instrument.lock(), uint8_t(0)); // unlocked again after the attach
        }
    });
    QCOMPARE(m_call->StopCommunication(), uint8_t(1));
    m_line->withLine([](InstrumentLine &line) {
        for (SimulatedInstrument &instrument : line.instruments())
            QVERIFY(!instrument.isAttached()); // bus state 0 written to each
    });
}

void SimulatorLineTest::parameterTypes_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("newValue");
    QTest::addColumn<int>("writeResult");
    QTest::newRow("0 U8") << 2 << 0 << QByteArray("\x07", 1) << 1;
    QTest::newRow("1 S8") << 3 << 1 << QByteArray("\xFE", 1) << 1;
    QTest::newRow("2 U16") << 4 << 2 << QByteArray("\x3C\x00", 2) << 1;
    QTest::newRow("3 S16") << 5 << 3 << QByteArray("\x9C\xFF", 2) << 1;
    QTest::newRow("4 U32") << 6 << 4 << QByteArray("\x01\x02\x03\x04", 4) << 1;
    QTest::newRow("5 S32") << 7 << 5 << QByteArray("\xFF\xFF\xFF\x7F", 4) << 1;
    QTest::newRow("6 Float") << 8 << 6 << QByteArray("\x00\x00\x80\x3F", 4) << 1;
    QTest::newRow("7 String") << 9 << 7 << QByteArray("Lumetra 4 Werkstatt") << 1;
    QTest::newRow("8 byte array, read-only") << 10 << 8 << QByteArray("\x01\x02", 2) << 249;
    QTest::newRow("U16 of wrong length") << 4 << 2 << QByteArray("\x01", 1) << 249;
}

void SimulatorLineTest::parameterTypes()
{
    QFETCH(int, number);
    QFETCH(int, type);
    QFETCH(QByteArray, newValue);
    QFETCH(int, writeResult);
    SimulatedInstrument instrument(first);
    StandardParameters::addTo(instrument);
    const SimulatedParameter before = *instrument.parameter(uint16_t(number));
    InstrumentLine instruments;
    instruments.add(instrument);
    startLine(std::move(instruments));
    QCOMPARE(start(), uint8_t(1));

    BusDataObject record = {};
    QCOMPARE(m_call->GetParameter(first, uint16_t(number), &record), uint8_t(1));
    QCOMPARE(int(record.ParamNr), number);
    QCOMPARE(int(record.DataType), type);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(record.Value), record.Length),
             QByteArray(reinterpret_cast<const char *>(before.value.data()),
                        qsizetype(before.value.size())));
    QCOMPARE(record.Description[0], before.description[0]);

    std::copy(newValue.begin(), newValue.end(), record.Value);
    record.Length = uint8_t(newValue.size());
    QCOMPARE(int(m_call->SetParameter(first, &record)), writeResult);
    BusDataObject reread = {};
    QCOMPARE(m_call->GetParameter(first, uint16_t(number), &reread), uint8_t(1));
    const QByteArray stored(reinterpret_cast<char *>(reread.Value), reread.Length);
    if (writeResult == 1)
        QCOMPARE(stored, newValue);
    else
        QCOMPARE(stored.size(), qsizetype(before.value.size()));
}

void SimulatorLineTest::setParameterTypeMismatchWritesNothing()
{
    SimulatedInstrument instrument(first);
    StandardParameters::addTo(instrument);
    InstrumentLine instruments;
    instruments.add(instrument);
    startLine(std::move(instruments));
    QCOMPARE(start(), uint8_t(1));
    BusDataObject record = {};
    record.ParamNr = 4;
    record.DataType = 3; // the instrument holds it as type 2
    record.Length = 2;
    QCOMPARE(m_call->SetParameter(first, &record), uint8_t(251));
    QCOMPARE(errorText(), QStringLiteral(
        "data type in 'BusDataObject' not identically with device data type!"));
    m_line->withLine([](InstrumentLine &line) {
        const auto valueWrites = std::count_if(
            line.received().begin(), line.received().end(), [](const Bytes &telegram) {
                return telegram[0] == 0xAA && telegram[5] == 3 + 0x40 && telegram[6] == 1;
            });
        QCOMPARE(valueWrites, 0);
    });
}

void SimulatorLineTest::memoryAcrossPages_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<uint>("address");
    QTest::addColumn<int>("length");
    QTest::newRow("type 0, first page") << 0 << 0u << 132;
    QTest::newRow("type 1, across the first page end") << 1 << 131u << 2;
    QTest::newRow("type 2, longest read across two pages") << 2 << 395u << 251;
    QTest::newRow("type 3, one whole page") << 3 << 264u << 132;
    QTest::newRow("type 4, past the memory end") << 4 << 1000u << 251;
}

void SimulatorLineTest::memoryAcrossPages()
{
    QFETCH(int, type);
    QFETCH(uint, address);
    QFETCH(int, length);
    SimulatedInstrument instrument(first);
    for (int memoryType = 0; memoryType < SimulatedInstrument::memoryTypes; ++memoryType)
        instrument.setMemory(memoryType, pattern(1024, uint8_t(memoryType)));
    std::vector<uint8_t> expected(size_t(length), 0); // beyond the memory: zeros
    for (size_t i = 0; i < expected.size() && address + i < 1024; ++i)
        expected[i] = instrument.memory(type)[address + i];
    InstrumentLine instruments;
    instruments.add(instrument);
    startLine(std::move(instruments));
    QCOMPARE(start(), uint8_t(1));

    BusMemoryObject block = {};
    block.Length = uint8_t(length);
    QCOMPARE(m_call->GetMemory(first, uint8_t(type), address, &block), uint8_t(1));
    QCOMPARE(int(block.Length), length);
    QCOMPARE(std::vector<uint8_t>(block.Data, block.Data + block.Length), expected);
}

void SimulatorLineTest::retries_data()
{
    QTest::addColumn<int>("busy");
    QTest::addColumn<int>("badChecksums");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("busy 9 times, answered on the tenth") << 9 << 0 << 10 << true;
    QTest::newRow("busy 10 times, given up") << 10 << 0 << 10 << false;
    QTest::newRow("bad checksum 3 times, answered on the fourth") << 0 << 3 << 4 << true;
    QTest::newRow("bad checksum 4 times, given up") << 0 << 4 << 4 << false;
}

void SimulatorLineTest::retries()
{
    QFETCH(int, busy);
    QFETCH(int, badChecksums);
    QFETCH(int, attempts);
    QFETCH(bool, succeeds);
    InstrumentLine instruments;
    instruments.add(SimulatedInstrument(first));
    startLine(std::move(instruments));
    QCOMPARE(start(120), uint8_t(1));
    m_line->withLine([&](InstrumentLine &line) {
        line.find(first)->faults().busyAnswers = uint32_t(busy);
        line.find(first)->faults().badChecksums = uint32_t(badChecksums);
    });
    QCOMPARE(m_call->GetTimeOutTime(first), uint16_t(succeeds ? 120 : 0));
    if (!succeeds)
        QCOMPARE(errorText(), QStringLiteral("get service 'time-out-time' fails!"));
    m_line->withLine([&](InstrumentLine &line) { QCOMPARE(readRequests(line, 61), attempts); });
}

void SimulatorLineTest::silentInstrumentTimesOut()
{
    InstrumentLine instruments;
    instruments.add(SimulatedInstrument(first));
    startLine(std::move(instruments));
    QCOMPARE(start(), uint8_t(1));
    m_line->withLine([](InstrumentLine &line) { line.find(first)->faults().silent = true; });
    QElapsedTimer timer;
    timer.start();
    BusMemoryObject block = {};
    block.Length = 200;
    QCOMPARE(m_call->GetMemory(first, 2, 0, &block), uint8_t(0));
    // Two services of four attempts, each bounded by its time-out: about a second, never more
    // than a few.
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(errorText(), QStringLiteral("get service 'memory data' fails!"));
    m_line->withLine([](InstrumentLine &line) { QCOMPARE(readRequests(line, 34), 4); });
}

void SimulatorLineTest::unpluggedInstrumentIsRemoved()
{
    FixtureReader::Fixture read = FixtureReader::readFile(fixture("three-instruments.json"));
    startLine(std::move(read.line));
    QCOMPARE(start(), uint8_t(3));
    m_line->withLine([](InstrumentLine &line) {
        SimulatedInstrument *instrument = line.find(second);
        instrument->faults().unplugAfter = instrument->telegramsReceived();
    });
    QCOMPARE(m_call->ActivateCommand(first), uint8_t(1));
    QCOMPARE(m_call->ActivateCommand(second), uint8_t(0));
    QCOMPARE(errorText(), QStringLiteral("Device: %1 removed!").arg(second));
}

void SimulatorLineTest::badAnswers_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("text");
    QTest::newRow("answer from a foreign FAB") << "foreignFab"
                                               << "get service 'memory data' fails!";
    QTest::newRow("length byte above 251") << "oversizeLength"
                                           << "get service 'memory data' fails!";
    QTest::newRow("fewer bytes than asked")
        << "shortMemory" << "invalid size (99 Bytes instead of 100 Bytes) of 'memory data'!";
    // The data are still read after the refused length, and that read's failure is the last.
    QTest::newRow("length refused")
        << "refuseLength" << "invalid size (0 Bytes instead of 100 Bytes) of 'memory data'!";
}

void SimulatorLineTest::badAnswers()
{
    QFETCH(QString, fault);
    QFETCH(QString, text);
    SimulatedInstrument instrument(first);
    instrument.setMemory(1, pattern(512, 1));
    InstrumentFaults &faults = instrument.faults();
    if (fault == "foreignFab")
        faults.foreignFab = second;
    if (fault == "oversizeLength")
        faults.oversizeLength = true;
    if (fault == "shortMemory")
        faults.shortMemory = 1;
    if (fault == "refuseLength")
        faults.refusals.push_back({33, 1, true});
    // A foreign FAB number cannot be attached under the right one; attach first, then break.
    const InstrumentFaults broken = faults;
    InstrumentLine instruments;
    instruments.add(std::move(instrument));
    startLine(std::move(instruments));
    m_line->withLine([](InstrumentLine &line) { line.find(first)->faults() = {}; });
    QCOMPARE(start(), uint8_t(1));
    m_line->withLine([&](InstrumentLine &line) { line.find(first)->faults() = broken; });
    BusMemoryObject block = {};
    std::fill(std::begin(block.Data), std::end(block.Data), 0xEE);
    block.Length = 100;
    QCOMPARE(m_call->GetMemory(first, 1, 0, &block), uint8_t(0));
    QCOMPARE(errorText(), text);
}

void SimulatorLineTest::instrumentJoinsMidRun()
{
    InstrumentLine instruments;
    instruments.add(SimulatedInstrument(first));
    SimulatedInstrument late(second);
    late.faults().joinAfter = 30;
    instruments.add(late);
    startLine(std::move(instruments));
    QCOMPARE(start(), uint8_t(1));
    uint32_t devices[52] = {first};
    QCOMPARE(m_call->SearchForNewDevices(devices, 1, 5), uint8_t(0));
    for (int i = 0; i < 30; ++i)
        m_call->ActivateCommand(first); // the keep-alive of a running synchronisation
    QCOMPARE(m_call->SearchForNewDevices(devices, 1, 5), uint8_t(1));
    QCOMPARE(devices[1], second);
    QCOMPARE(m_call->GetConnectedDevices(nullptr), uint8_t(2));
}

void SimulatorLineTest::deletionEmptiesMemory()
{
    FixtureReader::Fixture read = FixtureReader::readFile(fixture("one-instrument.json"));
    startLine(std::move(read.line));
    QCOMPARE(start(), uint8_t(1));
    BusDataObject record = {};
    QCOMPARE(m_call->GetParameter(first, 72, &record), uint8_t(1));
    record.Value[0] = 0xFF;
    record.Value[1] = 0xFF;
    QCOMPARE(m_call->SetParameter(first, &record), uint8_t(1));
    m_line->withLine([](InstrumentLine &line) {
        QVERIFY(line.find(first)->tests().empty());
        QCOMPARE(line.find(first)->parameter(72)->value, std::vector<uint8_t>(2, 0));
    });
}

void SimulatorLineTest::badCalls_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("port 9") << "SetCommPort(9)" << false << 0
                            << "comm port already opened or selected comm port not valid!";
    QTest::newRow("port while open") << "SetCommPort(1)" << true << 0
                                     << "comm port already opened or selected comm port not valid!";
    QTest::newRow("9600 baud") << "SetBaudRate(9600)" << false << 0
                               << "comm port already opened or selected baud rate not valid!";
    QTest::newRow("NULL device array") << "SearchForNewDevices(NULL)" << true << 252
                                       << "device pointer points to NULL!";
    QTest::newRow("search, no port") << "SearchForNewDevices" << false << 255
                                     << "selected comm port is not available!";
    QTest::newRow("stop, no port") << "StopCommunication" << false << 0 << "comm port not opened!";
    QTest::newRow("memory object of 252") << "GetMemory(252)" << true << 0
                                          << "length of 'BusMemoryObject' is too big!";
    QTest::newRow("memory object of 0") << "GetMemory(0)" << true << 0
                                        << "length of 'BusMemoryObject' is 0!";
    QTest::newRow("NULL memory object") << "GetMemory(NULL)" << true << 0
                                        << "'BusMemoryObject' points to NULL!";
}

void SimulatorLineTest::badCalls()
{
    QFETCH(QString, call);
    QFETCH(bool, portOpen);
    QFETCH(int, result);
    QFETCH(QString, text);
    InstrumentLine instruments;
    instruments.add(SimulatedInstrument(first));
    startLine(std::move(instruments));
    if (portOpen)
        QCOMPARE(start(), uint8_t(1));
    uint32_t devices[52] = {};
    BusMemoryObject block = {};
    block.Length = call == "GetMemory(252)" ? 252 : 0;
    int got = -1;
    if (call == "SetCommPort(9)")
        got = m_call->SetCommPort(9);
    else if (call == "SetCommPort(1)")
        got = m_call->SetCommPort(1);
    else if (call == "SetBaudRate(9600)")
        got = m_call->SetBaudRate(9600);
    else if (call == "SearchForNewDevices(NULL)")
        got = m_call->SearchForNewDevices(nullptr, 0, 1);
    else if (call == "SearchForNewDevices")
        got = m_call->SearchForNewDevices(devices, 0, 1);
    else if (call == "StopCommunication")
        got = m_call->StopCommunication();
    else if (call.startsWith("GetMemory"))
        got = m_call->GetMemory(first, 2, 0, call == "GetMemory(NULL)" ? nullptr : &block);
    QCOMPARE(got, result);
    QCOMPARE(errorText(), text);
}

void SimulatorLineTest::lineGoesAway()
{
    InstrumentLine instruments;
    instruments.add(SimulatedInstrument(first));
    startLine(std::move(instruments));
    QCOMPARE(start(), uint8_t(1));
    m_line->unplug();
    QElapsedTimer timer;
    timer.start();
    BusMemoryObject block = {};
    block.Length = 10;
    QCOMPARE(m_call->GetMemory(first, 0, 0, &block), uint8_t(0));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(m_call->StopCommunication(), uint8_t(0));
    QCOMPARE(errorText(), QStringLiteral("set service 'switch bus state' fails!"));
}

// The line as the PC's raw port sees it: noise, a telegram cut short and one with a wrong
// checksum get only their echo; the next whole search is answered.
void SimulatorLineTest::noiseAndBrokenTelegramsGoUnanswered()
{
    InstrumentLine instruments;
    instruments.add(SimulatedInstrument(first));
    m_line = std::make_unique<PseudoTerminalLine>(std::move(instruments),
                                                  PseudoTerminalLine::Options{false, false, 0});
    m_line->start(); // without echo: only answers come back
    const int port = ::open(m_line->path().c_str(), O_RDWR | O_NOCTTY);
    QVERIFY(port >= 0);
    termios settings = {};
    tcgetattr(port, &settings);
    cfmakeraw(&settings);
    tcsetattr(port, TCSANOW, &settings);
    const auto exchange = [&](const Bytes &bytes) {
        Bytes received;
        if (::write(port, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            return Bytes{0xEE}; // never an answer: the comparison below reports it
        pollfd entry = {port, POLLIN, 0};
        while (poll(&entry, 1, 60) > 0) {
            uint8_t chunk[64];
            const ssize_t got = ::read(port, chunk, sizeof chunk);
            if (got <= 0)
                break;
            received.insert(received.end(), chunk, chunk + got);
        }
        return received;
    };
    const Bytes search{0x00, 0x00};
    Bytes found{0xFF, 0x2A, 0x00, 0x01, 0x3F};
    found = SimulatorTelegram::framed(found);
    QCOMPARE(exchange({0x13, 0x37, 0x55}), Bytes{});                      // noise
    QCOMPARE(exchange({0xAA, 0x2A, 0x00, 0x01, 0x3F, 0x03}), Bytes{});     // cut short
    QCOMPARE(exchange({0x00, 0x01}), Bytes{});                            // wrong checksum
    QCOMPARE(exchange(search), found);
    ::close(port);
}

QTEST_GUILESS_MAIN(SimulatorLineTest)
#include "SimulatorLineTest.moc"
