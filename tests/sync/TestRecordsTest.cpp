#include "SyncFixtures.h"

#include "sync/CurveText.h"
#include "sync/EventEvaluation.h"
#include "sync/InstrumentCatalogue.h"
#include "sync/NumberText.h"
#include "sync/image/MemoryLayout.h"

#include <QTest>

using namespace SyncFixtures;

namespace {

EventRecord eventOf(uint8_t code, double value = 0)
{
    EventRecord record;
    record.code = code;
    record.value = value;
    return record;
}

EventRecord dateEvent(uint8_t code)
{
    EventRecord record = eventOf(code);
    record.year = 2024;
    record.month = 2;
    record.day = 29;
    record.hour = 23;
    record.minute = 59;
    record.second = 58;
    return record;
}

DecodedBlock blockWithEvents(const QList<EventRecord> &events)
{
    DecodedBlock block;
    for (int i = 0; i < events.size(); ++i)
        block.events[i] = events[i];
    block.eventCount = int(events.size());
    return block;
}

} // namespace

class TestRecordsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void singleText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("1.65") << 1.65f << "C" << "1.65";
        QTest::newRow("German separator") << 1.65f << "de_DE" << "1,65";
        QTest::newRow("no group separator") << 12345.5f << "de_DE" << "12345,5";
        QTest::newRow("negative zero") << -0.0f << "C" << "0";
        QTest::newRow("whole") << 210.00002f << "C" << "210.00002";
        QTest::newRow("small, no exponent") << 1e-7f << "C" << "0.0000001";
        QTest::newRow("large single") << 123456789.0f << "C" << "123456792";
    }

    void singleText()
    {
        QFETCH(float, value);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QCOMPARE(NumberText::fromSingle(value, QLocale(locale)), text);
        QCOMPARE(float(*NumberText::parse(text)), value == 0 ? 0.0f : value);
    }

    void parseEitherSeparator_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("valid");
        QTest::newRow("point") << "1.5" << 1.5 << true;
        QTest::newRow("comma") << "1,5" << 1.5 << true;
        QTest::newRow("blanks and sign") << " +22 " << 22.0 << true;
        QTest::newRow("negative") << "-99999" << -99999.0 << true;
        QTest::newRow("text") << "abc" << 0.0 << false;
        QTest::newRow("empty") << "" << 0.0 << false;
        QTest::newRow("trailing junk") << "1.5x" << 0.0 << false;
        QTest::newRow("not finite") << "inf" << 0.0 << false;
    }

    void parseEitherSeparator()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(bool, valid);
        const auto parsed = NumberText::parse(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void roundingToThousandths()
    {
        QCOMPARE(NumberText::roundToThousandths(double(0.021f)), 0.021);
        QCOMPARE(NumberText::roundToThousandths(double(10.75f)), 10.75);
        QCOMPARE(NumberText::roundToThousandths(1.23456), 1.235);
        QCOMPARE(NumberText::roundToThousandths(-0.0004), 0.0);
    }

    void catalogue_data()
    {
        QTest::addColumn<int>("nameCode");
        QTest::addColumn<QString>("gasType");
        QTest::newRow("town gas") << 97 << "Stadtgas";
        QTest::newRow("natural gas") << 98 << "Erdgas";
        QTest::newRow("CH4") << 86 << "CH4";
        QTest::newRow("no dash: whole name") << 83 << "Durchfluss";
        QTest::newRow("last entry") << 247 << "";
        QTest::newRow("outside") << 300 << "";
    }

    void catalogue()
    {
        QFETCH(int, nameCode);
        QFETCH(QString, gasType);
        QCOMPARE(InstrumentCatalogue::gasType(nameCode), gasType);
    }

    void catalogueEntries()
    {
        QCOMPARE(InstrumentCatalogue::name(155), QStringLiteral("Taste 0"));
        QCOMPARE(InstrumentCatalogue::name(164), QStringLiteral("Taste 9"));
        QCOMPARE(InstrumentCatalogue::name(175), QStringLiteral("Frei"));
        QCOMPARE(InstrumentCatalogue::name(246), QStringLiteral("Kartennummer GSM"));
        QCOMPARE(InstrumentCatalogue::unit(12), QStringLiteral("°C"));
        QCOMPARE(InstrumentCatalogue::unit(101), QStringLiteral("nA"));
        QCOMPARE(InstrumentCatalogue::typeText(8), QStringLiteral("8 = Byte-Array"));
        QVERIFY(!InstrumentCatalogue::isBar(9));
        QVERIFY(InstrumentCatalogue::isBar(10));
        QVERIFY(!InstrumentCatalogue::isBar(-1));
    }

    void pressureEvents_data()
    {
        QTest::addColumn<uint8_t>("dateCode");
        QTest::addColumn<int>("kind");
        QTest::addColumn<float>("start");
        QTest::addColumn<float>("end");
        QTest::newRow("serviceability: both are end, the second wins")
            << EventCode::ServiceabilityTest << 0 << 0.0f << 0.02f;
        QTest::newRow("tightness: first start, second end")
            << EventCode::TightnessTest << 2 << 0.025f << 0.02f;
        QTest::newRow("load") << EventCode::LoadTest << 1 << 0.025f << 0.02f;
        QTest::newRow("regulator") << EventCode::RegulatorTest << 3 << 0.025f << 0.02f;
    }

    void pressureEvents()
    {
        QFETCH(uint8_t, dateCode);
        QFETCH(int, kind);
        QFETCH(float, start);
        QFETCH(float, end);
        const EventSummary summary = EvaluateEvents(blockWithEvents(
            {dateEvent(dateCode), eventOf(EventCode::Pressure, 0.025),
             eventOf(EventCode::Pressure, 0.02), eventOf(0x42, 7)}));
        QCOMPARE(int(summary.testKind), kind);
        QCOMPARE(summary.date, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)));
        QCOMPARE(summary.startPressure, start);
        QCOMPARE(summary.endPressure, end);
        QVERIFY(summary.plausible);
    }

    void eventValues_data()
    {
        QTest::addColumn<uint8_t>("code");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pipeVolume");
        QTest::addColumn<bool>("plausible");
        QTest::newRow("pipe volume 0") << EventCode::PipeVolume << 0.0 << "50" << true;
        QTest::newRow("pipe volume 5") << EventCode::PipeVolume << 5.0 << "500" << true;
        QTest::newRow("pipe volume 6 leaves it") << EventCode::PipeVolume << 6.0 << "" << true;
        QTest::newRow("pipe volume 2.5 leaves it") << EventCode::PipeVolume << 2.5 << "" << true;
        QTest::newRow("finding 300") << EventCode::Finding << 300.0 << "" << false;
        QTest::newRow("finding -1") << EventCode::ZeroShutOffFinding << -1.0 << "" << false;
    }

    void eventValues()
    {
        QFETCH(uint8_t, code);
        QFETCH(double, value);
        QFETCH(QString, pipeVolume);
        QFETCH(bool, plausible);
        const EventSummary summary = EvaluateEvents(blockWithEvents({eventOf(code, value)}));
        QCOMPARE(summary.pipeVolumeText, pipeVolume);
        QCOMPARE(summary.plausible, plausible);
    }

    void noCalendarDateIsImplausible()
    {
        EventRecord date = dateEvent(EventCode::TightnessTest);
        date.month = 13;
        QVERIFY(!EvaluateEvents(blockWithEvents({date})).plausible);
        // Without any date event the test has the zero date.
        QCOMPARE(EvaluateEvents(blockWithEvents({})).date,
                 QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    }

    void curves_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QList<float>>("samples");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("curve");
        QTest::newRow("mbar") << 9 << QList<float>{10.5f, 11, 10.75f} << "C"
                              << "110:105:3:105:110:107.5:";
        QTest::newRow("bar to mbar") << 10 << QList<float>{0.021f, 0.025f} << "C"
                                     << "250:210:2:210:250:";
        QTest::newRow("German") << 9 << QList<float>{10.5f, 11, 10.75f} << "de_DE"
                                << "110:105:3:105:110:107,5:";
        QTest::newRow("MAX starts at 0") << 9 << QList<float>{-1, -2} << "C"
                                         << "0:-20:2:-10:-20:";
        QTest::newRow("rounded to 3 decimals") << 48 << QList<float>{1.23456f} << "C"
                                               << "12.35:12.35:1:12.35:";
    }

    void curves()
    {
        QFETCH(int, unit);
        QFETCH(QList<float>, samples);
        QFETCH(QString, locale);
        QFETCH(QString, curve);
        TestDescription test = tightnessTest();
        test.series = {CurveDescription{82, uint8_t(unit), {samples.begin(), samples.end()}}};
        const Decoded decoded = decode(imageOf({test}));
        QCOMPARE(BuildCurve(decoded.instrument.blocks[0], 0, QLocale(locale)), curve);
    }

    void customerAndMeterNumbers_data()
    {
        QTest::addColumn<double>("customer"); // -1: no event
        QTest::addColumn<double>("meter");
        QTest::addColumn<int>("firmware");
        QTest::addColumn<QString>("customerNumber");
        QTest::addColumn<QString>("meterNumber");
        QTest::newRow("no events") << -1.0 << -1.0 << 2500 << "M0012" << "00000000";
        QTest::newRow("zero values") << 0.0 << 0.0 << 2500 << "M0012" << "00000000";
        QTest::newRow("4711") << 4711.0 << 42.0 << 2500 << "004711" << "00000042";
        QTest::newRow("nine digits") << 1234567.0 << 123456789.0 << 2003 << "1234567"
                                     << "123456789";
        QTest::newRow("single precision") << 4711.0 << 123456789.0 << 2002 << "004711"
                                          << "123456792";
    }

    void customerAndMeterNumbers()
    {
        QFETCH(double, customer);
        QFETCH(double, meter);
        QFETCH(int, firmware);
        QFETCH(QString, customerNumber);
        QFETCH(QString, meterNumber);
        TestDescription test = tightnessTest(12);
        test.customerNumber.reset();
        test.meterNumber.reset();
        if (customer >= 0)
            test.customerNumber = customer;
        if (meter >= 0)
            test.meterNumber = meter;
        const Decoded decoded = decode(imageOf({test}, uint32_t(firmware)));
        QCOMPARE(decoded.records.size(), 1);
        QCOMPARE(decoded.records[0].customerNumber, customerNumber);
        QCOMPARE(decoded.records[0].meterNumber, meterNumber);
    }

    void leakRate()
    {
        TestDescription test = tightnessTest();
        test.startPressure = 0.021f;
        test.endPressure = 0.02f;
        test.flow = 1.5f;
        test.pipeVolumeCode = 2;
        const Decoded decoded = decode(imageOf({test}, 2500));
        const TestRecord &record = decoded.records.front();
        QCOMPARE(record.endPressure, 20.0f);
        QCOMPARE(record.pipeVolume, QStringLiteral("200"));
        QCOMPARE(record.referencePressure, QStringLiteral("22"));
        QCOMPARE(record.leakRate, QStringLiteral("1.65"));
        // Above 30 mbar the end pressure is the reference.
        test.endPressure = 0.04f;
        const Decoded high = decode(imageOf({test}, 3100));
        QCOMPARE(high.records.front().referencePressure, QStringLiteral("40"));
        QCOMPARE(high.records.front().leakRate, QStringLiteral("1.5"));
    }

    void durationBeyond16BitsGivesNoTest()
    {
        TestDescription test = tightnessTest();
        test.sampleIntervalMs = 60000;
        for (CurveDescription &curve : test.series)
            curve.samples.assign(600, 1.0f); // 600 minutes
        const Decoded decoded = decode(imageOf({test, tightnessTest(2)}));
        QCOMPARE(decoded.records.size(), 1);
        QCOMPARE(decoded.outcome.blocksWithoutTest, 1);
    }

    void stopRequestEndsBuilding()
    {
        const Decoded decoded = decode(imageOf({tightnessTest(1), tightnessTest(2)}));
        QList<TestRecord> records;
        const BuildOutcome outcome = BuildTests(decoded.instrument, fabText, records,
                                                [] { return true; });
        QVERIFY(!outcome.completed);
        QVERIFY(records.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRecordsTest)
#include "TestRecordsTest.moc"
