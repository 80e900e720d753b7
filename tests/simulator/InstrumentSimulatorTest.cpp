#include "PcSide.h"

#include "simulator/InstrumentSimulator.h"
#include "simulator/SimulatorTelegram.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// One instrument, 063 01 00042, with the standard parameters and small memories of every type.
const char *const oneInstrument = R"({"instruments": [{"fab": "063 01 00042", "tests": 3,
    "lastChanged": 4,
    "memory": {"0": {"hex": "10 11 12 13 14 15"}, "1": {"hex": "20 21 22 23 24 25"},
               "3": {"hex": "30 31 32 33 34 35"}, "4": {"hex": "40 41 42 43 44 45"}}}]})";

QString withInstruments(const QString &instruments)
{
    return QStringLiteral(R"({"instruments": [%1]})").arg(instruments);
}

QString littleEndianHex(uint32_t value)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(value & 0xFF, 2, 16, QChar('0')).arg(value >> 8 & 0xFF, 2, 16, QChar('0'))
        .arg(value >> 16 & 0xFF, 2, 16, QChar('0')).arg(value >> 24, 2, 16, QChar('0'));
}

// Hex bytes of an exchange line: "F" and "G" stand for the FAB numbers of the first two
// instruments, "00*252" for 252 bytes of 00.
QByteArray bytesOf(QString text, const std::vector<uint32_t> &fabNumbers)
{
    QByteArray bytes;
    for (const QString &token : text.split(u' ', Qt::SkipEmptyParts)) {
        if (token == u"F" || token == u"G") {
            const QString fab = littleEndianHex(fabNumbers.at(token == u"F" ? 0 : 1));
            bytes += QByteArray::fromHex(fab.toLatin1());
        } else if (token.contains(u'*')) {
            const QStringList parts = token.split(u'*');
            bytes += QByteArray::fromHex(parts[0].toLatin1()).repeated(parts[1].toInt());
        } else {
            bytes += QByteArray::fromHex(token.toLatin1());
        }
    }
    return bytes;
}

// Search and attach of the first instrument, ahead of every service case.
const QStringList attachFirst = {"00 => FF F", "80 F => 80 F"};

} // namespace

// The instrument side of the telegram protocol, driven by a hand-written PC side over the
// simulator's pseudo-terminal. Each case is a list of exchanges "request => answer": the
// request without its checksum (or "raw" bytes sent as they are), the answer without its
// checksum, nothing when no answer may come, and " !" when the answer's checksum must be wrong.
class InstrumentSimulatorTest : public QObject
{
    Q_OBJECT

private slots:
    void checksumExamples_data();
    void checksumExamples();
    void services_data();
    void services();
    void faults_data();
    void faults();
    void delayHoldsBackEveryAnswer();
    void pacing_data();
    void pacing();
    void deletionEmptiesMeasurementMemory();
    void unpluggedLineHangsUp();

private:
    void runExchanges(const QString &fixture, const QStringList &exchanges);
};

void InstrumentSimulatorTest::checksumExamples_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("checksum");
    QTest::newRow("digits 1 to 9") << QByteArray("123456789") << 0x89;
    QTest::newRow("one zero byte") << QByteArray(1, '\0') << 0x00;
}

void InstrumentSimulatorTest::checksumExamples()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, checksum);
    QCOMPARE(int(SimulatorTelegram::checksum(reinterpret_cast<const uint8_t *>(bytes.data()),
                                             size_t(bytes.size()))),
             checksum);
    QCOMPARE(int(PcSide::checksum(bytes)), checksum);
}

