#include <QProcess>
#include <QTest>

// lumetra4-sim as a command: what it answers to its options, and that a running line prints
// its device path first and ends cleanly when told to.
class SimulatorCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void servesUntilTerminated_data();
    void servesUntilTerminated();
};

void SimulatorCommandTest::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // expected in stdout, or in stderr on failure
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--baud <rate>";
    QTest::newRow("baud rate the bus does not use")
        << QStringList{"--baud", "9600"} << 1
        << "lumetra4-sim: --baud 9600: the rate must be 19200, 38400, 57600 or 115200";
    QTest::newRow("missing fixture file")
        << QStringList{"--fixture", "/nonexistent/line.json"} << 1
        << "lumetra4-sim: /nonexistent/line.json: ";
    QTest::newRow("stray argument") << QStringList{"line.json"} << 1
                                    << "lumetra4-sim: unexpected argument line.json";
}

void SimulatorCommandTest::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QProcess simulator;
    simulator.start(QStringLiteral(LUMETRA4_SIMULATOR), arguments);
    QVERIFY(simulator.waitForFinished(10000));
    QCOMPARE(simulator.exitCode(), exitCode);
    const QString text = QString::fromUtf8(exitCode == 0 ? simulator.readAllStandardOutput()
                                                         : simulator.readAllStandardError());
    QVERIFY2(text.contains(output), qPrintable(text));
}

void SimulatorCommandTest::servesUntilTerminated_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("built-in instrument") << QStringList{};
    QTest::newRow("fixture, paced at a fixed rate")
        << QStringList{"--fixture", QStringLiteral(BUS_FIXTURES "/three-instruments.json"),
                       "--pace", "--baud", "19200"};
}

void SimulatorCommandTest::servesUntilTerminated()
{
    QFETCH(QStringList, arguments);
    QProcess simulator;
    simulator.start(QStringLiteral(LUMETRA4_SIMULATOR), arguments);
    QVERIFY(simulator.waitForReadyRead(10000));
    const QString devicePath = QString::fromUtf8(simulator.readLine()).trimmed();
    QVERIFY2(devicePath.startsWith(QStringLiteral("/dev/pts/")), qPrintable(devicePath));
    QVERIFY(QFile::exists(devicePath));
    simulator.terminate();
    QVERIFY(simulator.waitForFinished(5000));
    QCOMPARE(simulator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(simulator.exitCode(), 0);
}

QTEST_GUILESS_MAIN(SimulatorCommandTest)
#include "SimulatorCommandTest.moc"
