#include "simulator/FixtureReader.h"

#include <QTest>

// What a fixture sets up: every fault key reaches its instrument, and FAB texts read as shown.
class FixtureReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void everyFault();
    void fabNumbers_data();
    void fabNumbers();
};

void FixtureReaderTest::everyFault()
{
    FixtureReader::Fixture fixture =
        FixtureReader::readFile(QStringLiteral(BUS_FIXTURES "/every-fault.json"));
    QVERIFY(fixture.echo);
    std::vector<SimulatedInstrument> &instruments = fixture.line.instruments();
    QCOMPARE(instruments.size(), size_t(4));

    const InstrumentFaults &first = instruments[0].faults();
    QCOMPARE(first.delayMs, 5u);
    QCOMPARE(first.busyAnswers, 2u);
    QCOMPARE(first.badChecksums, 1u);
    QCOMPARE(first.shortMemory, 3u);
    QCOMPARE(first.unplugAfter, std::optional<uint32_t>(500));
    QCOMPARE(first.refusals.size(), size_t(1));
    QCOMPARE(first.refusals[0].service, std::optional<uint8_t>(3));
    QCOMPARE(first.refusals[0].subIndex, std::optional<uint8_t>(1));
    QCOMPARE(first.refusals[0].write, std::optional<bool>(true));
    QCOMPARE(instruments[0].memory(0), std::vector<uint8_t>({0x00, 0x11, 0x22, 0x33}));
    QCOMPARE(instruments[0].memory(4).size(), size_t(1024));
    QCOMPARE(instruments[0].tests().size(), size_t(3));

    QCOMPARE(instruments[1].faults().foreignFab, std::optional<uint32_t>(0x3F090009));
    QVERIFY(instruments[1].faults().oversizeLength);
    QVERIFY(instruments[2].faults().silent);
    QVERIFY(!instruments[2].isPresent(0));
    QCOMPARE(instruments[3].faults().joinAfter, 200u);
    QVERIFY(!instruments[3].isPresent(199));
    QVERIFY(instruments[3].isPresent(200));
}

void FixtureReaderTest::fabNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<uint>("fab");
    QTest::newRow("shown") << "063 01 00042" << true << 0x3F01002Au;
    QTest::newRow("shown without zeros") << "63 1 42" << true << 0x3F01002Au;
    QTest::newRow("decimal") << "1057030186" << true << 0x3F01002Au;
    QTest::newRow("hex") << "0x3F01002A" << true << 0x3F01002Au;
    QTest::newRow("serial above 65535") << "063 01 70000" << false << 0u;
    QTest::newRow("dashes") << "063-01-00042" << false << 0u;
}

void FixtureReaderTest::fabNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(uint, fab);
    uint32_t parsed = 0;
    QCOMPARE(FixtureReader::parseFabNumber(text, &parsed), valid);
    if (valid)
        QCOMPARE(parsed, fab);
}

QTEST_GUILESS_MAIN(FixtureReaderTest)
#include "FixtureReaderTest.moc"
