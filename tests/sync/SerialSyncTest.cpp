#include "bus/client/VlmBusLibrary.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/Schema.h"
#include "data/StringTable.h"
#include "simulator/FixtureReader.h"
#include "simulator/InstrumentSimulator.h"
#include "simulator/PseudoTerminalLine.h"
#include "support/CapturingPresenter.h"
#include "support/RecordingMessageBoxes.h"
#include "sync/BusInstrumentMemory.h"
#include "sync/BusInstrumentParameters.h"
#include "sync/ImageMemory.h"
#include "sync/MemoryDecoder.h"
#include "sync/TestBuilder.h"
#include "sync/SerialSynchronisation.h"
#include "sync/TestStore.h"
#include "sync/ui/frmLumetra4.h"

#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// Synchronisations over the instrument simulator on a real pseudo-terminal, end to end into a
// database, from the run class, the window and the command line.
class SerialSyncTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<PseudoTerminalLine> line;
    DatabaseSession session;
    const VlmBusFunctions *bus = nullptr;

    void startLine(const QByteArray &json)
    {
        FixtureReader::Fixture fixture = FixtureReader::parse(json, QStringLiteral("test"));
        line = std::make_unique<PseudoTerminalLine>(
            std::move(fixture.line), PseudoTerminalLine::Options{fixture.echo, false, 57600});
        QVERIFY(line->isValid());
        line->start();
        qputenv("VLM_BUS_COM1", QByteArray::fromStdString(line->path()));
    }

    static SerialSyncSettings onPort1(bool deleteTests = false)
    {
        SerialSyncSettings settings;
        settings.autoCommPort = false;
        settings.commPort = 1;
        settings.timeOut = 500;
        settings.deleteSyncedPruef = deleteTests;
        return settings;
    }

    // One run as the window does it: read, store, delete when asked.
    struct Run
    {
        SerialSynchronisation::Outcome outcome;
        StoreCounts counts;
        int instrumentsRead = 0;
    };
    Run synchronise(bool deleteTests = false, bool stopAtOnce = false)
    {
        BusInstrumentParameters parameters(*bus);
        SerialSynchronisation run(*bus, parameters,
                                  [this](uint32_t fab) {
                                      return std::make_unique<BusInstrumentMemory>(*bus, fab);
                                  },
                                  onPort1(deleteTests));
        if (stopAtOnce)
            run.requestStop();
        Run result{run.connectAndRead(), {}, 0};
        result.instrumentsRead = int(run.readInstruments().size());
        if (result.outcome == SerialSynchronisation::Outcome::Read
            && StoreTests(session.dbConnection, run.records(), &result.counts) && deleteTests)
            run.deleteReadTests();
        run.finish();
        return result;
    }

    int storedTests()
    {
        QSqlQuery query = session.dbConnection.select(
            QStringLiteral("SELECT count(*) FROM Pruefungen WHERE PFG_NeuePruefung <> 0"));
        return query.next() ? query.value(0).toInt() : -1;
    }

    static QByteArray demo()
    {
        QFile file(QStringLiteral(LUMETRA4_FIXTURES "/bus/demo.json"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        qputenv("LUMETRA4_VLM_MEM", VLM_MEM_FILE);
        StringTable::setLanguage(QStringLiteral("en"));
        LoadColumnCaptions();
        VlmBusLibrary::instance().reset(QStringLiteral(VLM_BUS_FILE));
        bus = &VlmBusLibrary::instance().functions();
        QVERIFY(!demo().isEmpty());
    }

    void init()
    {
        session.close();
        const QString file = dir.filePath(QStringLiteral("Lumetra4Desktop.db"));
        QFile::remove(file);
        Schema::createEmptyDatabase(file);
        session.dbConnection.open(Database::BuildConnectionString(file));
        CheckDatabaseVersion(session);
    }

    void cleanup()
    {
        line.reset();
        qunsetenv("VLM_BUS_COM1");
    }

    void storesEveryTestOnceAndDeletesWhenAsked()
    {
        startLine(demo());
        const Run first = synchronise();
        QCOMPARE(first.outcome, SerialSynchronisation::Outcome::Read);
        QCOMPARE(first.instrumentsRead, 3);
        QCOMPARE(first.counts.stored, 40);
        QCOMPARE(storedTests(), 40);

        const Run second = synchronise();
        QCOMPARE(second.counts.stored, 0);
        QCOMPARE(second.counts.skipped, 40);

        synchronise(true); // deletes what was read
        const Run third = synchronise();
        QCOMPARE(third.outcome, SerialSynchronisation::Outcome::Read);
        QCOMPARE(int(third.counts.stored + third.counts.skipped), 0);
        QCOMPARE(storedTests(), 40);
    }

    // Every test kind, both pressure units, with and without flow: what the run reads over the
    // pseudo-terminal is exactly what the decoder makes of the instrument's memory image.
    void roundTripOverThePseudoTerminal_data()
    {
        QTest::addColumn<int>("firmware");
        QTest::newRow("firmware 2002") << 2002;
        QTest::newRow("firmware 3000") << 3000;
    }
    void roundTripOverThePseudoTerminal()
    {
        QFETCH(int, firmware);
        const QByteArray json = QStringLiteral(R"({"instruments": [{"fab": "063 01 00007",
            "firmware": %1, "tests": [
            {"kind": 0, "date": "2025-03-01T08:30:00", "endPressure": 0.022, "flow": 1.85,
             "finding": 0, "customerNumber": 4711, "meterNumber": 12345678,
             "pipeVolumeCode": 3, "measurementNumber": 1,
             "pressureCurve": [22.0, 21.9, 21.8], "flowCurve": [1.8, 1.85, 1.9]},
            {"kind": 1, "date": "2025-03-01T09:00:00", "startPressure": 0.101,
             "endPressure": 0.1005, "finding": 1, "measurementNumber": 2,
             "pressureCurve": [101.0, 100.8, 100.5]},
            {"kind": 2, "date": "2025-03-01T09:30:00", "startPressure": 0.111,
             "endPressure": 0.1108, "finding": 2, "measurementNumber": 3,
             "pressureCurve": [111.0, 110.9, 110.8]},
            {"kind": 3, "date": "2025-03-01T10:00:00", "startPressure": 0.023,
             "endPressure": 0.0225, "finding": 0, "measurementNumber": 4,
             "pressureCurve": [23.0, 22.8, 22.5]}]}]})").arg(firmware).toUtf8();
        std::string error;
        auto simulator = InstrumentSimulator::fromJson(json.toStdString(), &error);
        QVERIFY2(simulator, error.c_str());
        const uint32_t fab = simulator->fabNumbers().front();
        MemoryImage image;
        image.firmwareNumber = uint32_t(firmware);
        const auto info = simulator->parameterValue(fab, 71);
        QVERIFY(info && info->size() >= 4);
        image.infoBlockAddress = uint32_t((*info)[0]) | uint32_t((*info)[1]) << 8
                                 | uint32_t((*info)[2]) << 16 | uint32_t((*info)[3]) << 24;
        image.memory = simulator->memory(fab, 2);
        ImageMemory memory(image);
        MemoryDecoder decoder(memory);
        QVERIFY(decoder.ReadAll(image.firmwareNumber, image.infoBlockAddress));
        QList<TestRecord> expected;
        BuildTests(decoder.instrument(), QStringLiteral("063 01 00007"), expected);
        QCOMPARE(expected.size(), 4);

        QVERIFY(simulator->start());
        qputenv("VLM_BUS_COM1", QByteArray::fromStdString(simulator->devicePath()));
        BusInstrumentParameters parameters(*bus);
        SerialSynchronisation run(*bus, parameters,
                                  [this](uint32_t number) {
                                      return std::make_unique<BusInstrumentMemory>(*bus, number);
                                  },
                                  onPort1());
        QCOMPARE(run.connectAndRead(), SerialSynchronisation::Outcome::Read);
        run.finish();
        QCOMPARE(run.records(), expected);
    }

    void corruptBlockKeepsTheInstrumentsTests()
    {
        startLine(R"({"instruments": [{"fab": "063 01 00001", "tests": [
            {"kind": 2, "date": "2025-03-01T08:30:00", "startPressure": 0.11,
             "endPressure": 0.11, "finding": 0, "measurementNumber": 1},
            {"kind": 2, "date": "2025-03-01T09:30:00", "startPressure": 0.11,
             "endPressure": 0.11, "finding": 0, "measurementNumber": 2, "fault": "headerCrc"}]}]})");
        BusInstrumentParameters parameters(*bus);
        SerialSynchronisation run(*bus, parameters,
                                  [this](uint32_t fab) {
                                      return std::make_unique<BusInstrumentMemory>(*bus, fab);
                                  },
                                  onPort1(true));
        QCOMPARE(run.connectAndRead(), SerialSynchronisation::Outcome::Read);
        QCOMPARE(run.records().size(), 1); // the sound block
        QVERIFY(StoreTests(session.dbConnection, run.records()));
        const DeletionReport report = run.deleteReadTests();
        run.finish();
        QVERIFY(report.deleted.isEmpty());
        QCOMPARE(report.notDeleted.size(), 1); // the user is told why
        // The instrument still holds its tests: a second run finds the sound one again.
        const Run again = synchronise();
        QCOMPARE(again.counts.skipped, 1);
    }

    void otherDeviceTypesAreAttachedButNotRead()
    {
        startLine(R"({"instruments": [{"fab": "045 01 00311", "tests": 0},
                                      {"fab": "063 01 00001", "tests": 2}]})");
        const Run run = synchronise();
        QCOMPARE(run.instrumentsRead, 1);
        QCOMPARE(run.counts.stored, 2);

        line.reset();
        startLine(R"({"instruments": [{"fab": "045 01 00311", "tests": 0}]})");
        QCOMPARE(synchronise().outcome, SerialSynchronisation::Outcome::NoInstruments);
    }

    void fiftyInstrumentsAreAllRead()
    {
        startLine(R"({"instruments": [{"fab": "063 01 00100", "count": 50, "tests": 1}]})");
        const Run run = synchronise();
        QCOMPARE(run.outcome, SerialSynchronisation::Outcome::Read);
        QCOMPARE(run.instrumentsRead, 50);
        QCOMPARE(run.counts.stored, 50);
    }

    void unpluggedInstrumentStoresNothingOfTheRun()
    {
        startLine(R"({"instruments": [{"fab": "063 01 00001", "tests": 30,
                                       "faults": {"unplugAfter": 40}}]})");
        const Run run = synchronise();
        QCOMPARE(run.outcome, SerialSynchronisation::Outcome::CommunicationError);
        QCOMPARE(storedTests(), 0);
    }

    void stoppedRunStoresNothing()
    {
        startLine(demo());
        QCOMPARE(synchronise(false, true).outcome, SerialSynchronisation::Outcome::Stopped);
        QCOMPARE(storedTests(), 0);
    }

    void portThatCannotBeSelected()
    {
        qputenv("VLM_BUS_COM1", QByteArray("/nonexistent/tty"));
        QCOMPARE(synchronise().outcome, SerialSynchronisation::Outcome::PortUnavailable);
    }

    void windowStoresAndAsksForTheNewTestsWindow()
    {
        RecordingMessageBoxes boxes;
        startLine(demo());
        Settings settings;
        settings.autoCommPort = false;
        settings.commPort = 1;
        settings.timeOut = 500;
        frmLumetra4 window(frmLumetra4::Mode::Serial, settings, session);
        QVERIFY(window.runModal());
        QCOMPARE(storedTests(), 40);
        QVERIFY(boxes.shown.isEmpty());

        // No instrument of ours: the plain message, nothing to open afterwards.
        line.reset();
        startLine(R"({"instruments": [{"fab": "045 01 00311", "tests": 0}]})");
        frmLumetra4 empty(frmLumetra4::Mode::Serial, settings, session);
        QVERIFY(!empty.runModal());
        QCOMPARE(boxes.texts(), QStringList{resString(27006)});
    }

    // The command line run, with the communication log that support asks for.
    void commandLine()
    {
        startLine(demo());
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LUMETRA4_HOME"), dir.path());
        env.insert(QStringLiteral("LUMETRA4_LANG"), QStringLiteral("en"));
        env.insert(QStringLiteral("VLM_BUS_COM1"), QString::fromStdString(line->path()));
        env.insert(QStringLiteral("LUMETRA4_VLM_BUS"), QStringLiteral(VLM_BUS_FILE));
        process.setProcessEnvironment(env);
        session.close(); // the command opens the database itself
        process.start(QStringLiteral(LUMETRA4_CLI),
                      {QStringLiteral("sync"), QStringLiteral("--port"), QStringLiteral("1"),
                       QStringLiteral("--timeout"), QStringLiteral("500"),
                       QStringLiteral("--log"), dir.filePath(QStringLiteral("bus.log"))});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
                 QStringLiteral("40 tests stored, 0 already present, 0 invalid"));
        QFile log(dir.filePath(QStringLiteral("bus.log")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray text = log.readAll();
        QVERIFY(text.startsWith("Debug print from 'VLM_BUS.DLL'"));
        QVERIFY(text.contains("Function: StopCommunication"));
    }
};

QTEST_MAIN(SerialSyncTest)
#include "SerialSyncTest.moc"
