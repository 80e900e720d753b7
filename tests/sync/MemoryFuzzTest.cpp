#include "SyncFixtures.h"

#include <QElapsedTimer>
#include <QTest>

#include <random>

// Random mutations of valid memory images through the whole decoder, under the address and
// undefined-behaviour sanitizers: every outcome is fine except a crash, an out-of-bounds access
// or a hang. The seed is fixed so a failure repeats; the run is bounded in time.
class MemoryFuzzTest : public QObject
{
    Q_OBJECT

private slots:
    void mutatedImages()
    {
        using namespace SyncFixtures;
        TestDescription regulator;
        regulator.kind = 3;
        regulator.flowPressure = 21.5f;
        regulator.zeroShutOffFinding = 0;
        regulator.series = {pressureCurve(9, {20, 21, 22, 23})};
        TestDescription empty;
        empty.fault = BlockFault::EmptySlot;
        const QList<MemoryImage> seeds = {
            imageOf({tightnessTest(1), tightnessTest(2)}, 2002),
            imageOf({regulator, empty, tightnessTest(3)}, 3000),
            imageOf({}, 2500),
        };

        std::mt19937 random(20240314);
        QElapsedTimer timer;
        timer.start();
        int runs = 0;
        int tests = 0;
        const qint64 budget = qEnvironmentVariableIntValue("LUMETRA4_FUZZ_MS") > 0
                                  ? qEnvironmentVariableIntValue("LUMETRA4_FUZZ_MS")
                                  : 3000;
        while (timer.elapsed() < budget) {
            MemoryImage image = seeds[runs % seeds.size()];
            std::uniform_int_distribution<size_t> position(0, image.memory.size() - 1);
            const int mutations = 1 + int(random() % 8);
            for (int m = 0; m < mutations; ++m) {
                uint8_t &byte = image.memory[position(random)];
                switch (random() % 4) {
                case 0: byte ^= uint8_t(1u << (random() % 8)); break;
                case 1: byte = uint8_t(random()); break;
                case 2: byte = 0xFF; break;
                default: byte = 0; break;
                }
            }
            // Mutations near the tables and headers matter most; aim half of them there.
            if (random() % 2) {
                std::uniform_int_distribution<size_t> front(
                    0, std::min<size_t>(1500, image.memory.size() - 1));
                image.memory[front(random)] = uint8_t(random());
            }
            if (random() % 16 == 0)
                image.memory.resize(position(random) + 1);
            const Decoded decoded = decode(image);
            tests += int(decoded.records.size());
            ++runs;
        }
        qInfo("%d mutated images decoded, %d tests built", runs, tests);
        QVERIFY(runs > 0);
    }
};

QTEST_GUILESS_MAIN(MemoryFuzzTest)
#include "MemoryFuzzTest.moc"
