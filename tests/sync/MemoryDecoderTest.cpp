#include "SyncFixtures.h"

#include "sync/NumberText.h"
#include "sync/image/Crc16Kermit.h"
#include "sync/image/LittleEndian.h"
#include "sync/image/MemoryLayout.h"

#include <QTest>

using namespace SyncFixtures;

Q_DECLARE_METATYPE(BlockFault)

namespace {

// Writes a 32-bit value into an image and leaves the checksums as they are.
void poke32(MemoryImage &image, uint32_t address, uint32_t value)
{
    LittleEndian::put32(image.memory.data() + address, value);
}

uint32_t infoField(const MemoryImage &image, uint32_t offset)
{
    return LittleEndian::u32(image.memory.data() + image.infoBlockAddress + offset);
}

uint32_t blockAddress(const MemoryImage &image, int k)
{
    return LittleEndian::u32(image.memory.data() + infoField(image, MemoryLayout::Info::tableStart)
                             + 4 * k);
}

// Rewrites a block header field and its checksum, as an instrument with that header would.
void setHeader32(MemoryImage &image, int k, uint32_t offset, uint32_t value)
{
    uint8_t *header = image.memory.data() + blockAddress(image, k);
    LittleEndian::put32(header + offset, value);
    LittleEndian::put16(header + MemoryLayout::headerCrcOffset,
                        crc16Kermit(header, MemoryLayout::headerCrcOffset));
}

float parsed(const QString &text)
{
    return float(NumberText::parse(text).value_or(-1));
}

} // namespace

class MemoryDecoderTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void crcIsKermit()
    {
        const char *check = "123456789";
        QCOMPARE(crc16Kermit(reinterpret_cast<const uint8_t *>(check), 9), uint16_t(0x2189));
    }

    void mainTableReadPlan()
    {
        MemoryImage image = imageOf(QList<TestDescription>(25, tightnessTest()));
        QCOMPARE(infoField(image, MemoryLayout::Info::tableStart), 1000u);
        QCOMPARE(infoField(image, MemoryLayout::Info::tableEnd), 1100u);
        ImageMemory memory(image);
        MemoryDecoder decoder(memory);
        decoder.startInstrument(image.firmwareNumber);
        QVERIFY(decoder.ReadInfoBlock(image.infoBlockAddress));
        memory.clearReads();
        QVERIFY(decoder.ReadMainTable());
        const QList<ImageMemory::Read> expected = {{1000, 56}, {1056, 44}};
        QCOMPARE(memory.reads(), expected);
        QCOMPARE(decoder.instrument().mainTable.size(), 25);
    }

    void wholeBlockReadInPages_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("pages");
        QTest::newRow("no samples: two pages") << 0 << 2;
        QTest::newRow("4224 bytes: 32 pages") << (4224 - 264) / 8 << 32;
    }

    void wholeBlockReadInPages()
    {
        QFETCH(int, samples);
        QFETCH(int, pages);
        TestDescription test = tightnessTest();
        for (CurveDescription &curve : test.series)
            curve.samples.assign(samples, 0.5f);
        ImageMemory memory(imageOf({test}));
        const uint32_t address = blockAddress(memory.image(), 0);
        const Decoded decoded = decode(memory);
        QVERIFY(decoded.read);
        QCOMPARE(decoded.records.size(), 1);
        QCOMPARE(decoded.instrument.info.blockLength, uint16_t(pages * 132));
        // The header once, then every page.
        QCOMPARE(memory.readsWithin(address, pages * 132), 1 + pages);
        for (const ImageMemory::Read &read : memory.reads())
            QVERIFY(read.length <= 132);
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("pressureUnit"); // 0: no pressure series
        QTest::addColumn<bool>("withFlow");
        QTest::addColumn<int>("pipeVolumeCode"); // -1: none
        QTest::addColumn<int>("firmware");
        const int kinds[] = {0, 1, 2, 3};
        int row = 0;
        for (int kind : kinds) {
            for (int unit : {9, 10}) {
                for (bool flow : {false, true}) {
                    const int firmware = QList<int>{2002, 2003, 2999, 3000}[row % 4];
                    const int pipe = row % 7 == 6 ? -1 : row % 7;
                    QTest::addRow("kind %d unit %d flow %d pipe %d fw %d", kind, unit, int(flow),
                                  pipe, firmware)
                        << kind << unit << flow << pipe << firmware;
                    ++row;
                }
            }
        }
        QTest::newRow("no series at all") << 2 << 0 << false << 3 << 3000;
        QTest::newRow("flow only") << 1 << 0 << true << 5 << 2002;
    }

    void roundTrip()
    {
        QFETCH(int, kind);
        QFETCH(int, pressureUnit);
        QFETCH(bool, withFlow);
        QFETCH(int, pipeVolumeCode);
        QFETCH(int, firmware);

        TestDescription test;
        test.kind = kind;
        test.date = {2023, 11, 5, 17, 4, 59};
        if (kind != 0)
            test.startPressure = 0.025f;
        test.endPressure = 0.02f;
        test.flow = 1.5f;
        test.finding = 1;
        test.customerNumber = 4711;
        test.meterNumber = 123456789;
        test.measurementNumber = 12;
        test.sampleIntervalMs = 2000;
        if (pipeVolumeCode >= 0)
            test.pipeVolumeCode = pipeVolumeCode;
        if (kind == 3) {
            // Ten events at most: a regulator test records no numbers.
            test.pipeVolumeCode.reset();
            test.customerNumber.reset();
            test.meterNumber.reset();
            test.flowPressure = 21.5f;
            test.staticPressure = 23.25f;
            test.safetyValvePressure = 60;
            test.zeroShutOffFinding = 2;
            test.lowFlowSafetyFinding = 3;
        }
        if (pressureUnit == 9)
            test.series.push_back(pressureCurve(9, {21.5f, 22, 21.75f}));
        if (pressureUnit == 10)
            test.series.push_back(pressureCurve(10, {0.021f, 0.025f, 0.022f}));
        if (withFlow)
            test.series.push_back(flowCurve({1.5f, 1.25f, 1.5f}, 97));

        const Decoded decoded = decode(imageOf({test}, firmware));
        QVERIFY(decoded.read);
        QCOMPARE(decoded.outcome.blocksWithoutTest, 0);
        QCOMPARE(decoded.records.size(), 1);
        const TestRecord &record = decoded.records.front();

        const float scale = pressureUnit ? 1000.0f : 1.0f;
        QCOMPARE(record.testKind, uint8_t(kind));
        QCOMPARE(record.date, QDateTime(QDate(2023, 11, 5), QTime(17, 4, 59)));
        QCOMPARE(record.startPressure, kind != 0 ? 0.025f * scale : 0.0f);
        QCOMPARE(record.endPressure, 0.02f * scale);
        QCOMPARE(record.flow, 1.5f);
        QCOMPARE(record.finding, uint8_t(1));
        if (kind == 3) {
            QCOMPARE(record.customerNumber, QStringLiteral("M0012"));
            QCOMPARE(record.meterNumber, QStringLiteral("00000000"));
        } else {
            QCOMPARE(record.customerNumber, QStringLiteral("004711"));
            // Whole numbers from firmware 2003 on; single precision before.
            QCOMPARE(record.meterNumber, firmware > 2002 ? QStringLiteral("123456789")
                                                         : QStringLiteral("123456792"));
        }
        QCOMPARE(record.instrumentNumber, fabText);
        const QString pressure = pressureUnit == 9 ? QStringLiteral("220:215:3:215:220:217.5:")
                                 : pressureUnit == 10 ? QStringLiteral("250:210:3:210:250:220:")
                                                      : QString();
        QCOMPARE(record.pressureCurve, pressure);
        QCOMPARE(record.flowCurve, withFlow ? QStringLiteral("15:12.5:3:15:12.5:15:") : QString());
        QCOMPARE(record.gasType, withFlow ? QStringLiteral("Stadtgas") : QString());
        const int seriesCount = int(test.series.size());
        QCOMPARE(record.duration, int16_t(seriesCount ? 6 : 0));
        QCOMPARE(parsed(record.measuringTime), float(record.duration / 60.0));
        if (kind == 3) {
            QCOMPARE(record.flowPressure, 21.5f);
            QCOMPARE(record.staticPressure, 23.25f);
            QCOMPARE(record.safetyValvePressure, 60.0f);
            QCOMPARE(record.zeroShutOffFinding, uint8_t(2));
            QCOMPARE(record.lowFlowSafetyFinding, uint8_t(3));
        } else {
            QCOMPARE(record.flowPressure, TestRecord::notMeasured);
            QCOMPARE(record.zeroShutOffFinding, TestRecord::noFinding);
        }
        if (test.pipeVolumeCode) {
            QCOMPARE(record.pipeVolume, QString::number(*test.pipeVolumeCode == 0
                                                            ? 50
                                                            : *test.pipeVolumeCode * 100));
            const float reference = firmware < 3000 ? 22 : 23;
            QCOMPARE(parsed(record.referencePressure), reference);
            QCOMPARE(parsed(record.leakRate), float(reference * 1.5 / record.endPressure));
        } else {
            QVERIFY(record.pipeVolume.isEmpty());
            QVERIFY(record.referencePressure.isEmpty());
            QVERIFY(record.leakRate.isEmpty());
        }
    }

    void invalidBlocksYieldNoTest_data()
    {
        QTest::addColumn<BlockFault>("fault");
        QTest::addColumn<bool>("countsAsLost");
        QTest::newRow("header CRC") << BlockFault::HeaderCrc << true;
        QTest::newRow("series CRC") << BlockFault::SeriesCrc << true;
        QTest::newRow("event CRC") << BlockFault::EventCrc << true;
        QTest::newRow("empty slot") << BlockFault::EmptySlot << false;
        QTest::newRow("measurement number 0") << BlockFault::MeasurementNumberZero << true;
        QTest::newRow("samples above valid memory") << BlockFault::SamplesAboveValidMemory
                                                    << true;
    }

    void invalidBlocksYieldNoTest()
    {
        QFETCH(BlockFault, fault);
        QFETCH(bool, countsAsLost);
        TestDescription broken = tightnessTest(2);
        broken.fault = fault;
        ImageMemory memory(imageOf({tightnessTest(1), broken, tightnessTest(3)}));
        const uint32_t length = infoField(memory.image(), MemoryLayout::Info::blockLength)
                                & 0xFFFF;
        const uint32_t brokenAddress = blockAddress(memory.image(), 0) + length;
        const Decoded decoded = decode(memory);
        QVERIFY(decoded.read);
        QCOMPARE(decoded.records.size(), 2);
        QCOMPARE(decoded.records[0].customerNumber, QStringLiteral("004711"));
        QCOMPARE(decoded.records[1].customerNumber, QStringLiteral("004713"));
        QCOMPARE(decoded.outcome.blocksWithoutTest, countsAsLost ? 1 : 0);
        const int reads = memory.readsWithin(brokenAddress, length);
        if (fault == BlockFault::HeaderCrc || fault == BlockFault::SamplesAboveValidMemory)
            QCOMPARE(reads, 1); // only the header
        if (fault == BlockFault::EmptySlot)
            QCOMPARE(reads, 0);
    }

    // Memory that breaks the layout: the block is invalid, nothing is read outside it.
    void brokenLayout_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("three series") << "series";
        QTest::newRow("samples end before start") << "valuesEnd";
        QTest::newRow("samples beyond the block") << "valuesBeyond";
        QTest::newRow("events end before start") << "eventsEnd";
        QTest::newRow("events before the block") << "eventsBefore";
        QTest::newRow("events beyond the block") << "eventsBeyond";
        QTest::newRow("samples without series") << "noSeries";
        QTest::newRow("sample size 0") << "sampleSize";
        QTest::newRow("NaN sample") << "nan";
        QTest::newRow("infinite event value") << "infEvent";
    }

    void brokenLayout()
    {
        QFETCH(QString, what);
        TestDescription test = tightnessTest();
        if (what == QLatin1String("sampleSize"))
            test.bytesPerSample = 0;
        if (what == QLatin1String("nan"))
            test.series[1].samples[1] = std::numeric_limits<float>::quiet_NaN();
        if (what == QLatin1String("infEvent"))
            test.flow = std::numeric_limits<float>::infinity();
        MemoryImage image = imageOf({test, tightnessTest(2)});
        const uint32_t address = blockAddress(image, 0);
        using namespace MemoryLayout;
        uint8_t *header = image.memory.data() + address;
        if (what == QLatin1String("series") || what == QLatin1String("noSeries")) {
            header[Header::seriesCount] = what == QLatin1String("series") ? 3 : 0;
            LittleEndian::put16(header + headerCrcOffset, crc16Kermit(header, headerCrcOffset));
        }
        if (what == QLatin1String("valuesEnd"))
            setHeader32(image, 0, Header::valuesEnd, address + 200);
        if (what == QLatin1String("valuesBeyond"))
            setHeader32(image, 0, Header::valuesEnd, address + 264 + 4000);
        if (what == QLatin1String("eventsEnd"))
            setHeader32(image, 0, Header::eventsEnd, address);
        if (what == QLatin1String("eventsBefore")) {
            setHeader32(image, 0, Header::eventsStart, address - 18);
            setHeader32(image, 0, Header::eventsEnd, address + 100);
        }
        if (what == QLatin1String("eventsBeyond")) {
            setHeader32(image, 0, Header::eventsStart, address + 200);
            setHeader32(image, 0, Header::eventsEnd, address + 236);
        }
        const Decoded decoded = decode(image);
        QVERIFY(decoded.read);
        QVERIFY(!decoded.instrument.blocks[0].blockValid);
        QVERIFY(decoded.instrument.blocks[1].blockValid);
        QCOMPARE(decoded.records.size(), 1);
        QCOMPARE(decoded.outcome.blocksWithoutTest, 1);
    }

    // Info blocks and tables that cannot be followed: no block is read, the instrument is
    // marked, nothing crashes.
    void brokenTables_data()
    {
        QTest::addColumn<uint32_t>("offset");
        QTest::addColumn<uint32_t>("value");
        using namespace MemoryLayout;
        QTest::newRow("table end before start") << Info::tableEnd << 996u;
        QTest::newRow("table start not aligned") << Info::tableStart << 1001u;
        QTest::newRow("table not of whole entries") << Info::tableEnd << 1010u;
        QTest::newRow("table of absurd size") << Info::tableEnd << 0xFFFFFFF0u;
        QTest::newRow("header length not 52") << Info::headerLength << 0xFFFFFFu;
        QTest::newRow("block length not whole pages") << Info::blockLength << 300u;
        QTest::newRow("block of 100 bytes") << Info::blockLength << 100u;
    }

    void brokenTables()
    {
        QFETCH(uint32_t, offset);
        QFETCH(uint32_t, value);
        MemoryImage image = imageOf({tightnessTest(1), tightnessTest(2)});
        if (offset == MemoryLayout::Info::blockLength)
            LittleEndian::put16(image.memory.data() + image.infoBlockAddress + offset,
                                uint16_t(value));
        else
            poke32(image, image.infoBlockAddress + offset, value);
        ImageMemory memory(image);
        const Decoded decoded = decode(memory);
        QVERIFY(decoded.read);
        QVERIFY(decoded.instrument.layoutFault);
        QVERIFY(decoded.records.isEmpty());
        QVERIFY(decoded.outcome.layoutFault);
        QVERIFY(memory.reads().size() <= 3); // info block and at most the table
    }

    void failedReadStopsTheInstrument()
    {
        MemoryImage image = imageOf({tightnessTest(1)});
        image.memory.resize(image.memory.size() - 10); // the last page cannot be read
        ImageMemory memory(image);
        MemoryDecoder decoder(memory);
        QVERIFY(!decoder.ReadAll(image.firmwareNumber, image.infoBlockAddress));
        QVERIFY(!decoder.lastError().isEmpty());
    }

    void stopRequestEndsEveryStep()
    {
        ImageMemory memory(imageOf({tightnessTest(1)}));
        bool stop = false;
        MemoryDecoder decoder(memory, [&stop] { return stop; });
        decoder.startInstrument(2500);
        QVERIFY(decoder.ReadInfoBlock(memory.image().infoBlockAddress));
        stop = true;
        QVERIFY(!decoder.ReadMainTable());
        QVERIFY(!decoder.ReadSeriesTable(0));
    }

    // Records after an empty one are counted but their slots beyond the count are not seen.
    void eventsAfterAnEmptyRecord()
    {
        TestDescription test = tightnessTest();
        test.customerNumber.reset();
        test.meterNumber.reset();
        test.pipeVolumeCode.reset(); // events: date, 2 pressures, flow, finding
        MemoryImage image = imageOf({test});
        uint8_t *area = image.memory.data() + blockAddress(image, 0)
                        + MemoryLayout::eventAreaOffset;
        // Move the finding record (slot 4) to slot 6 and leave slot 4 empty.
        std::copy_n(area + 4 * 18, 18, area + 6 * 18);
        std::fill_n(area + 4 * 18, 18, uint8_t(0xFF));
        const Decoded decoded = decode(image);
        QCOMPARE(decoded.instrument.blocks[0].eventCount, 5);
        QCOMPARE(decoded.records.size(), 1);
        QCOMPARE(decoded.records[0].finding, TestRecord::noFinding);
    }
};

QTEST_GUILESS_MAIN(MemoryDecoderTest)
#include "MemoryDecoderTest.moc"
