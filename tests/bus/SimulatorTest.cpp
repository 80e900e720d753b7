#include "bus/client/VlmBusLibrary.h"
#include "simulator/FixtureReader.h"
#include "simulator/PseudoTerminalLine.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr uint32_t fab = 0x3F01002A; // "063 01 00042"

QString errorText()
{
    return VlmBusLibrary::instance().errorText();
}

QByteArray fixtureFile(const QString &name)
{
    QFile file(QStringLiteral(LUMETRA4_FIXTURES "/bus/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The shared library against the instrument simulator on a real pseudo-terminal.
class SimulatorTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void discovery_data();
    void discovery();
    void parameterTypes_data();
    void parameterTypes();
    void memoryPages_data();
    void memoryPages();
    void retries_data();
    void retries();
    void silentInstrument();
    void unpluggedInstrumentIsRemoved();
    void scanCommand();

private:
    // Starts the line from fixture JSON, points COM1 at it and starts communication.
    uint8_t start(const QByteArray &json);
    template<typename Function>
    auto onInstrument(uint32_t fabNumber, Function function)
    {
        return m_line->withLine(
            [&](InstrumentLine &line) { return function(*line.find(fabNumber)); });
    }

    const VlmBusFunctions *m_call = nullptr;
    std::unique_ptr<PseudoTerminalLine> m_line;
    QTemporaryDir m_runtime;
};

void SimulatorTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    VlmBusLibrary::instance().reset(QStringLiteral(VLM_BUS_FILE));
    m_call = &VlmBusLibrary::instance().functions();
}

void SimulatorTest::cleanup()
{
    m_call->StopCommunication();
    m_line.reset();
    qunsetenv("VLM_BUS_COM1");
}

uint8_t SimulatorTest::start(const QByteArray &json)
{
    FixtureReader::Fixture fixture = FixtureReader::parse(json, QStringLiteral("test"));
    m_line = std::make_unique<PseudoTerminalLine>(
        std::move(fixture.line), PseudoTerminalLine::Options{fixture.echo, false, 57600});
    if (!m_line->isValid())
        return 0;
    m_line->start();
    qputenv("VLM_BUS_COM1", QByteArray::fromStdString(m_line->path()));
    if (m_call->SetCommPort(1) != 1)
        return 0;
    return m_call->StartCommunication(200);
}

void SimulatorTest::discovery_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("attached");
    QTest::newRow("one") << fixtureFile(QStringLiteral("one-instrument.json")) << 1;
    QTest::newRow("three") << fixtureFile(QStringLiteral("three-instruments.json")) << 3;
    QTest::newRow("fifty") << fixtureFile(QStringLiteral("fifty-instruments.json")) << 50;
    QTest::newRow("fifty-one")
        << QByteArray(R"({"instruments": [{"fab": "063 01 00100", "count": 51, "tests": 0}]})")
        << 50;
}

void SimulatorTest::discovery()
{
    QFETCH(QByteArray, json);
    QFETCH(int, attached);
    QCOMPARE(int(start(json)), attached);
    uint32_t devices[52] = {};
    QCOMPARE(int(m_call->GetConnectedDevices(devices)), attached);
    for (int i = 0; i < attached; ++i) {
        QVERIFY(onInstrument(devices[i],
                             [](SimulatedInstrument &one) { return one.isAttached(); }));
        QCOMPARE(onInstrument(devices[i], [](SimulatedInstrument &one) { return one.timeOut(); }),
                 uint16_t(200));
    }
    QCOMPARE(m_call->StopCommunication(), uint8_t(1));
}