void InstrumentSimulatorTest::runExchanges(const QString &fixture, const QStringList &exchanges)
{
    std::string error;
    auto simulator = InstrumentSimulator::fromJson(fixture.toStdString(), &error);
    QVERIFY2(simulator, error.c_str());
    QVERIFY2(simulator->start(), simulator->error().c_str());
    PcSide pc(simulator->devicePath(), simulator->echo());
    QVERIFY(pc.isOpen());
    const std::vector<uint32_t> fabNumbers = simulator->fabNumbers();
    static const QRegularExpression line(QStringLiteral("^(raw )?(.*?)=>(.*?)( !)?$"));
    for (const QString &exchange : exchanges) {
        const QRegularExpressionMatch parts = line.match(exchange);
        QVERIFY2(parts.hasMatch(), qPrintable(exchange));
        const bool raw = !parts.captured(1).isEmpty();
        QByteArray request = bytesOf(parts.captured(2), fabNumbers);
        const QByteArray expected = bytesOf(parts.captured(3), fabNumbers);
        const bool checksumWrong = !parts.captured(4).isEmpty();
        const QByteArray answer = raw ? pc.sendRaw(request) : pc.transfer(request);
        if (!raw)
            request += char(PcSide::checksum(request));
        if (simulator->echo())
            QCOMPARE(pc.echo().toHex(' '), request.toHex(' '));
        if (expected.isEmpty()) {
            QVERIFY2(answer.isEmpty(), qPrintable(exchange + " got " + answer.toHex(' ')));
            continue;
        }
        QCOMPARE(answer.chopped(1).toHex(' '), expected.toHex(' '));
        QVERIFY2((uint8_t(answer.back()) != PcSide::checksum(expected)) == checksumWrong,
                 qPrintable(exchange));
    }
}

