#include "bus/ScriptedLine.h"

#include "BusLibrary.h"
#include "TelegramLayer.h"

#include <QTest>

#include <functional>

namespace {

constexpr uint32_t fab = 0x3F01002A; // type 63, 01, serial 42

using Call = std::function<void(BusLibrary &)>;

QString hexList(const Bytes &bytes)
{
    QString text;
    for (uint8_t byte : bytes)
        text += QStringLiteral("0x%1 ").arg(byte, 2, 16, QLatin1Char('0')).toUpper().replace(
            QLatin1String("0X"), QLatin1String("0x"));
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(Bytes)

class TelegramLayerTest : public QObject
{
    Q_OBJECT

private slots:
    void checksum_data();
    void checksum();
    void telegramBytes_data();
    void telegramBytes();
    void retries_data();
    void retries();
    void timeOutLimit_data();
    void timeOutLimit();
    void badAnswers_data();
    void badAnswers();
    void echoSetting();
    void exchangeRecord();
    void oversizeWriteIsRefused();
    void noPortOpen();
};

void TelegramLayerTest::checksum_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    QTest::newRow("digits 1-9") << QByteArray("123456789") << 0x89;
    QTest::newRow("single zero") << QByteArray(1, '\0') << 0x00;
    QTest::newRow("nothing") << QByteArray() << 0x00;
}

void TelegramLayerTest::checksum()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QCOMPARE(int(TelegramChecksum(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                  size_t(bytes.size()))),
             expected);
}

void TelegramLayerTest::telegramBytes_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<Bytes>("expected"); // the first telegram on the line, checksum included

    const Bytes address = fabBytes(fab);
    QTest::newRow("search") << Call([](BusLibrary &bus) {
        uint32_t found = 0;
        bus.context.telegrams.search(&found);
    }) << Bytes{0x00, 0x00};
    QTest::newRow("attach") << Call([](BusLibrary &bus) { bus.devices.activateCommand(fab); })
                            << framed(Bytes{0x80} + address);
    QTest::newRow("sync") << Call([](BusLibrary &bus) {
        bus.context.telegrams.sync(1, 0x12345678);
    }) << framed(Bytes{0x0F, 0x01, 0x78, 0x56, 0x34, 0x12});
    QTest::newRow("read time-out") << Call([](BusLibrary &bus) { bus.devices.getTimeOutTime(fab); })
                                   << framed(Bytes{0xAA} + address + Bytes{61, 0, 0});
    QTest::newRow("write time-out 10 -> 50")
        << Call([](BusLibrary &bus) { bus.devices.setTimeOutTime(fab, 10); })
        << framed(Bytes{0xAA} + address + Bytes{61 + 0x40, 0, 2, 0x32, 0x00});
    QTest::newRow("lock") << Call([](BusLibrary &bus) { bus.devices.setLockService(fab, 0xFF); })
                          << framed(Bytes{0xAA} + address + Bytes{63 + 0x40, 0, 1, 0xFF});
    QTest::newRow("select parameter 13")
        << Call([](BusLibrary &bus) {
               BusDataObject record = {};
               bus.parameters.getParameter(fab, 13, &record);
           })
        << framed(Bytes{0xAA} + address + Bytes{3 + 0x40, 0, 2, 13, 0});
    QTest::newRow("memory length") << Call([](BusLibrary &bus) {
        BusMemoryObject block = {};
        block.Length = 200;
        bus.memory.getMemory(fab, 2, 0x1000, &block);
    }) << framed(Bytes{0xAA} + address + Bytes{34 + 0x40, 1, 1, 200});
    QTest::newRow("count of all parameters")
        << Call([](BusLibrary &bus) { bus.parameters.getNrOfParameter(fab, 0xFF); })
        << framed(Bytes{0xAA} + address + Bytes{1, 0, 0});
}

void TelegramLayerTest::telegramBytes()
{
    QFETCH(Call, call);
    QFETCH(Bytes, expected);
    ScriptedLine line;
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    call(bus);
    QVERIFY(!line.written.empty());
    QCOMPARE(line.written.front(), expected);
}