void SimulatorTest::parameterTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("value");    // hex, as the instrument holds it
    QTest::addColumn<QByteArray>("newValue"); // hex, written and read back
    QTest::newRow("0 unsigned 8") << 0 << QByteArray("07") << QByteArray("fe");
    QTest::newRow("1 signed 8") << 1 << QByteArray("ff") << QByteArray("80");
    QTest::newRow("2 unsigned 16") << 2 << QByteArray("d207") << QByteArray("ffff");
    QTest::newRow("3 signed 16") << 3 << QByteArray("00ff") << QByteArray("0100");
    QTest::newRow("4 unsigned 32") << 4 << QByteArray("78563412") << QByteArray("01000000");
    QTest::newRow("5 signed 32") << 5 << QByteArray("ffffffff") << QByteArray("00000080");
    QTest::newRow("6 float") << 6 << QByteArray("0000c03f") << QByteArray("00002041");
    QTest::newRow("7 string") << 7 << QByteArray("4c552d34") << QByteArray("4d657373706c61747a");
    QTest::newRow("8 bytes") << 8 << QByteArray("010203") << QByteArray(502, 'a'); // 251 bytes
}

void SimulatorTest::parameterTypes()
{
    QFETCH(int, type);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, newValue);
    const QByteArray json = QStringLiteral(
        R"({"instruments": [{"fab": "063 01 00042", "tests": 0, "parameters": [
            {"number": 20, "type": %1, "hex": "%2"}]}]})")
                                .arg(type).arg(QString::fromLatin1(value)).toLatin1();
    QCOMPARE(start(json), uint8_t(1));
    BusDataObject record = {};
    QCOMPARE(m_call->GetParameter(fab, 20, &record), uint8_t(1));
    QCOMPARE(int(record.ParamNr), 20);
    QCOMPARE(int(record.DataType), type);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(record.Value), record.Length).toHex(),
             value);

    const QByteArray bytes = QByteArray::fromHex(newValue);
    std::memcpy(record.Value, bytes.constData(), size_t(bytes.size()));
    record.Length = uint8_t(bytes.size());
    QVERIFY2(m_call->SetParameter(fab, &record) == 1, qPrintable(errorText()));
    BusDataObject readBack = {};
    QCOMPARE(m_call->GetParameter(fab, 20, &readBack), uint8_t(1));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(readBack.Value), readBack.Length).toHex(),
             newValue);

    record.DataType = uint16_t(type == 8 ? 7 : 8); // another type: nothing is written
    QCOMPARE(m_call->SetParameter(fab, &record), uint8_t(251));
}

void SimulatorTest::memoryPages_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<uint32_t>("address");
    QTest::addColumn<int>("length");
    QTest::newRow("first page") << 0 << 0u << 132;
    QTest::newRow("across a boundary") << 0 << 131u << 2;
    QTest::newRow("second page") << 1 << 132u << 132;
    QTest::newRow("ends on a boundary") << 3 << 133u << 131;
    QTest::newRow("last page") << 4 << 2048u - 132 << 132;
    QTest::newRow("longest block") << 4 << 1000u << 251;
}

void SimulatorTest::memoryPages()
{
    QFETCH(int, type);
    QFETCH(uint32_t, address);
    QFETCH(int, length);
    const QByteArray json = QStringLiteral(
        R"({"instruments": [{"fab": "063 01 00042", "tests": 0,
            "memory": {"%1": {"size": 2048}}}]})").arg(type).toLatin1();
    QCOMPARE(start(json), uint8_t(1));
    BusMemoryObject block = {};
    block.Length = uint8_t(length);
    QVERIFY2(m_call->GetMemory(fab, uint8_t(type), address, &block) == 1, qPrintable(errorText()));
    QCOMPARE(int(block.Length), length);
    for (int i = 0; i < length; ++i) {
        const uint32_t at = address + uint32_t(i);
        QCOMPARE(block.Data[i], uint8_t(at * 7 + at / 256));
    }
}

void SimulatorTest::retries_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<int>("attempts");
    QTest::newRow("busy 9: tenth attempt") << "busy" << 9 << true << 10;
    QTest::newRow("busy 10: gives up") << "busy" << 10 << false << 10;
    QTest::newRow("bad checksum 3: fourth attempt") << "badChecksum" << 3 << true << 4;
    QTest::newRow("bad checksum 4: gives up") << "badChecksum" << 4 << false << 4;
}

