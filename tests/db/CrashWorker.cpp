// Works on a database without end until it is killed, so a test can kill it at any moment:
//   CrashWorker store FILE     batches of 50 tests, each batch in one transaction
//   CrashWorker compact FILE   a batch of tests, then repair / compaction, over and over
//   CrashWorker archive FILE   archives into FILE.archive-PID-N and adds new tests again
//   CrashWorker file FILE      stores new tests as a synchronisation does and files them
//   CrashWorker import FILE    imports 200 customers from FILE.import.csv, new and changed ones
//                              by turns
// Filing and import run the program's own code, so the test guards what the program does.
#include "data/Archive.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/RuntimeError.h"
#include "data/Schema.h"
#include "masterdata/import/CustomerImport.h"
#include "masterdata/import/TextFileSource.h"
#include "newtests/AutomaticFiling.h"
#include "newtests/NewCustomerFiling.h"
#include "newtests/NewTestsList.h"
#include "sync/TestStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>

#include <cstdio>

namespace {

constexpr int batchSize = 50;

void storeBatch(Database &db, int batch)
{
    Transaction transaction(db);
    for (int i = 0; i < batchSize; ++i) {
        db.execute(QStringLiteral("INSERT INTO Pruefungen (PFG_KundenNr, PFG_Bemerkung, "
                                  "PFG_NeuePruefung, PFG_Druckkurve) VALUES (?, ?, 1, ?)"),
                   {QStringLiteral("K%1").arg(batch),
                    QStringLiteral("batch %1-%2").arg(QCoreApplication::applicationPid()).arg(batch),
                    QString(300, u'7')});
    }
    transaction.commit();
}

[[noreturn]] void fail(const QString &what)
{
    throw RuntimeErrorException(5, QStringLiteral("CrashWorker"), what);
}

qint64 scalar(Database &db, const QString &statement)
{
    QSqlQuery query = db.select(statement);
    return query.next() ? query.value(0).toLongLong() : 0;
}

// Filing: customers 1000000 to 1000003 start with meter number 2000000. Every test carries a
// meter number of its own, counting up from there, so each filing asks to replace the
// customer's meter number, and the answer Yes writes the customer too. All numbers have seven
// digits, so a customer search finds exactly the customer whose number it looks for.
constexpr int filingCustomers = 4;
constexpr qint64 firstCustomer = 1000000;
constexpr qint64 firstMeter = 2000000;
constexpr qint64 newCustomerOffset = 1000000; // customers made for a test: 3000000 and up

void addFilingCustomers(Database &db)
{
    if (scalar(db, QStringLiteral("SELECT count(*) FROM Kunden")) > 0)
        return;
    Transaction transaction(db);
    for (int i = 0; i < filingCustomers; ++i) {
        db.execute(QStringLiteral("INSERT INTO Kunden (ADS_KundenNr, ADS_Name1, ADS_ZaehlerNr) "
                                  "VALUES (?, 'Kunde', ?)"),
                   {QString::number(firstCustomer + i), QString::number(firstMeter)});
    }
    transaction.commit();
}

// One test per customer and one with a measurement number only, stored as new tests the way a
// synchronisation stores them; then one automatic filing run over exactly these tests, and the
// test no customer holds is filed by hand under a new customer made for it.
void fileBatch(DatabaseSession &session, qint64 *meter)
{
    const QString batch = QStringLiteral("file %1").arg(*meter + 1);
    QList<TestRecord> records;
    for (int i = 0; i <= filingCustomers; ++i) {
        TestRecord record;
        ++*meter;
        record.customerNumber = i < filingCustomers ? QString::number(firstCustomer + i)
                                                    : QStringLiteral("M%1").arg(*meter);
        record.meterNumber = QString::number(*meter);
        record.date = QDateTime(QDate(2024, 1, 1), QTime(0, 0)).addSecs(*meter);
        record.instrumentNumber = QStringLiteral("063 01 00042");
        record.remark = batch;
        records << record;
    }
    if (!StoreTests(session.dbConnection, records))
        fail(QStringLiteral("storing failed"));

    session.RequeryRecordsets();
    const ColumnCaptions &c = columnCaptions();
    std::unique_ptr<Recordset> list = OpenNewTestsList(*session.rsPruefungen);
    QList<int> selected;
    for (list->moveFirst(); !list->eof(); list->moveNext()) {
        if (list->value(c.capBemerkung).toString() == batch)
            selected << list->bookmark();
    }
    const AutomaticFilingResult result = RunAutomaticFiling(
        session.dbConnection, *list, *session.rsKunden, selected,
        [](const QString &) { return true; });
    if (result.ended || result.outcomes.size() != selected.size())
        fail(QStringLiteral("the filing run ended early"));
    for (const FilingOutcome &outcome : result.outcomes) {
        if (outcome.status == FilingOutcome::Status::Filed)
            continue;
        if (outcome.status != FilingOutcome::Status::NoCustomer)
            fail(QStringLiteral("test %1 was not filed").arg(outcome.kundenNr));
        list->setBookmark(outcome.bookmark);
        const QString number = QString::number(outcome.zaehlerNr.toLongLong()
                                               + newCustomerOffset);
        if (!CreateCustomerAndFile(session.dbConnection, *session.rsKunden, *list,
                                   {number, QStringLiteral("Neukunde"), {}, {}, {}, {}, {}, {},
                                    outcome.zaehlerNr}))
            fail(QStringLiteral("test %1 was not filed by hand").arg(outcome.kundenNr));
    }
}

// Import: even runs add customers I<run>-0 to I<run>-199, odd runs change the customers the
// run before added. Every row carries its run's number in the place ("run N").
constexpr int importRows = 200;

void importCustomers(Database &db, const QString &csvFile, int run)
{
    const int addingRun = run - run % 2;
    QByteArray csv = "KNR;NAME;ORT\n";
    for (int i = 0; i < importRows; ++i)
        csv += QStringLiteral("I%1-%2;Kunde %3;run %4\n").arg(addingRun).arg(i).arg(i).arg(run)
                   .toUtf8();
    QFile file(csvFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.flush())
        fail(QStringLiteral("cannot write %1").arg(csvFile));
    file.close();

    ImportMapping mapping;
    const QString error = mapping.parse(
        QStringLiteral("ADS_KundenNr=KNR,ADS_Name1=NAME,ADS_Ort=ORT"));
    if (!error.isEmpty())
        fail(error);
    const ImportTable table = TextFileSource(csvFile).readTable(QString());
    const ImportCounts counts = CustomerImport(db, mapping, UpdateMethod::Update).run(table);
    if ((run % 2 == 0 ? counts.added : counts.changed) != importRows)
        fail(QStringLiteral("run %1 imported the wrong rows").arg(run));
}

int nextImportRun(Database &db)
{
    return int(scalar(db, QStringLiteral("SELECT coalesce(max(CAST(substr(ADS_Ort, 5) "
                                         "AS INTEGER)) + 1, 0) FROM Kunden")));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString mode = QString::fromLatin1(argv[1]);
    const QString file = QString::fromLocal8Bit(argv[2]);
    if (!QStringList{"store", "compact", "archive", "file", "import"}.contains(mode))
        return 2;
    LoadColumnCaptions();
    try {
        DatabaseSession session;
        Database &db = session.dbConnection;
        db.open(Database::BuildConnectionString(file));
        CheckDatabaseVersion(session);
        qint64 meter = std::max(scalar(db, QStringLiteral("SELECT max(CAST(PFG_ZaehlerNr AS "
                                                          "INTEGER)) FROM Pruefungen")),
                                firstMeter);
        int run = nextImportRun(db);
        if (mode == QLatin1String("file"))
            addFilingCustomers(db);
        std::puts("working");
        std::fflush(stdout);
        for (int round = 0;; ++round) {
            if (mode == QLatin1String("store")) {
                storeBatch(db, round);
            } else if (mode == QLatin1String("compact")) {
                // New rows each round, so every compaction copies real content.
                storeBatch(db, round);
                Archive::RepairCompactDatabase(session, file);
            } else if (mode == QLatin1String("archive")) {
                storeBatch(db, round);
                // The process id keeps the names apart from those of workers killed before.
                Archive::archiveTests(session, file + QStringLiteral(".archive-%1-%2.db")
                                                          .arg(QCoreApplication::applicationPid())
                                                          .arg(round));
            } else if (mode == QLatin1String("file")) {
                fileBatch(session, &meter);
            } else {
                importCustomers(db, file + QStringLiteral(".import.csv"), run++);
            }
        }
    } catch (const RuntimeErrorException &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
