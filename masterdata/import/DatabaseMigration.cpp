#include "masterdata/import/DatabaseMigration.h"

#include "data/Database.h"
#include "data/RuntimeError.h"
#include "data/SqlDialect.h"
#include "data/StringTable.h"
#include "masterdata/import/MdbSource.h"

#include <QDateTime>
#include <QDir>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

enum class Kind { Text, Number, Integer, Bool, Date };

struct Column
{
    const char *name;
    Kind kind;
};

const Column testColumns[] = {
    {"PFG_KundenNr", Kind::Text}, {"PFG_Pruefart", Kind::Integer}, {"PFG_Druck", Kind::Number},
    {"PFG_EndDruck", Kind::Number}, {"PFG_Fluss", Kind::Number}, {"PFG_Gasart", Kind::Text},
    {"PFG_Befund", Kind::Integer}, {"PFG_Datum", Kind::Date}, {"PFG_Pruefer", Kind::Text},
    {"PFG_Druckkurve", Kind::Text}, {"PFG_Flusskurve", Kind::Text},
    {"PFG_Auftraggeber", Kind::Text}, {"PFG_FabNr", Kind::Text}, {"PFG_Dauer", Kind::Integer},
    {"PFG_Bemerkung", Kind::Text}, {"PFG_NeuePruefung", Kind::Bool},
    {"PFG_Fliessdruck", Kind::Number}, {"PFG_Ruhedruck", Kind::Number},
    {"PFG_SAVDruck", Kind::Number}, {"PFG_Befund_Nullabschluss", Kind::Integer},
    {"PFG_Befund_GMSicherung", Kind::Integer}, {"PFG_ZaehlerNr", Kind::Text},
    {"PFG_LeitungsVol", Kind::Text}, {"PFG_Messzeit", Kind::Text}, {"PFG_RefDruck", Kind::Text},
    {"PFG_Leckrate", Kind::Text}};

const char *const customerColumns[] = {"ADS_KundenNr", "ADS_Name1", "ADS_Name2", "ADS_Strasse",
                                       "ADS_PLZ", "ADS_Ort", "ADS_Telefon", "ADS_Fax",
                                       "ADS_ZaehlerNr", "ADS_ZaehlerNrAlt"};

