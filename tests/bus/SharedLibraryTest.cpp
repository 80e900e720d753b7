#include "bus/client/VlmBusLibrary.h"
#include "data/RuntimeError.h"

#include <QProcess>
#include <QTest>

// The shared library as the program sees it: exactly the 31 functions, bound by name.
class SharedLibraryTest : public QObject
{
    Q_OBJECT

private slots:
    void exportsExactlyTheInterface();
    void bindsEveryFunction();
    void missingLibraryIsReported();
};

void SharedLibraryTest::exportsExactlyTheInterface()
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                    QStringLiteral(VLM_BUS_FILE)});
    QVERIFY(nm.waitForFinished());
    QCOMPARE(nm.exitCode(), 0);
    QStringList exported;
    for (const QString &line : QString::fromLatin1(nm.readAllStandardOutput()).split(u'\n')) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() == 3)
            exported << fields[2];
    }
    QStringList expected = QStringLiteral(
        "SetCommPort SetBaudRate GetAvailableCommPorts SetDebugMode EchoMode "
        "StartCommunication StopCommunication GetConnectedDevices SearchForNewDevices "
        "SendSync VerifySyncReceive ActivateCommand SwitchDeviceMode GetDeviceMode "
        "SetLockService GetTimeOutTime SetTimeOutTime SetNewFabNumber GetNrOfParameter "
        "GetAllParameter GetNextParameter GetParameter SetParameter GetLastChangedParameter "
        "GetMemory SetMemory GetExtendedErrorInformation EnforceInterfaceRelease "
        "GetComponentName ServiceMemoryTable GetDLLVersionNr")
        .split(u' ');
    exported.sort();
    expected.sort();
    QCOMPARE(expected.size(), 31);
    QCOMPARE(exported, expected);
}

void SharedLibraryTest::bindsEveryFunction()
{
    VlmBusLibrary &bus = VlmBusLibrary::instance();
    bus.reset(QStringLiteral(VLM_BUS_FILE));
    const VlmBusFunctions &call = bus.functions();
    QCOMPARE(call.GetDLLVersionNr(), uint16_t(104));
    char name[256] = {};
    QCOMPARE(call.GetComponentName(name), 18);
    QCOMPARE(call.SetCommPort(9), uint8_t(0));
    QCOMPARE(bus.errorText(),
             QStringLiteral("comm port already opened or selected comm port not valid!"));
    QCOMPARE(call.EchoMode(0xFF), uint8_t(0xFF));
    QCOMPARE(call.EchoMode(0), uint8_t(0));
    BusMemoryObject block = {};
    block.Length = 10;
    QCOMPARE(call.GetMemory(1, 0, 0, &block), uint8_t(0)); // no port open: nothing answers
    QCOMPARE(bus.errorText(), QStringLiteral("get service 'memory data' fails!"));
    bus.reset();
}

void SharedLibraryTest::missingLibraryIsReported()
{
    VlmBusLibrary &bus = VlmBusLibrary::instance();
    bus.reset(QStringLiteral("/nonexistent/libvlm_bus.so"));
    try {
        bus.functions();
        QFAIL("a missing library must be reported");
    } catch (const RuntimeErrorException &exception) {
        QVERIFY(exception.error().description.contains(QStringLiteral("libvlm_bus.so")));
        QVERIFY(exception.error().description.contains(QStringLiteral("/nonexistent")));
    }
    // A library without the functions: any other shared object.
    bus.reset(QStringLiteral(VLM_MEM_FILE));
    try {
        bus.functions();
        QFAIL("a library without the functions must be reported");
    } catch (const RuntimeErrorException &exception) {
        QVERIFY(exception.error().description.contains(QStringLiteral("StartCommunication")));
    }
    bus.reset();
}

QTEST_GUILESS_MAIN(SharedLibraryTest)
#include "SharedLibraryTest.moc"
