// Renders protocols of all four kinds with curves and a logo into one PDF file and prints the
// time, pages per second and the peak memory. Usage: ProtocolPrintBench [COUNT] (default 1000).

#include "data/ColumnCaptions.h"
#include "data/StringTable.h"
#include "statistics/DocumentPrinter.h"
#include "statistics/ProtocolBatch.h"
#include "statistics/ProtocolBuilder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

ProtocolTest benchTest(int i)
{
    ProtocolTest test;
    test.kind = i % 4;
    test.date = QDateTime(QDate(2009, 1, 1).addDays(i % 700), QTime(8 + i % 9, i % 60));
    test.kundenNr = QStringLiteral("K%1").arg(i, 6, 10, QLatin1Char('0'));
    test.name1 = QStringLiteral("Kunde %1").arg(i);
    test.strasse = QStringLiteral("Lindenstraße %1").arg(i % 200);
    test.plz = QStringLiteral("12345");
    test.ort = QStringLiteral("Musterstadt");
    test.adsZaehlerNr = QStringLiteral("Z%1").arg(i);
    test.druck = 25.4;
    test.endDruck = 24.9;
    test.fluss = 1.2;
    if (i % 8 == 0) {
        test.leitungsVol = 2.0;
        test.refDruck = 23.0;
        test.leckrate = 0.8;
    }
    test.fliessdruck = 21.8;
    test.ruhedruck = -99999;
    test.savDruck = 48.2;
    test.befund = i % 3;
    test.pruefer = QStringLiteral("Max Prüfer");
    test.fabNr = QStringLiteral("063 01 04711");
    test.druckkurve = QStringLiteral("260:230:8:230:245:258:260:252:247:244:242:");
    test.flusskurve = QStringLiteral("20:5:6:5:12:18:20:16:15:");
    test.dauer = 300;
    return test;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    StringTable::setLanguage(QStringLiteral("de"));
    LoadColumnCaptions();

    QTemporaryDir dir;
    QImage logo(600, 200, QImage::Format_RGB32);
    logo.fill(QColor(20, 60, 160));
    const QString logoFile = dir.filePath(QStringLiteral("Firma.png"));
    logo.save(logoFile);
    QList<ProtocolTest> tests;
    for (int i = 0; i < count; ++i)
        tests << benchTest(i);

    QElapsedTimer timer;
    timer.start();
    ProtocolBuilder builder(QStringLiteral(LUMETRA4_SOURCE_DIR "/templates"), 1, logoFile,
                            QLocale(QLocale::German, QLocale::Germany));
    const ProtocolBatch batch(builder, tests);
    const QString pdf = dir.filePath(QStringLiteral("protocols.pdf"));
    QString error;
    if (!DocumentPrinter::writePdf(batch, pdf, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%d protocols, %d pages in %.2f s: %.1f pages/s; PDF %.1f MB; "
                "peak memory %.1f MB\n",
                count, batch.pageCount(), seconds, batch.pageCount() / seconds,
                QFileInfo(pdf).size() / 1048576.0, usage.ru_maxrss / 1024.0);
    return 0;
}