QVariant valueOf(const QString &text, Kind kind)
{
    if (text.isEmpty())
        return {};
    switch (kind) {
    case Kind::Number: return text.toDouble();
    case Kind::Integer: return text.toInt();
    case Kind::Bool: return text != u"0";
    case Kind::Date:
        return SqlDialect::dateTimeToStorage(
            QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    case Kind::Text: break;
    }
    return text;
}

QString cell(const ImportTable &table, const QStringList &row, const char *column)
{
    const int index = table.fieldIndex(QLatin1String(column));
    return index >= 0 ? row.at(index) : QString();
}

QString storedDate(const QString &text)
{
    return SqlDialect::dateTimeToStorage(SqlDialect::dateTimeFromStorage(text));
}

QSet<QString> existing(Database &database, const QString &select, bool foldCase)
{
    QSet<QString> keys;
    QSqlQuery query = database.select(select);
    while (query.next()) {
        QString key = query.value(0).toString();
        if (query.record().count() > 1)
            key = storedDate(key) + u'\t' + query.value(1).toString();
        keys.insert(foldCase ? key.toCaseFolded() : key);
    }
    return keys;
}

ImportTable tableOf(MdbSource &source, const QString &name, bool required)
{
    if (source.tableNames().contains(name, Qt::CaseInsensitive))
        return source.readTable(name);
    if (required) {
        throw RuntimeErrorException(
            ImportSource::unreadableError, QStringLiteral("Import"),
            resString(25331).arg(QDir::toNativeSeparators(source.filePath()),
                                 resString(25347).arg(name)));
    }
    return {};
}

void addTests(Database &database, const ImportTable &tests, MigrationCounts &counts)
{
    QSet<QString> present = existing(
        database, QStringLiteral("SELECT PFG_Datum, PFG_FabNr FROM Pruefungen"), false);
    QStringList names;
    for (const Column &column : testColumns)
        names << QLatin1String(column.name);
    const QString insert = QStringLiteral("INSERT INTO Pruefungen (%1) VALUES (%2)")
                               .arg(names.join(QStringLiteral(", ")),
                                    QStringLiteral("?, ").repeated(names.size()).chopped(2));
    for (const QStringList &row : tests.rows) {
        QVariantList values;
        for (const Column &column : testColumns)
            values << valueOf(cell(tests, row, column.name), column.kind);
        const QString key = values.at(7).toString() + u'\t' + values.at(12).toString();
        if (present.contains(key)) {
            ++counts.testsPresent;
            continue;
        }
        if (values.at(21).isNull()) // no meter number column before version 2
            values[21] = QStringLiteral("00000000");
        if (values.at(15).isNull())
            values[15] = false;
        database.execute(insert, values);
        present.insert(key);
        ++counts.testsAdded;
    }
}

void addCustomers(Database &database, const ImportTable &customers, MigrationCounts &counts)
{
    QSet<QString> present = existing(
        database, QStringLiteral("SELECT ADS_KundenNr FROM Kunden"), true);
    QStringList names;
    for (const char *column : customerColumns)
        names << QLatin1String(column);
    const QString insert = QStringLiteral("INSERT INTO Kunden (%1) VALUES (%2)")
                               .arg(names.join(QStringLiteral(", ")),
                                    QStringLiteral("?, ").repeated(names.size()).chopped(2));
    for (const QStringList &row : customers.rows) {
        const QString number = cell(customers, row, "ADS_KundenNr");
        if (present.contains(number.toCaseFolded())) {
            ++counts.customersPresent;
            continue;
        }
        QVariantList values;
        for (const char *column : customerColumns)
            values << valueOf(cell(customers, row, column), Kind::Text);
        database.execute(insert, values);
        present.insert(number.toCaseFolded());
        ++counts.customersAdded;
    }
}

void addNames(Database &database, const ImportTable &table, const QString &tableName,
              const char *column, int &added, int &present)
{
    QSet<QString> names = existing(
        database, QStringLiteral("SELECT %1 FROM %2").arg(QLatin1String(column), tableName),
        false);
    for (const QStringList &row : table.rows) {
        const QString name = cell(table, row, column);
        if (names.contains(name)) {
            ++present;
            continue;
        }
        database.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                             .arg(tableName, QLatin1String(column)),
                         {valueOf(name, Kind::Text)});
        names.insert(name);
        ++added;
    }
}

} // namespace

MigrationCounts MigrateDatabase(Database &database, MdbSource &source)
{
    const ImportTable tests = tableOf(source, QStringLiteral("Pruefungen"), true);
    const ImportTable customers = tableOf(source, QStringLiteral("Kunden"), true);
    const ImportTable clients = tableOf(source, QStringLiteral("Auftraggeber"), false);
    const ImportTable inspectors = tableOf(source, QStringLiteral("Pruefer"), false);
    MigrationCounts counts;
    Transaction transaction(database);
    addTests(database, tests, counts);
    addCustomers(database, customers, counts);
    addNames(database, clients, QStringLiteral("Auftraggeber"), "Auftraggeber",
             counts.clientsAdded, counts.clientsPresent);
    addNames(database, inspectors, QStringLiteral("Pruefer"), "PFU_Name",
             counts.inspectorsAdded, counts.inspectorsPresent);
    transaction.commit();
    return counts;
}

QString MigrationMessage(const MigrationCounts &counts)
{
    return resString(25342) + u'\n'
           + resString(25343).arg(counts.testsAdded).arg(counts.testsPresent) + u'\n'
           + resString(25344).arg(counts.customersAdded).arg(counts.customersPresent) + u'\n'
           + resString(25345).arg(counts.clientsAdded).arg(counts.clientsPresent) + u'\n'
           + resString(25346).arg(counts.inspectorsAdded).arg(counts.inspectorsPresent);
}
