#include "simulator/InstrumentSimulator.h"

#include <QTest>

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(BUS_FIXTURES "/%1").arg(QLatin1String(name));
}

std::string oneInstrumentWith(const std::string &instrument)
{
    return R"({"instruments": [)" + instrument + "]}";
}

} // namespace

// The ready fixtures, and what the loader says about a fixture it cannot use: the place in the
// file and the fault, so that whoever wrote it can mend it.
class FixtureLoaderTest : public QObject
{
    Q_OBJECT

private slots:
    void readyFixtures_data();
    void readyFixtures();
    void refused_data();
    void refused();
    void missingFile();
    void testsWithEveryField();
};

void FixtureLoaderTest::readyFixtures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("count");
    QTest::addColumn<uint>("firstFab");
    QTest::addColumn<uint>("lastFab");
    QTest::addColumn<bool>("echo");
    QTest::newRow("one") << fixture("one-instrument.json") << 1 << 0x3F01002Au << 0x3F01002Au
                         << true;
    QTest::newRow("three, one of another type")
        << fixture("three-instruments.json") << 3 << 0x3F01002Au << 0x2D010137u << true;
    QTest::newRow("fifty") << fixture("fifty-instruments.json") << 50 << 0x3F010064u
                           << 0x3F010095u << true;
    QTest::newRow("faults") << fixture("every-fault.json") << 4 << 0x3F010001u << 0x3F010004u
                            << true;
    QTest::newRow("demo") << fixture("demo.json") << 4 << 0x3F01002Au << 0x2D010137u << true;
}

void FixtureLoaderTest::readyFixtures()
{
    QFETCH(QString, file);
    QFETCH(int, count);
    QFETCH(uint, firstFab);
    QFETCH(uint, lastFab);
    QFETCH(bool, echo);
    std::string error;
    const auto simulator = InstrumentSimulator::fromFixture(file.toStdString(), &error);
    QVERIFY2(simulator, error.c_str());
    QCOMPARE(simulator->instrumentCount(), size_t(count));
    QCOMPARE(simulator->fabNumbers().front(), firstFab);
    QCOMPARE(simulator->fabNumbers().back(), lastFab);
    QCOMPARE(simulator->echo(), echo);
    // Every instrument carries the three parameters the program reads.
    for (const uint32_t fab : simulator->fabNumbers()) {
        for (const uint16_t number : {13, 71, 72})
            QVERIFY(simulator->parameterValue(fab, number).has_value());
    }
}

