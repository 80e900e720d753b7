// Decoding and storing one large instrument memory into databases of growing size.
//
// Usage: SyncBench [tests in memory (5000)] [existing tests, comma-separated
// (0,50000,100000,200000)]. Prints, for each table size, the time to decode the memory image
// and build the test records, and the time of StoreTests with its duplicate check: first into
// the table as it is (all new), then the same records again (all duplicates).

#include "data/Database.h"
#include "data/Schema.h"
#include "sync/ImageMemory.h"
#include "sync/MemoryDecoder.h"
#include "sync/TestBuilder.h"
#include "sync/TestStore.h"
#include "sync/image/MemoryImageBuilder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString fabText = QStringLiteral("063 02 00420");

MemoryImage largeImage(int count)
{
    MemoryImageBuilder builder(3000);
    std::vector<float> pressure(60);
    std::vector<float> flow(60);
    for (size_t j = 0; j < pressure.size(); ++j) {
        pressure[j] = 21.0f + float(j % 7) * 0.125f;
        flow[j] = 1.5f - float(j % 5) * 0.25f;
    }
    for (int i = 0; i < count; ++i) {
        TestDescription test;
        test.kind = 2;
        const QDateTime date = QDateTime(QDate(2025, 1, 1), QTime(8, 0)).addSecs(600LL * i);
        test.date = {date.date().year(), date.date().month(), date.date().day(),
                     date.time().hour(), date.time().minute(), date.time().second()};
        test.startPressure = 0.021f;
        test.endPressure = 0.02f;
        test.flow = 1.5f;
        test.finding = 0;
        test.customerNumber = 1000 + i;
        test.meterNumber = 5000000 + i;
        test.pipeVolumeCode = i % 6;
        test.measurementNumber = uint16_t(1 + i % 9999);
        test.series = {CurveDescription{82, 9, pressure}, CurveDescription{98, 48, flow}};
        builder.addTest(test);
    }
    return builder.build();
}

// Existing tests of the same instrument, all before the new ones, so every row takes part in
// the duplicate check.
void fill(Database &db, int count)
{
    Transaction transaction(db);
    QSqlQuery insert(db.connection());
    insert.prepare(QStringLiteral(
        "INSERT INTO Pruefungen (PFG_KundenNr, PFG_Pruefart, PFG_Datum, PFG_FabNr, "
        "PFG_Druckkurve, PFG_NeuePruefung, PFG_ZaehlerNr) VALUES (?, 2, ?, ?, ?, 0, '1')"));
    const QDateTime start(QDate(2015, 1, 1), QTime(8, 0));
    const QString curve = QStringLiteral("250:200:3:210:250:200:").repeated(20);
    for (int i = 0; i < count; ++i) {
        insert.addBindValue(QString::number(i));
        insert.addBindValue(
            start.addSecs(900LL * i).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        insert.addBindValue(fabText);
        insert.addBindValue(curve);
        insert.exec();
    }
    transaction.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int testCount = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5000;
    QList<int> sizes = {0, 50000, 100000, 200000};
    if (argc > 2) {
        sizes.clear();
        for (const QString &size : QString::fromLocal8Bit(argv[2]).split(u','))
            sizes << size.toInt();
    }

    const MemoryImage image = largeImage(testCount);
    std::printf("memory image: %d tests, %zu bytes\n", testCount, image.memory.size());
    std::printf("%10s %12s %12s %14s %12s\n", "existing", "decode ms", "store ms", "decode+store",
                "again ms");
    QTemporaryDir dir;
    for (int size : sizes) {
        const QString path = dir.filePath(QStringLiteral("bench%1.db").arg(size));
        Schema::createEmptyDatabase(path);
        Database db;
        db.open(Database::BuildConnectionString(path));
        fill(db, size);

        QElapsedTimer timer;
        timer.start();
        ImageMemory memory(image);
        MemoryDecoder decoder(memory);
        QList<TestRecord> records;
        if (!decoder.ReadAll(image.firmwareNumber, image.infoBlockAddress))
            return 1;
        BuildTests(decoder.instrument(), fabText, records);
        const qint64 decodeMs = timer.restart();
        StoreCounts counts;
        if (!StoreTests(db, records, &counts) || counts.stored != testCount)
            return 1;
        const qint64 storeMs = timer.restart();
        if (!StoreTests(db, records, &counts) || counts.skipped != testCount)
            return 1;
        const qint64 againMs = timer.elapsed();
        std::printf("%10d %12lld %12lld %14lld %12lld\n", size, decodeMs, storeMs,
                    decodeMs + storeMs, againMs);
    }
    return 0;
}
