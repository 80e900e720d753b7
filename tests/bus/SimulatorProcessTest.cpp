#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(BUS_FIXTURES "/%1").arg(QLatin1String(name));
}

} // namespace

// lumetra4-sim as a new user starts it from the README, with lumetra4 bus talking to it.
class SimulatorProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scanListsTheFixture_data();
    void scanListsTheFixture();
    void refusedFixtures_data();
    void refusedFixtures();

private:
    QStringList runCli(const QString &devicePath, const QStringList &arguments);

    QTemporaryDir m_folder;
};

void SimulatorProcessTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
}

QStringList SimulatorProcessTest::runCli(const QString &devicePath, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VLM_BUS_COM1"), devicePath);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder.path());
    environment.insert(QStringLiteral("LUMETRA4_VLM_MEM"), QStringLiteral(VLM_MEM_FILE));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LUMETRA4_CLI), QStringList{"bus"} + arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return {QStringLiteral("failed: ") + QString::fromUtf8(process.readAllStandardError())};
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

void SimulatorProcessTest::scanListsTheFixture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("three instruments")
        << fixture("three-instruments.json")
        << QStringList{"3 instrument(s) attached", "063 01 00042  firmware 3000  parameters 13",
                       "063 02 00007  firmware 2002  parameters 13",
                       "045 01 00311  firmware 110  parameters 13"};
    QTest::newRow("one instrument")
        << fixture("one-instrument.json")
        << QStringList{"1 instrument(s) attached", "063 01 00042  firmware 3000  parameters 13"};
}

void SimulatorProcessTest::scanListsTheFixture()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    QProcess simulator;
    simulator.start(QStringLiteral(LUMETRA4_SIMULATOR), {"--fixture", file});
    QVERIFY(simulator.waitForReadyRead(10000));
    const QString devicePath = QString::fromUtf8(simulator.readLine()).trimmed();
    QVERIFY2(devicePath.startsWith("/dev/"), qPrintable(devicePath));

    QCOMPARE(runCli(devicePath, {"scan", "--port", "1"}), lines);
    // The instruments leave bus mode when the scan stops, so a second scan finds them again.
    QCOMPARE(runCli(devicePath, {"scan", "--port", "1"}), lines);
    const QStringList dump = runCli(devicePath, {"dump", "063 01 00042", "--type", "2",
                                                 "--address", "64", "--length", "4"});
    QCOMPARE(dump, QStringList{"00000040  e8 03 00 00"}); // the info block: table at 1000

    simulator.terminate();
    QVERIFY(simulator.waitForFinished(5000));
    QCOMPARE(simulator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(simulator.exitCode(), 0);
}

void SimulatorProcessTest::refusedFixtures_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    QTest::newRow("not JSON") << QByteArray("{ \"instruments\": [") << "not JSON";
    QTest::newRow("no instruments") << QByteArray("{ \"instruments\": [] }")
                                    << "\"instruments\" must list at least one instrument";
    QTest::newRow("misspelt fault")
        << QByteArray(R"({"instruments": [{"fab": 1, "faults": {"bussy": 2}}]})")
        << "instrument 1: unknown key \"bussy\"";
    QTest::newRow("bad FAB text") << QByteArray(R"({"instruments": [{"fab": "63-1-42"}]})")
                                  << "\"fab\" must be a number or a text like \"063 01 00042\"";
    QTest::newRow("value beyond its type")
        << QByteArray(R"({"instruments": [{"fab": 1, "parameters": [)"
                      R"({"number": 20, "type": 0, "value": 300}]}]})")
        << "value 300 does not fit type 0";
    QTest::newRow("memory type 5")
        << QByteArray(R"({"instruments": [{"fab": 1, "memory": {"5": {"size": 4}}}]})")
        << "memory type \"5\" is not 0 to 4";
    QTest::newRow("odd hex")
        << QByteArray(R"({"instruments": [{"fab": 1, "memory": {"0": {"hex": "0 1 2"}}}]})")
        << "\"hex\" must be pairs of hex digits";
}

void SimulatorProcessTest::refusedFixtures()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    const QString file = m_folder.filePath(QStringLiteral("fixture.json"));
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(json);
    out.close();
    QProcess simulator;
    simulator.start(QStringLiteral(LUMETRA4_SIMULATOR), {"--fixture", file});
    QVERIFY(simulator.waitForFinished(10000));
    QCOMPARE(simulator.exitCode(), 1);
    QVERIFY(simulator.readAllStandardOutput().isEmpty()); // no device path for a broken line
    const QString error = QString::fromUtf8(simulator.readAllStandardError());
    QVERIFY2(error.startsWith("lumetra4-sim: " + file + ": "), qPrintable(error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

QTEST_GUILESS_MAIN(SimulatorProcessTest)
#include "SimulatorProcessTest.moc"
