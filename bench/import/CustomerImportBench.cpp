// Imports 100,000 customers from a semicolon-separated file into a table that already holds
// 100,000 (every second row of the file is one of them, so half are new and half updates) and
// prints the time of reading, of the whole import and of each 10,000 rows. Goal: under 5 s.
#include "data/ColumnCaptions.h"
#include "data/Database.h"
#include "data/DatabaseSession.h"
#include "data/Schema.h"
#include "data/StringTable.h"
#include "masterdata/import/CustomerImport.h"
#include "masterdata/import/TextFileSource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    constexpr int existing = 100'000;
    constexpr int imported = 100'000;
    StringTable::setLanguage(QStringLiteral("de"));
    LoadColumnCaptions();
    QTemporaryDir dir;
    const QString dbFile = dir.filePath(QStringLiteral("Lumetra4Desktop.db"));
    Schema::createEmptyDatabase(dbFile);
    DatabaseSession session;
    session.dbConnection.open(Database::BuildConnectionString(dbFile));
    {
        Transaction fill(session.dbConnection);
        for (int i = 0; i < existing; ++i) {
            session.dbConnection.execute(
                QStringLiteral("INSERT INTO Kunden (ADS_KundenNr, ADS_Name1, ADS_Ort) "
                               "VALUES (?, ?, ?)"),
                {QStringLiteral("K%1").arg(i * 2, 7, 10, QChar(u'0')),
                 QStringLiteral("Kunde %1").arg(i), QStringLiteral("Aachen")});
        }
        fill.commit();
    }
    const QString csv = dir.filePath(QStringLiteral("kunden.csv"));
    {
        QFile file(csv);
        file.open(QIODevice::WriteOnly);
        QTextStream out(&file);
        out << "\xEF\xBB\xBF" << "KNR;NAME;STRASSE;PLZ;ORT\r\n";
        for (int i = 0; i < imported; ++i) {
            out << QStringLiteral("K%1;\"Müller \"\"%2\"\"\";Hauptstraße %2;52062;Köln\r\n")
                       .arg(i, 7, 10, QChar(u'0')).arg(i);
        }
    }
    ImportMapping mapping;
    mapping.parse(QStringLiteral("Kunden-Nr=KNR,Name1=NAME,Straße=STRASSE,PLZ=PLZ,Ort=ORT"));

    QElapsedTimer total;
    total.start();
    const ImportTable table = TextFileSource(csv).readTable({});
    const qint64 readMs = total.elapsed();
    QElapsedTimer slice;
    slice.start();
    int rows = 0;
    std::printf("rows      ms per 10,000\n");
    const ImportCounts counts = CustomerImport(session.dbConnection, mapping,
                                               UpdateMethod::Update)
                                    .run(table, [&] {
                                        if (++rows % 10'000 == 0) {
                                            std::printf("%6d  %6lld\n", rows,
                                                        slice.restart());
                                        }
                                        return true;
                                    });
    std::printf("read %d rows: %lld ms\n", int(table.rows.size()), readMs);
    std::printf("total (read + import + commit): %lld ms; added %d, changed %d, not added %d\n",
                total.elapsed(), counts.added, counts.changed, counts.notAdded);
    return total.elapsed() < 5000 ? 0 : 1;
}
