// Opening the statistics list (tests joined with customers) and filtering it, against a bare
// select of the same rows through Qt SQL. Builds its fixture database on first use:
//   RecordsetBench [database file] [tests] [customers]
#include "data/ColumnCaptions.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "data/SelectLists.h"
#include "data/SqlDialect.h"
#include "data/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>

#include <cstdio>

namespace {

long memoryKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// A curve as the instrument stores it: a point count and semicolon-separated readings.
QString curve(QRandomGenerator &random, double start, int points)
{
    QString text = QString::number(points) + u';';
    double value = start;
    for (int i = 0; i < points; ++i) {
        value += (random.bounded(200) - 100) / 100.0;
        text += QString::number(value, 'f', 2) + u';';
    }
    return text;
}

void build(const QString &path, int tests, int customers)
{
    Schema::createEmptyDatabase(path);
    Database db;
    db.open(Database::BuildConnectionString(path));
    QRandomGenerator random(4711);
    const QStringList names = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer",
                               "Wagner", "Becker", "Schulz", "Hoffmann", "O'Brien", "Koch"};
    Transaction transaction(db);
    QSqlQuery customer(db.connection());
    customer.prepare(QStringLiteral("INSERT INTO Kunden (ADS_KundenNr, ADS_Name1, ADS_Name2, "
                                    "ADS_Strasse, ADS_PLZ, ADS_Ort, ADS_Telefon, ADS_ZaehlerNr) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < customers; ++i) {
        customer.addBindValue(QString::number(100000 + i));
        customer.addBindValue(names.at(i % names.size()) + QStringLiteral(" GmbH %1").arg(i));
        customer.addBindValue(QStringLiteral("Hausverwaltung"));
        customer.addBindValue(QStringLiteral("Hauptstraße %1").arg(i % 200));
        customer.addBindValue(QString::number(10000 + i % 80000));
        customer.addBindValue(QStringLiteral("Stadt %1").arg(i % 300));
        customer.addBindValue(QStringLiteral("0221 %1").arg(100000 + i));
        customer.addBindValue(QString::number(20000000 + i));
        customer.exec();
    }
    QSqlQuery test(db.connection());
    test.prepare(QStringLiteral(
        "INSERT INTO Pruefungen (PFG_KundenNr, PFG_Pruefart, PFG_Druck, PFG_EndDruck, "
        "PFG_Fluss, PFG_Gasart, PFG_Befund, PFG_Datum, PFG_Pruefer, PFG_Druckkurve, "
        "PFG_Flusskurve, PFG_Auftraggeber, PFG_FabNr, PFG_Dauer, PFG_NeuePruefung, "
        "PFG_Fliessdruck, PFG_Ruhedruck, PFG_ZaehlerNr) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?, ?, ?, ?, ?, ?)"));
    const QDateTime first(QDate(2019, 1, 1), QTime(7, 0));
    for (int i = 0; i < tests; ++i) {
        const int kind = random.bounded(4);
        test.addBindValue(QString::number(100000 + random.bounded(customers)));
        test.addBindValue(kind);
        test.addBindValue(20.0 + random.bounded(100) / 10.0);
        test.addBindValue(19.0 + random.bounded(100) / 10.0);
        test.addBindValue(random.bounded(500) / 10.0);
        test.addBindValue(QStringLiteral("Erdgas H"));
        test.addBindValue(random.bounded(3));
        test.addBindValue(SqlDialect::dateTimeToStorage(first.addSecs(qint64(i) * 900)));
        test.addBindValue(QStringLiteral("Prüfer %1").arg(i % 25));
        test.addBindValue(curve(random, 23.0, 60 + random.bounded(120)));
        test.addBindValue(kind == 1 ? curve(random, 5.0, 60 + random.bounded(120)) : QString());
        test.addBindValue(QStringLiteral("Stadtwerke %1").arg(i % 8));
        test.addBindValue(QStringLiteral("063 01 %1").arg(i % 40, 5, 10, QChar(u'0')));
        test.addBindValue(600);
        test.addBindValue(i % 50 == 0 ? 1 : 0);
        test.addBindValue(21.5);
        test.addBindValue(23.0);
        test.addBindValue(QStringLiteral("00000000"));
        test.exec();
    }
    transaction.commit();
}

double elapsedMs(QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString path = arguments.value(1, QDir::tempPath() + QStringLiteral("/l4-bench.db"));
    const int tests = arguments.value(2, QStringLiteral("200000")).toInt();
    const int customers = arguments.value(3, QStringLiteral("5000")).toInt();
    StringTable::setLanguage(QStringLiteral("de"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    LoadColumnCaptions();

    QElapsedTimer timer;
    if (!QFileInfo::exists(path)) {
        timer.start();
        build(path, tests, customers);
        std::printf("fixture: %d tests, %d customers, %.0f MB, built in %.1f s\n", tests,
                    customers, QFileInfo(path).size() / 1e6, elapsedMs(timer) / 1000);
    }
    Database db;
    db.open(Database::BuildConnectionString(path));
    const long rssStart = memoryKiB("VmRSS:");

    // Warm the file cache, so both runs read from memory.
    db.select(QStringLiteral("SELECT count(*), sum(length(PFG_Druckkurve)) FROM Pruefungen"))
        .next();

    timer.start();
    QSqlQuery bare = db.select(SqlPruefungenKunden());
    const int columns = 33;
    qint64 rows = 0;
    while (bare.next()) {
        for (int i = 0; i < columns; ++i)
            bare.value(i);
        ++rows;
    }
    bare.finish();
    const double bareMs = elapsedMs(timer);

    timer.start();
    Recordset list(db, SqlPruefungenKunden(), LockType::Optimistic);
    const double openMs = elapsedMs(timer);
    const long rssOpen = memoryKiB("VmRSS:");

    const ColumnCaptions &c = columnCaptions();
    const QString typical = QStringLiteral("[%1] = FALSE AND [%2] = 2 AND [%3] >= #01.01.2021# "
                                           "AND [%3] <= #01.07.2021#")
                                .arg(c.capNeuePruefung, c.capPruefart, c.capDatum);
    timer.start();
    list.setFilter(typical);
    const double filterMs = elapsedMs(timer);
    const int filtered = list.recordCount();

    const QString search = QStringLiteral("[%1] LIKE '*müller*' OR [%2] LIKE '*müller*' OR "
                                          "[%3] LIKE '*müller*'")
                               .arg(c.capKundenNr, c.capName1, c.capOrt);
    timer.start();
    list.setFilter(search);
    const double searchMs = elapsedMs(timer);

    timer.start();
    list.setFilter(QString());
    list.setSort(QStringLiteral("[%1] DESC").arg(c.capDatum));
    const double sortMs = elapsedMs(timer);

    timer.start();
    list.requery();
    const double requeryMs = elapsedMs(timer);

    std::printf("rows: %lld (filtered: %d)\n", rows, filtered);
    std::printf("bare Qt SQL select of the same statement (curves included): %8.1f ms\n", bareMs);
    std::printf("open rsPruefungenKunden (curves on demand):                 %8.1f ms  "
                "(ratio %.2f)\n", openMs, openMs / bareMs);
    std::printf("typical statistics filter:                                  %8.1f ms\n",
                filterMs);
    std::printf("customer search, 3 x LIKE '*müller*':                       %8.1f ms\n",
                searchMs);
    std::printf("sort by date:                                               %8.1f ms\n", sortMs);
    std::printf("requery:                                                    %8.1f ms\n",
                requeryMs);
    std::printf("memory: %.0f MiB for the list, peak RSS %.0f MiB\n",
                (rssOpen - rssStart) / 1024.0, memoryKiB("VmHWM:") / 1024.0);
    return 0;
}
