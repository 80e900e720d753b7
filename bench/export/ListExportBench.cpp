// The list export of 10,000 listed tests with the statistics grid's columns: grid texts, lines,
// code page and the file. Goal: under 2 s.
#include "data/ColumnCaptions.h"
#include "data/Recordset.h"
#include "data/RecordsetModel.h"
#include "data/StringTable.h"
#include "statistics/ExportCriteria.h"
#include "statistics/ExportFile.h"
#include "statistics/ExportGrid.h"
#include "statistics/ListExport.h"
#include "statistics/StatisticsGridModel.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <numeric>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    StringTable::setLanguage(QStringLiteral("de"));
    LoadColumnCaptions();
    const ColumnCaptions &c = columnCaptions();
    const QStringList names = {c.capKundenNr, c.capName1, c.capPruefart, c.capDatum,
                               c.capBefund, c.capPruefer, c.capAuftraggeber, c.capDruck,
                               c.capEndDruck, c.capFluss, c.capFabNr, c.capBemerkung};
    QList<RecordsetField> fields;
    for (const QString &name : names)
        fields << RecordsetField::named(name, RecordsetField::Type::Variant);
    QList<QVariantList> rows;
    const QDateTime date(QDate(2008, 6, 2), QTime(9, 30));
    for (int i = 0; i < 10000; ++i) {
        rows << QVariantList{QStringLiteral("K-%1").arg(i), QStringLiteral("Müller"), i % 4,
                             date.addSecs(i * 60), i % 3, QStringLiteral("Meier"),
                             QStringLiteral("Stadtwerke"), 25.0, 23.4, 1.5 + i % 7,
                             QStringLiteral("063 01 00042"), QStringLiteral("Bemerkung")};
    }
    Recordset tests(fields, rows);
    RecordsetModel model(&tests);
    StatisticsGridModel grid;
    grid.setSourceModel(&model);
    grid.setNewTests(false);
    QList<int> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    ExportCriteria criteria;
    criteria.dataBase = resString(25038);
    criteria.customerShown = true;
    QTemporaryDir dir;

    QElapsedTimer timer;
    timer.start();
    const ExportGrid exportGrid(grid, order, QList<bool>(names.size(), true),
                                QLocale(QLocale::German, QLocale::Germany));
    const QByteArray bytes =
        ExportFile::bytes(ListExportLines(criteria, exportGrid), CodePage::Id::Windows1252);
    QString failure;
    const ExportFile::Result result =
        ExportFile::write(dir.filePath(QStringLiteral("Daten-Export.csv")), bytes, &failure);
    const qint64 ms = timer.elapsed();
    std::printf("list export of %d tests: %lld ms, %lld bytes, %s (goal < 2000 ms)\n",
                tests.recordCount(), ms, qint64(bytes.size()),
                result == ExportFile::Result::Written ? "written" : qPrintable(failure));
    return result == ExportFile::Result::Written ? 0 : 1;
}