void FixtureLoaderTest::refused_data()
{
    QTest::addColumn<std::string>("json");
    QTest::addColumn<QString>("message");
    const auto row = [](const char *name, const std::string &json, const char *message) {
        QTest::newRow(name) << json << QString::fromLatin1(message);
    };
    row("not JSON", R"({"instruments": [)", "fixture: not JSON: ");
    row("a list, not an object", R"([{"fab": 1}])",
        R"(fixture: a fixture is an object { "instruments": [ ... ] })");
    row("no instruments", R"({"echo": true})",
        R"(fixture: "instruments" must list at least one instrument)");
    row("instruments not a list", R"({"instruments": {"fab": 1}})",
        R"(fixture: "instruments" must be a list)");
    row("instrument not an object", R"({"instruments": [42]})",
        R"(fixture: every entry of "instruments" must be an object { ... })");
    row("echo not a flag", R"({"echo": "yes", "instruments": [{"fab": 1}]})",
        R"(fixture: "echo" must be true or false)");
    row("missing FAB number", oneInstrumentWith(R"({"tests": 2})"),
        R"(fixture: instrument 1: an instrument needs its "fab")");
    row("misspelt key", oneInstrumentWith(R"({"fab": 1, "test": 2})"),
        R"(fixture: instrument 1: unknown key "test")");
    row("parameters not a list",
        oneInstrumentWith(R"({"fab": 1, "parameters": {"number": 20}})"),
        R"(fixture: instrument 1: "parameters" must be a list)");
    row("parameter without type",
        oneInstrumentWith(R"({"fab": 1, "parameters": [{"number": 20, "value": 1}]})"),
        R"(fixture: instrument 1: "type" is missing)");
    row("parameter without number",
        oneInstrumentWith(R"({"fab": 1, "parameters": [{"type": 0, "value": 1}]})"),
        R"(fixture: instrument 1: "number" is missing)");
    row("parameter without value",
        oneInstrumentWith(R"({"fab": 1, "parameters": [{"number": 20, "type": 0}]})"),
        R"(fixture: instrument 1: a parameter needs a "value" or "hex")");
    row("parameter value too long",
        oneInstrumentWith(R"({"fab": 1, "parameters": [{"number": 20, "type": 8,
                              "hex": ")" + std::string(504, 'a') + R"("}]})"),
        "fixture: instrument 1: a value holds at most 251 bytes");
    row("faults not an object", oneInstrumentWith(R"({"fab": 1, "faults": [1]})"),
        R"(fixture: instrument 1: "faults" must be an object { ... })");
    row("fault flag not a flag", oneInstrumentWith(R"({"fab": 1, "faults": {"silent": 1}})"),
        R"(fixture: instrument 1: "silent" must be true or false)");
    row("negative busy count", oneInstrumentWith(R"({"fab": 1, "faults": {"busy": -1}})"),
        R"(fixture: instrument 1: "busy" must be a whole number from 0 to 4294967295)");
    row("refusals not a list", oneInstrumentWith(R"({"fab": 1, "faults": {"refuse": 3}})"),
        R"(fixture: instrument 1: "refuse" must be a list)");
    row("memory without bytes", oneInstrumentWith(R"({"fab": 1, "memory": {"0": {}}})"),
        R"(fixture: instrument 1, memory 0: a memory needs its "hex" bytes or a "size")");
    row("memory not an object", oneInstrumentWith(R"({"fab": 1, "memory": {"0": "00 01"}})"),
        R"(fixture: instrument 1, memory 0: "0" must be an object { ... })");
    row("test without date", oneInstrumentWith(R"({"fab": 1, "tests": [{"kind": 2}]})"),
        R"(fixture: instrument 1, test 1: "date" must be a date like "2025-03-01T08:30:00")");
    row("test without kind",
        oneInstrumentWith(R"({"fab": 1, "tests": [{"date": "2025-03-01T08:30:00"}]})"),
        R"(fixture: instrument 1, test 1: "kind" is missing)");
    row("pressure not a number",
        oneInstrumentWith(R"({"fab": 1, "tests": [{"kind": 2, "date": "2025-03-01T08:30:00",
                              "startPressure": "high", "endPressure": 0.02}]})"),
        R"(fixture: instrument 1, test 1: "startPressure" must be a number)");
    row("unknown block fault",
        oneInstrumentWith(R"({"fab": 1, "tests": [{"kind": 2, "date": "2025-03-01T08:30:00",
                              "fault": "crc"}]})"),
        R"(fixture: instrument 1, test 1: "fault" must be one of )");
    row("test the memory cannot hold",
        oneInstrumentWith(R"({"fab": 1, "tests": [{"kind": 0, "date": "2025-03-01T08:30:00",
                              "startPressure": 0.02}]})"),
        "fixture: instrument 1: test cannot be stored: a serviceability test records only its "
        "end pressure");
}

void FixtureLoaderTest::refused()
{
    QFETCH(std::string, json);
    QFETCH(QString, message);
    std::string error;
    QVERIFY(!InstrumentSimulator::fromJson(json, &error));
    QVERIFY2(QString::fromStdString(error).startsWith(message), error.c_str());
}

void FixtureLoaderTest::missingFile()
{
    std::string error;
    const std::string path = "/nonexistent/instruments.json";
    QVERIFY(!InstrumentSimulator::fromFixture(path, &error));
    QVERIFY2(error.starts_with(path + ": "), error.c_str());
}

void FixtureLoaderTest::testsWithEveryField()
{
    std::string error;
    const auto simulator = InstrumentSimulator::fromJson(oneInstrumentWith(R"({"fab": 1,
        "tests": [{"kind": 3, "date": "2025-03-01T08:30:00", "startPressure": 0.021,
                   "endPressure": 0.02, "flowPressure": 0.023, "lowFlowSafetyFinding": 1,
                   "customerNumber": 4711, "meterNumber": 815,
                   "pipeVolumeCode": 2, "measurementNumber": 7, "sampleIntervalMs": 500,
                   "pressureCurve": [21.0, 20.9], "fault": "eventCrc"}]})"), &error);
    QVERIFY2(simulator, error.c_str());
    simulator->withLine([](InstrumentLine &line) {
        const TestDescription &test = line.instruments().front().tests().front();
        QCOMPARE(test.kind, 3);
        QCOMPARE(test.flowPressure, std::optional<float>(0.023f));
        QCOMPARE(test.lowFlowSafetyFinding, std::optional<int>(1));
        QCOMPARE(test.customerNumber, std::optional<double>(4711));
        QCOMPARE(test.meterNumber, std::optional<double>(815));
        QCOMPARE(test.pipeVolumeCode, std::optional<int>(2));
        QCOMPARE(test.sampleIntervalMs, uint16_t(500));
        QCOMPARE(test.measurementNumber, uint16_t(7));
        QVERIFY(test.fault == BlockFault::EventCrc);
    });
}

QTEST_GUILESS_MAIN(FixtureLoaderTest)
#include "FixtureLoaderTest.moc"