void InstrumentSimulatorTest::services_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QStringList>("exchanges");
    const QString one = QString::fromLatin1(oneInstrument);
    const auto row = [&](const char *name, const QStringList &exchanges) {
        QTest::newRow(name) << one << exchanges;
    };
    row("search finds no attached instrument", {"00 =>"});
    row("0 switch bus state: leaves bus mode, found again",
        {"AA F 40 00 01 00 => 55 F 00 00", "AA F 3D 00 00 =>", "00 => FF F"});
    row("1 number of all parameters: highest number + 1", {"AA F 01 00 00 => 55 F 00 02 49 00"});
    row("2 number of parameters", {"AA F 02 00 00 => 55 F 00 02 0D 00"});
    row("3 parameter selected, then type, value, description",
        {"AA F 43 00 02 04 00 => 55 F 00 00", "AA F 03 02 00 => 55 F 00 02 02 00",
         "AA F 03 01 00 => 55 F 00 02 1E 00", "AA F 03 03 00 => 55 F 00 04 03 00 00 00"});
    row("3 parameter 13, firmware number",
        {"AA F 43 00 02 0D 00 => 55 F 00 00", "AA F 03 02 00 => 55 F 00 02 04 00",
         "AA F 03 01 00 => 55 F 00 04 B8 0B 00 00", "AA F 03 03 00 => 55 F 00 04 01 00 00 00"});
    row("3 parameter 71, info block address",
        {"AA F 43 00 02 47 00 => 55 F 00 00", "AA F 03 01 00 => 55 F 00 04 40 00 00 00"});
    row("3 string parameter",
        {"AA F 43 00 02 09 00 => 55 F 00 00", "AA F 03 02 00 => 55 F 00 02 07 00",
         "AA F 03 01 00 => 55 F 00 09 4C 75 6D 65 74 72 61 20 34"});
    row("3 value written and read back",
        {"AA F 43 00 02 04 00 => 55 F 00 00", "AA F 43 01 02 2C 01 => 55 F 00 00",
         "AA F 03 01 00 => 55 F 00 02 2C 01"});
    row("3 value of the wrong length refused",
        {"AA F 43 00 02 04 00 => 55 F 00 00", "AA F 43 01 01 2C => 55 F 40 00",
         "AA F 03 01 00 => 55 F 00 02 1E 00"});
    row("3 read-only parameter refused",
        {"AA F 43 00 02 01 00 => 55 F 00 00", "AA F 43 01 01 07 => 55 F 40 00"});
    row("3 unknown parameter refused", {"AA F 43 00 02 F4 01 => 55 F 40 00"});
    row("3 value read before any selection refused", {"AA F 03 01 00 => 55 F 40 00"});
    row("14 search next from the start",
        {"AA F 4E 00 02 FF FF => 55 F 00 00", "AA F 0E 00 00 => 55 F 00 02 01 00",
         "AA F 0E 00 00 => 55 F 00 02 02 00", "AA F 0E 00 00 => 55 F 00 02 03 00",
         "AA F 03 02 00 => 55 F 00 02 01 00"});
    row("14 start position selects the parameter after it",
        {"AA F 4E 00 02 03 00 => 55 F 00 00", "AA F 03 02 00 => 55 F 00 02 02 00",
         "AA F 03 01 00 => 55 F 00 02 1E 00"});
    row("14 nothing after the last parameter",
        {"AA F 4E 00 02 48 00 => 55 F 00 00", "AA F 0E 00 00 => 55 F 00 02 FF FF"});
    row("15 last changed, then reset",
        {"AA F 0F 00 00 => 55 F 00 04 04 00 01 03", "AA F 4F 00 04 FF FF FF FF => 55 F 00 00",
         "AA F 0F 00 00 => 55 F 00 04 FF FF FF FF"});
    row("16 device mode", {"AA F 10 00 00 => 55 F 00 01 00", "AA F 50 00 01 01 => 55 F 00 00",
                           "AA F 10 00 00 => 55 F 00 01 01"});
    row("32 memory type 0", {"AA F 60 01 01 04 => 55 F 00 00",
                             "AA F 20 00 04 02 00 00 00 => 55 F 00 04 12 13 14 15"});
    row("33 memory type 1", {"AA F 61 01 01 04 => 55 F 00 00",
                             "AA F 21 00 04 02 00 00 00 => 55 F 00 04 22 23 24 25"});
    row("35 memory type 3", {"AA F 63 01 01 04 => 55 F 00 00",
                             "AA F 23 00 04 02 00 00 00 => 55 F 00 04 32 33 34 35"});
    row("36 memory type 4", {"AA F 64 01 01 04 => 55 F 00 00",
                             "AA F 24 00 04 02 00 00 00 => 55 F 00 04 42 43 44 45"});
    row("memory lengths kept per type",
        {"AA F 60 01 01 02 => 55 F 00 00", "AA F 64 01 01 03 => 55 F 00 00",
         "AA F 20 00 04 00 00 00 00 => 55 F 00 02 10 11",
         "AA F 24 00 04 00 00 00 00 => 55 F 00 03 40 41 42"});
    row("34 measurement memory: info block of three tests",
        {"AA F 62 01 01 08 => 55 F 00 00",
         "AA F 22 00 04 40 00 00 00 => 55 F 00 08 E8 03 00 00 F4 03 00 00"});
    row("32 memory beyond its end reads as zeros",
        {"AA F 60 01 01 04 => 55 F 00 00",
         "AA F 20 00 04 04 00 00 00 => 55 F 00 04 14 15 00 00"});
    row("32 memory written and read back",
        {"AA F 60 00 06 01 00 00 00 AB CD => 55 F 00 00", "AA F 60 01 01 03 => 55 F 00 00",
         "AA F 20 00 04 00 00 00 00 => 55 F 00 03 10 AB CD"});
    row("32 memory write beyond its end refused",
        {"AA F 60 00 06 05 00 00 00 AB CD => 55 F 40 00"});
    row("60 sync identifier from the broadcast",
        {"0F 01 78 56 34 12 =>", "AA F 3C 00 00 => 55 F 00 04 78 56 34 12"});
    row("61 time-out", {"AA F 7D 00 02 32 00 => 55 F 00 00", "AA F 3D 00 00 => 55 F 00 02 32 00"});
    row("62 new FAB number, answered under the old one",
        {"AA F 7E 00 04 2B 00 01 3F => 55 F 00 00", "AA F 3D 00 00 =>",
         "AA 2B 00 01 3F 3D 00 00 => 55 2B 00 01 3F 00 02 00 00"});
    row("63 lock", {"AA F 7F 00 01 FF => 55 F 00 00", "AA F 7F 00 01 00 => 55 F 00 00"});
    row("unknown service refused", {"AA F 14 00 00 => 55 F 40 00"});
    row("read of a write-only service refused", {"AA F 3E 00 00 => 55 F 40 00"});
    row("request to another FAB number unanswered", {"AA 2B 00 01 3F 3D 00 00 =>"});
}

