#include "bus/ScriptedLine.h"

#include "BusLibrary.h"

#include <QRandomGenerator>
#include <QTest>

// Random answers of every shape against the telegram parser, compiled with the address and
// undefined-behaviour sanitizers: every call ends, within its time-out, without touching memory
// outside its buffers.
class TelegramFuzzTest : public QObject
{
    Q_OBJECT

private slots:
    void randomAnswers();
};

void TelegramFuzzTest::randomAnswers()
{
    constexpr uint32_t fab = 0x3F010001;
    QRandomGenerator random(4711);
    ScriptedLine line;
    line.responder = [&](const Bytes &) {
        const int shape = int(random.bounded(4));
        Bytes answer(random.bounded(300));
        for (uint8_t &byte : answer)
            byte = uint8_t(random.bounded(256));
        if (shape >= 1 && !answer.empty())
            answer[0] = 0x55; // a service answer, with whatever length byte
        if (shape >= 2 && answer.size() >= 5)
            writeLittleEndian32(answer.data() + 1, fab);
        if (shape == 3 && answer.size() >= 8)
            answer = framed(Bytes(answer.begin(), answer.end() - 1));
        return answer;
    };
    BusLibrary bus(line, line);
    bus.link.openCommPort();
    for (int round = 0; round < 20000; ++round) {
        const uint32_t before = line.now;
        BusMemoryObject block = {};
        block.Length = uint8_t(1 + random.bounded(251));
        BusDataObject record = {};
        record.Length = uint8_t(random.bounded(256));
        uint32_t found = 0;
        switch (round % 4) {
        case 0: bus.memory.getMemory(fab, uint8_t(random.bounded(5)), 0, &block); break;
        case 1: bus.parameters.getParameter(fab, 13, &record); break;
        case 2: bus.parameters.setParameter(fab, &record); break;
        case 3: bus.context.telegrams.search(&found); break;
        }
        QVERIFY(block.Length <= 251);
        QVERIFY(bus.context.errorText.length() <= 255);
        // Ten busy retries of the longest exchange bound every call.
        QVERIFY(line.now - before < 4 * 10 * 700);
    }
}

QTEST_GUILESS_MAIN(TelegramFuzzTest)
#include "TelegramFuzzTest.moc"
