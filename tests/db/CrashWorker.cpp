// Works on a database without end until it is killed, so a test can kill it at any moment:
//   CrashWorker store FILE     batches of 50 tests, each batch in one transaction
//   CrashWorker compact FILE   repair / compaction over and over
//   CrashWorker archive FILE   archives into FILE.archive-N and adds new tests again
#include "data/Archive.h"
#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/RuntimeError.h"
#include "data/Schema.h"

#include <QCoreApplication>
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString mode = QString::fromLatin1(argv[1]);
    const QString file = QString::fromLocal8Bit(argv[2]);
    LoadColumnCaptions();
    try {
        DatabaseSession session;
        session.dbConnection.open(Database::BuildConnectionString(file));
        CheckDatabaseVersion(session);
        std::puts("working");
        std::fflush(stdout);
        for (int round = 0;; ++round) {
            if (mode == QLatin1String("store")) {
                storeBatch(session.dbConnection, round);
            } else if (mode == QLatin1String("compact")) {
                Archive::RepairCompactDatabase(session, file);
            } else {
                storeBatch(session.dbConnection, round);
                Archive::archiveTests(session, file + QStringLiteral(".archive-%1.db").arg(round));
            }
        }
    } catch (const RuntimeErrorException &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