void InstrumentSimulatorTest::services()
{
    QFETCH(QString, fixture);
    QFETCH(QStringList, exchanges);
    runExchanges(fixture, attachFirst + exchanges);
}

void InstrumentSimulatorTest::faults_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QStringList>("exchanges");
    const auto row = [](const char *name, const char *instruments,
                        const QStringList &exchanges) {
        QTest::newRow(name) << withInstruments(QString::fromLatin1(instruments)) << exchanges;
    };
    row("silent", R"({"fab": "063 01 00042", "faults": {"silent": true}})",
        {"00 =>", "80 F =>", "AA F 3D 00 00 =>"});
    row("busy twice",
        R"({"fab": "063 01 00042", "faults": {"busy": 2}})",
        attachFirst + QStringList{"AA F 3D 00 00 => 55 F 20 00", "AA F 3D 00 00 => 55 F 20 00",
                                  "AA F 3D 00 00 => 55 F 00 02 00 00"});
    row("bad checksum three times", R"({"fab": "063 01 00042", "faults": {"badChecksum": 3}})",
        {"00 => FF F !", "80 F => 80 F !", "AA F 3D 00 00 => 55 F 00 02 00 00 !",
         "AA F 3D 00 00 => 55 F 00 02 00 00"});
    row("one service refused",
        R"({"fab": "063 01 00042", "faults": {"refuse":
            [{"service": 3, "subIndex": 1, "write": true}]}})",
        attachFirst + QStringList{"AA F 43 00 02 04 00 => 55 F 00 00",
                                  "AA F 43 01 02 2C 01 => 55 F 40 00",
                                  "AA F 03 01 00 => 55 F 00 02 1E 00"});
    row("every write refused",
        R"({"fab": "063 01 00042", "faults": {"refuse": [{"write": true}]}})",
        attachFirst + QStringList{"AA F 7D 00 02 32 00 => 55 F 40 00",
                                  "AA F 3D 00 00 => 55 F 00 02 00 00"});
    row("foreign FAB number in service answers",
        R"({"fab": "063 01 00042", "faults": {"foreignFab": "063 09 00009"}})",
        attachFirst + QStringList{"AA F 3D 00 00 => 55 09 00 09 3F 00 02 00 00"});
    row("length byte above 251",
        R"({"fab": "063 01 00042", "faults": {"oversizeLength": true}})",
        attachFirst + QStringList{"AA F 3D 00 00 => 55 F 00 FC 00*252",
                                  "AA F 7D 00 02 32 00 => 55 F 00 00"});
    row("short memory answer",
        R"({"fab": "063 01 00042", "memory": {"0": {"hex": "10 11 12 13 14 15"}},
            "faults": {"shortMemory": 3}})",
        attachFirst + QStringList{"AA F 60 01 01 04 => 55 F 00 00",
                                  "AA F 20 00 04 00 00 00 00 => 55 F 00 01 10"});
    row("unplugged after three telegrams",
        R"({"fab": "063 01 00042", "faults": {"unplugAfter": 3}})",
        attachFirst + QStringList{"AA F 3D 00 00 => 55 F 00 02 00 00",
                                  "AA F 3D 00 00 => 55 F 00 02 00 00", "AA F 3D 00 00 =>",
                                  "80 F =>", "00 =>"});
    row("joins after three telegrams on the line",
        R"({"fab": "063 01 00042", "faults": {"joinAfter": 3}})",
        {"00 =>", "00 =>", "80 F =>", "00 => FF F", "80 F => 80 F"});
    row("another device type", R"({"fab": "045 01 00311"})",
        {"00 => FF 37 01 01 2D", "80 37 01 01 2D => 80 37 01 01 2D",
         "AA 37 01 01 2D 3D 00 00 => 55 37 01 01 2D 00 02 00 00"});
    row("two instruments answer the search in turn",
        R"({"fab": "063 01 00042", "count": 2})",
        {"00 => FF F", "80 F => 80 F", "00 => FF G", "80 G => 80 G", "00 =>",
         "AA G 3D 00 00 => 55 G 00 02 00 00", "AA F 3D 00 00 => 55 F 00 02 00 00"});
    row("device type parameter of another type", R"({"fab": "045 01 00311"})",
        {"00 => FF 37 01 01 2D", "80 37 01 01 2D => 80 37 01 01 2D",
         "AA 37 01 01 2D 43 00 02 01 00 => 55 37 01 01 2D 00 00",
         "AA 37 01 01 2D 03 01 00 => 55 37 01 01 2D 00 01 2D"});
    row("two instruments with the same FAB number both answer the search",
        R"({"fab": "063 01 00042"}, {"fab": "063 01 00042"})",
        {"00 => FF F", "80 F => 80 F", "00 => FF F"});
    row("noise and a wrong checksum go unanswered", R"({"fab": "063 01 00042"})",
        {"raw 13 37 =>", "raw 00 01 =>", "raw 80 2A 00 01 3F 00 =>", "00 => FF F"});
    row("cut-short telegram dropped after a pause", R"({"fab": "063 01 00042"})",
        attachFirst + QStringList{"raw AA 2A 00 01 3F 3D =>",
                                  "AA F 3D 00 00 => 55 F 00 02 00 00"});
    QTest::newRow("line without echo")
        << QStringLiteral(R"({"echo": false, "instruments": [{"fab": "063 01 00042"}]})")
        << attachFirst + QStringList{"AA F 3D 00 00 => 55 F 00 02 00 00"};
}

