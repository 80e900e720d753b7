#include "bus/PtyInstruments.h"

#include "bus/client/VlmBusLibrary.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <mutex>

namespace {

constexpr uint32_t fab = 0x3F01002A;

} // namespace

// The shared library over a real pseudo-terminal: line settings, echo, time-outs and a line
// that goes away, with scripted instruments on the far side.
class PtyLineTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void discoveryAndServices();
    void silentInstrumentTimesOut();
    void unpluggedLine();
    void nonTerminalIsRefused();
    void availablePorts();

private:
    const VlmBusFunctions *m_call = nullptr;
    QTemporaryDir m_runtime;
};

void PtyLineTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    VlmBusLibrary::instance().reset(QStringLiteral(VLM_BUS_FILE));
    m_call = &VlmBusLibrary::instance().functions();
}

void PtyLineTest::init()
{
    m_call->StopCommunication(); // whatever an earlier failed test left open
}

void PtyLineTest::discoveryAndServices()
{
    std::mutex lock;
    ScriptedInstruments instruments;
    instruments.waiting = {fab, fab + 1, fab + 2};
    instruments.reads[{61, 0}] = {0x2C, 0x01};
    instruments.reads[{34, 0}] = Bytes(200, 0xA5);
    PtyInstruments line([&](const Bytes &request) {
        std::lock_guard guard(lock);
        return instruments(request);
    });
    QVERIFY(line.isValid());
    qputenv("VLM_BUS_COM2", QByteArray::fromStdString(line.path()));
    QCOMPARE(m_call->SetCommPort(2), uint8_t(1));
    QCOMPARE(m_call->StartCommunication(300), uint8_t(3));
    uint32_t devices[52] = {};
    QCOMPARE(m_call->GetConnectedDevices(devices), uint8_t(3));
    QCOMPARE(devices[2], fab + 2);
    QCOMPARE(m_call->GetTimeOutTime(fab + 1), uint16_t(300));
    BusMemoryObject block = {};
    block.Length = 200;
    QCOMPARE(m_call->GetMemory(fab, 2, 0x1000, &block), uint8_t(1));
    QCOMPARE(block.Data[199], uint8_t(0xA5));
    QCOMPARE(m_call->StopCommunication(), uint8_t(1));
    qunsetenv("VLM_BUS_COM2");
}

void PtyLineTest::silentInstrumentTimesOut()
{
    std::mutex lock;
    ScriptedInstruments instruments;
    instruments.waiting = {fab};
    bool silent = false;
    PtyInstruments line([&](const Bytes &request) {
        std::lock_guard guard(lock);
        return silent ? Bytes{} : instruments(request);
    });
    qputenv("VLM_BUS_COM1", QByteArray::fromStdString(line.path()));
    QCOMPARE(m_call->SetCommPort(1), uint8_t(1));
    QCOMPARE(m_call->StartCommunication(300), uint8_t(1));
    {
        std::lock_guard guard(lock);
        silent = true;
    }
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(m_call->GetTimeOutTime(fab), uint16_t(0));
    // Four attempts of at most 57 ms each, with their pauses: far below a second.
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(VlmBusLibrary::instance().errorText(),
             QStringLiteral("get service 'time-out-time' fails!"));
    QCOMPARE(m_call->ActivateCommand(fab), uint8_t(0));
    QCOMPARE(VlmBusLibrary::instance().errorText(), QStringLiteral("Device: %1 removed!").arg(fab));
    m_call->StopCommunication();
    qunsetenv("VLM_BUS_COM1");
}

void PtyLineTest::unpluggedLine()
{
    ScriptedInstruments instruments;
    instruments.waiting = {fab};
    PtyInstruments line(std::ref(instruments));
    qputenv("VLM_BUS_COM1", QByteArray::fromStdString(line.path()));
    QCOMPARE(m_call->SetCommPort(1), uint8_t(1));
    QCOMPARE(m_call->StartCommunication(300), uint8_t(1));
    line.unplug();
    QElapsedTimer timer;
    timer.start();
    BusDataObject record = {};
    QCOMPARE(m_call->GetParameter(fab, 13, &record), uint8_t(253));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(m_call->StopCommunication(), uint8_t(0)); // switching the bus off fails
    QCOMPARE(VlmBusLibrary::instance().errorText(),
             QStringLiteral("set service 'switch bus state' fails!"));
    QCOMPARE(m_call->StopCommunication(), uint8_t(0)); // but the port is closed
    QCOMPARE(VlmBusLibrary::instance().errorText(), QStringLiteral("comm port not opened!"));
    qunsetenv("VLM_BUS_COM1");
}

void PtyLineTest::nonTerminalIsRefused()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("not-a-port"));
    QFile(file).open(QIODevice::WriteOnly);
    qputenv("VLM_BUS_COM4", QFile::encodeName(file));
    QCOMPARE(m_call->SetCommPort(4), uint8_t(0));
    QCOMPARE(VlmBusLibrary::instance().errorText(),
             QStringLiteral("comm port not available! (COM4: %1: not a serial device)").arg(file));
    qunsetenv("VLM_BUS_COM4");
}

void PtyLineTest::availablePorts()
{
    PtyInstruments line([](const Bytes &) { return Bytes{}; });
    for (int port = 1; port <= 8; ++port)
        qputenv(qPrintable(QStringLiteral("VLM_BUS_COM%1").arg(port)), "/nonexistent/tty");
    qputenv("VLM_BUS_COM3", QByteArray::fromStdString(line.path()));
    qputenv("VLM_BUS_COM8", "/dev/null"); // a character device, though no terminal
    QCOMPARE(m_call->GetAvailableCommPorts(), uint8_t(0x84));
    for (int port = 1; port <= 8; ++port)
        qunsetenv(qPrintable(QStringLiteral("VLM_BUS_COM%1").arg(port)));
}

QTEST_GUILESS_MAIN(PtyLineTest)
#include "PtyLineTest.moc"