void SimulatorTest::retries()
{
    QFETCH(QString, fault);
    QFETCH(int, count);
    QFETCH(bool, succeeds);
    QFETCH(int, attempts);
    QCOMPARE(start(fixtureFile(QStringLiteral("one-instrument.json"))), uint8_t(1));
    const size_t before = m_line->withLine([&](InstrumentLine &line) {
        InstrumentFaults &faults = line.find(fab)->faults();
        uint32_t &counter = fault == QLatin1String("busy") ? faults.busyAnswers
                                                            : faults.badChecksums;
        counter = uint32_t(count);
        return line.received().size();
    });
    QCOMPARE(m_call->GetTimeOutTime(fab) == 200, succeeds);
    const size_t sent = m_line->withLine(
        [](InstrumentLine &line) { return line.received().size(); });
    QCOMPARE(int(sent - before), attempts);
    if (!succeeds)
        QCOMPARE(errorText(), QStringLiteral("get service 'time-out-time' fails!"));
}

void SimulatorTest::silentInstrument()
{
    QCOMPARE(start(fixtureFile(QStringLiteral("one-instrument.json"))), uint8_t(1));
    onInstrument(fab, [](SimulatedInstrument &instrument) { instrument.faults().silent = true; });
    QElapsedTimer timer;
    timer.start();
    BusMemoryObject block = {};
    block.Length = 132;
    QCOMPARE(m_call->GetMemory(fab, 2, 0, &block), uint8_t(0));
    // Two exchanges of four attempts, each well under 100 ms at 57600 baud.
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(errorText(), QStringLiteral("get service 'memory data' fails!"));
}

void SimulatorTest::unpluggedInstrumentIsRemoved()
{
    QCOMPARE(start(fixtureFile(QStringLiteral("three-instruments.json"))), uint8_t(3));
    onInstrument(fab, [](SimulatedInstrument &instrument) {
        instrument.faults().unplugAfter = instrument.telegramsReceived();
    });
    QCOMPARE(m_call->ActivateCommand(fab), uint8_t(0));
    QCOMPARE(errorText(), QStringLiteral("Device: %1 removed!").arg(fab));
    QCOMPARE(m_call->ActivateCommand(0x3F020007), uint8_t(1)); // the others stay
}

// As a new user tries it: the simulator as a process, then lumetra4 bus scan.
void SimulatorTest::scanCommand()
{
    QProcess simulator;
    simulator.start(QStringLiteral(LUMETRA4_SIMULATOR),
                    {QStringLiteral("--fixture"),
                     QStringLiteral(LUMETRA4_FIXTURES "/bus/three-instruments.json")});
    QVERIFY(simulator.waitForReadyRead(10000));
    const QString path = QString::fromUtf8(simulator.readLine().trimmed());
    QVERIFY(path.startsWith(QLatin1String("/dev/")));

    QProcess scan;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VLM_BUS_COM1"), path);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("LUMETRA4_VLM_MEM"), QStringLiteral(VLM_MEM_FILE));
    scan.setProcessEnvironment(environment);
    scan.start(QStringLiteral(LUMETRA4_CLI),
               {QStringLiteral("bus"), QStringLiteral("scan"), QStringLiteral("--port"),
                QStringLiteral("1")});
    QVERIFY(scan.waitForFinished(20000));
    const QString out = QString::fromUtf8(scan.readAllStandardOutput());
    QVERIFY2(scan.exitCode() == 0,
             qPrintable(out + QString::fromUtf8(scan.readAllStandardError())));
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), QStringLiteral("3 instrument(s) attached"));
    QVERIFY2(lines.value(1).startsWith(QLatin1String("063 01 00042  firmware 3000  parameters ")),
             qPrintable(out));
    QVERIFY2(lines.value(2).startsWith(QLatin1String("063 02 00007  firmware 2002  parameters ")),
             qPrintable(out));
    QVERIFY2(lines.value(3).startsWith(QLatin1String("045 01 00311  firmware 110  parameters ")),
             qPrintable(out));
    simulator.kill();
    simulator.waitForFinished();
}

QTEST_GUILESS_MAIN(SimulatorTest)
#include "SimulatorTest.moc"