void InstrumentSimulatorTest::faults()
{
    QFETCH(QString, fixture);
    QFETCH(QStringList, exchanges);
    runExchanges(fixture, exchanges);
}

void InstrumentSimulatorTest::delayHoldsBackEveryAnswer()
{
    std::string error;
    auto simulator = InstrumentSimulator::fromJson(
        withInstruments(R"({"fab": "063 01 00042", "faults": {"delayMs": 40}})").toStdString(),
        &error);
    QVERIFY2(simulator && simulator->start(), error.c_str());
    PcSide pc(simulator->devicePath(), true);
    QCOMPARE(pc.transfer(QByteArray(1, '\0')).size(), 6);
    QVERIFY2(pc.elapsedMs() >= 40, qPrintable(QString::number(pc.elapsedMs())));
    QCOMPARE(pc.transfer(QByteArray::fromHex("802A00013F")).size(), 6);
    QVERIFY2(pc.elapsedMs() >= 40, qPrintable(QString::number(pc.elapsedMs())));
}

void InstrumentSimulatorTest::pacing_data()
{
    QTest::addColumn<int>("pcSpeed");      // what the PC sets on its port; 0 sets nothing
    QTest::addColumn<int>("fixedBaudRate"); // --baud; 0 follows the PC
    QTest::addColumn<int>("baudRate");     // the rate the bytes must arrive at
    QTest::newRow("the PC's 19200") << int(B19200) << 0 << 19200;
    QTest::newRow("57600 while the PC sets none") << 0 << 0 << 57600;
    QTest::newRow("fixed 115200 though the PC sets 19200") << int(B19200) << 115200 << 115200;
}