void TelegramLayerTest::retries_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<Bytes>("answer");
    QTest::addColumn<int>("attempts");

    const Call readService = [](BusLibrary &bus) { bus.devices.getTimeOutTime(fab); };
    const Call search = [](BusLibrary &bus) {
        uint32_t found = 0;
        bus.context.telegrams.search(&found);
    };
    const Call attach = [](BusLibrary &bus) { bus.devices.activateCommand(fab); };
    Bytes badChecksum = serviceAnswer(fab, 0, {0x32, 0x00});
    badChecksum.back() ^= 0xFF;
    Bytes badSearch = framed(Bytes{0xFF} + fabBytes(fab));
    badSearch.back() ^= 0xFF;

    QTest::newRow("service busy: ten") << readService << serviceAnswer(fab, 0x20, {}) << 10;
    QTest::newRow("service bad checksum: four") << readService << badChecksum << 4;
    QTest::newRow("service silent: four") << readService << Bytes{} << 4;
    QTest::newRow("service refused: one") << readService << serviceAnswer(fab, 0x40, {}) << 1;
    QTest::newRow("service accepted: one") << readService << serviceAnswer(fab, 0, {1, 2}) << 1;
    QTest::newRow("search silent: two") << search << Bytes{} << 2;
    QTest::newRow("search bad checksum: eight") << search << badSearch << 8;
    QTest::newRow("attach silent: two") << attach << Bytes{} << 2;
    QTest::newRow("attach bad checksum: two") << attach << badSearch << 2;
}

void TelegramLayerTest::retries()
{
    QFETCH(Call, call);
    QFETCH(Bytes, answer);
    QFETCH(int, attempts);
    ScriptedLine line;
    line.responder = [&](const Bytes &) { return answer; };
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    call(bus);
    QCOMPARE(int(line.written.size()), attempts);
}

void TelegramLayerTest::timeOutLimit_data()
{
    QTest::addColumn<uint32_t>("baudRate");
    QTest::addColumn<int>("lengthByte"); // -1: silence after the echo
    QTest::addColumn<int>("limit");

    // A read request without address sends 9 bytes and expects 9 + 6 (no answer yet).
    QTest::newRow("silent 19200") << 19200u << -1 << 50 + 30;
    QTest::newRow("silent 57600") << 57600u << -1 << 50 + 7;
    QTest::newRow("silent 115200") << 115200u << -1 << 50 + 3;
    // The answer's length byte announces 200 bytes: 9 + 208 expected.
    QTest::newRow("200 announced 19200") << 19200u << 200 << 50 + 434;
    QTest::newRow("200 announced 57600") << 57600u << 200 << 50 + 108;
}

void TelegramLayerTest::timeOutLimit()
{
    QFETCH(uint32_t, baudRate);
    QFETCH(int, lengthByte);
    QFETCH(int, limit);
    ScriptedLine line;
    if (lengthByte >= 0) {
        line.responder = [&](const Bytes &) {
            return Bytes{0x55} + fabBytes(fab) + Bytes{0, uint8_t(lengthByte), 1, 2};
        };
    }
    BusLibrary bus(line, line);
    bus.link.setBaudRate(baudRate);
    bus.link.openCommPort();
    uint8_t telegram[16] = {0xAA};
    writeLittleEndian32(telegram + 1, fab);
    telegram[5] = 61;
    uint8_t answer[TelegramLayer::answerCapacity];
    size_t length = 0;
    const uint32_t before = line.now;
    const uint8_t bits = bus.context.telegrams.transfer(telegram, 8, answer, &length);
    QVERIFY(bits & TransferResult::timeOut);
    // The pause before sending and the final clock reading cost a few ticks.
    const int used = int(line.now - before);
    QVERIFY2(used >= limit && used <= limit + 4, qPrintable(QString::number(used)));
}

void TelegramLayerTest::badAnswers_data()
{
    QTest::addColumn<Bytes>("answer");
    QTest::addColumn<int>("bits"); // of the last attempt
    QTest::addColumn<int>("attempts");

    Bytes wrongChecksum = serviceAnswer(fab, 0, {0x32, 0x00});
    wrongChecksum.back() ^= 0x01;
    Bytes oversize = serviceAnswer(fab, 0, Bytes(252, 0x11));
    QTest::newRow("garbage") << Bytes{0x13, 0x37, 0x00, 0xFF, 0x55, 0x99} << 0x04 << 4;
    QTest::newRow("partial frame") << Bytes{0x55, 0x2A, 0x00} << 0x06 << 4;
    QTest::newRow("wrong checksum") << wrongChecksum << 0x04 << 4;
    QTest::newRow("foreign FAB") << serviceAnswer(fab + 1, 0, {0x32, 0x00}) << 0x00 << 1;
    QTest::newRow("length 252") << oversize << 0x00 << 1;
    QTest::newRow("length 255 cut short") << Bytes{0x55} + fabBytes(fab) + Bytes{0, 255, 1}
                                          << 0x06 << 4;
    QTest::newRow("refused") << serviceAnswer(fab, 0x40, {}) << 0x01 << 1;
}