void InstrumentSimulatorTest::pacing()
{
    QFETCH(int, pcSpeed);
    QFETCH(int, fixedBaudRate);
    QFETCH(int, baudRate);
    std::string error;
    auto simulator = InstrumentSimulator::fromJson(
        withInstruments(R"({"fab": "063 01 00042", "memory": {"0": {"size": 512}}})")
            .toStdString(),
        &error);
    QVERIFY2(simulator, error.c_str());
    simulator->setPace(true);
    if (fixedBaudRate)
        simulator->setBaudRate(uint32_t(fixedBaudRate));
    QVERIFY(simulator->start());
    PcSide pc(simulator->devicePath(), true);
    if (pcSpeed)
        QVERIFY(pc.setBaudRate(speed_t(pcSpeed)));
    QCOMPARE(pc.transfer(QByteArray(1, '\0')).size(), 6);
    QCOMPARE(pc.transfer(QByteArray::fromHex("802A00013F")).size(), 6);
    QCOMPARE(pc.transfer(QByteArray::fromHex("AA2A00013F600101FB")).size(), 8);
    // 13 request bytes echoed, then 8 + 251 answer bytes, 11 bits each.
    const QByteArray answer = pc.transfer(QByteArray::fromHex("AA2A00013F20000400000000"), 2000);
    QCOMPARE(answer.size(), 8 + 251);
    const double wireMs = (13 + 8 + 251) * 11 * 1000.0 / baudRate;
    QVERIFY2(pc.elapsedMs() >= wireMs * 0.95, qPrintable(QString::number(pc.elapsedMs())));
    if (fixedBaudRate) // not paced at the PC's much slower rate
        QVERIFY2(pc.elapsedMs() < 155, qPrintable(QString::number(pc.elapsedMs())));
}

void InstrumentSimulatorTest::deletionEmptiesMeasurementMemory()
{
    std::string error;
    auto simulator = InstrumentSimulator::fromJson(oneInstrument, &error);
    QVERIFY2(simulator && simulator->start(), error.c_str());
    const uint32_t fab = 0x3F01002A;
    const std::vector<uint8_t> before = simulator->memory(fab, 2);
    PcSide pc(simulator->devicePath(), true);
    pc.transfer(QByteArray(1, '\0'));
    pc.transfer(QByteArray::fromHex("802A00013F"));
    pc.transfer(QByteArray::fromHex("AA2A00013F4300024800"));
    QCOMPARE(pc.transfer(QByteArray::fromHex("AA2A00013F430102FFFF")).toHex(' ').left(20),
             QByteArray("55 2a 00 01 3f 00 00"));
    QCOMPARE(simulator->parameterValue(fab, 72), std::optional(std::vector<uint8_t>{0, 0}));
    const std::vector<uint8_t> after = simulator->memory(fab, 2);
    QVERIFY(after.size() < before.size());
    QCOMPARE(simulator->telegramsTo(fab), 3u);
    QVERIFY(simulator->isAttached(fab));
}

void InstrumentSimulatorTest::unpluggedLineHangsUp()
{
    std::string error;
    auto simulator = InstrumentSimulator::fromJson(oneInstrument, &error);
    QVERIFY2(simulator && simulator->start(), error.c_str());
    PcSide pc(simulator->devicePath(), true);
    QCOMPARE(pc.transfer(QByteArray(1, '\0')).size(), 6);
    simulator->unplug();
    QVERIFY(!simulator->isRunning());
    QVERIFY(pc.transfer(QByteArray(1, '\0')).isEmpty());
    QVERIFY(!simulator->start());
    QCOMPARE(simulator->error(), std::string("the line has been unplugged"));
}

QTEST_GUILESS_MAIN(InstrumentSimulatorTest)
#include "InstrumentSimulatorTest.moc"