void TelegramLayerTest::badAnswers()
{
    QFETCH(Bytes, answer);
    QFETCH(int, bits);
    QFETCH(int, attempts);
    ScriptedLine line;
    line.responder = [&](const Bytes &) { return answer; };
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    uint8_t data[TelegramLayer::maxServiceData];
    size_t length = 0;
    QVERIFY(!bus.context.telegrams.readService(fab, 61, 0, nullptr, data, &length));
    QCOMPARE(int(line.written.size()), attempts);
    const QString record = QString::fromLatin1(bus.context.errorText.text());
    const QString code = QStringLiteral("%1").arg(bits, 2, 16, QLatin1Char('0')).toUpper();
    QVERIFY2(record.startsWith(QStringLiteral("Error Code: 0x") + code + u';'),
             qPrintable(record));
    QCOMPARE(bus.devices.getTimeOutTime(fab), uint16_t(0));
}

void TelegramLayerTest::echoSetting()
{
    ScriptedLine line;
    line.echoes = false;
    line.responder = [](const Bytes &) { return serviceAnswer(fab, 0, {0x2C, 0x01}); };
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    // Counting an echo that never comes swallows the answer as echo.
    QCOMPARE(bus.devices.getTimeOutTime(fab), uint16_t(0));
    QCOMPARE(bus.link.echoMode(0xFF), uint8_t(0xFF));
    QCOMPARE(bus.devices.getTimeOutTime(fab), uint16_t(300));
    QCOMPARE(bus.link.echoMode(1), uint8_t(0));
    line.echoes = true;
    QCOMPARE(bus.devices.getTimeOutTime(fab), uint16_t(300));
}

void TelegramLayerTest::exchangeRecord()
{
    ScriptedLine line;
    line.responder = [](const Bytes &) { return serviceAnswer(fab, 0, {0x2C, 0x01}); };
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    QCOMPARE(bus.devices.getTimeOutTime(fab), uint16_t(300));
    const Bytes answer = serviceAnswer(fab, 0, {0x2C, 0x01});
    QCOMPARE(QString::fromLatin1(bus.context.errorText.text()),
             QStringLiteral("Error Code: 0x00; Send = 9; Received = 10; Data: ")
                 + hexList(line.written[0]) + hexList(answer));

    // A long answer is listed only as far as the text holds 255 characters.
    line.responder = [](const Bytes &) { return serviceAnswer(fab, 0, Bytes(200, 0x11)); };
    uint8_t data[TelegramLayer::maxServiceData];
    size_t length = 0;
    QVERIFY(bus.context.telegrams.readService(fab, 34, 0, nullptr, data, &length));
    QCOMPARE(length, size_t(200));
    QVERIFY(bus.context.errorText.length() <= 255);
    QVERIFY(bus.context.errorText.length() > 250);
}

void TelegramLayerTest::oversizeWriteIsRefused()
{
    ScriptedLine line;
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    const Bytes data(252, 0);
    QCOMPARE(bus.context.telegrams.writeService(fab, 3, 1, nullptr, data.data(), data.size()),
             TransferResult::writeFailed);
    QVERIFY(line.written.empty());
}

void TelegramLayerTest::noPortOpen()
{
    ScriptedLine line;
    BusLibrary bus(line, line);
    const uint8_t data = 0;
    QCOMPARE(bus.context.telegrams.writeService(fab, 63, 0, nullptr, &data, 1),
             TransferResult::lineError);
    QVERIFY(line.written.empty());
    QVERIFY(bus.context.errorText.isEmpty());
}

QTEST_GUILESS_MAIN(TelegramLayerTest)
#include "TelegramLayerTest.moc"
