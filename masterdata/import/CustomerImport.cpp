#include "masterdata/import/CustomerImport.h"

#include "data/Database.h"
#include "data/StringTable.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace {

struct MappedColumn
{
    QString column;
    int sourceIndex; // -1: the source has no such field
    int size;
};

QString cut(const QString &value, int size)
{
    return size > 0 && value.size() > size ? value.left(size) : value;
}

QString keyOf(const QString &customerNumber)
{
    return customerNumber.toCaseFolded();
}

class Statement
{
public:
    Statement(Database &database, const QString &text) : m_database(database),
        m_query(database.connection())
    {
        if (!m_query.prepare(text))
            m_database.raise(m_query.lastError());
    }

    void run(const QVariantList &values)
    {
        for (qsizetype i = 0; i < values.size(); ++i)
            m_query.bindValue(int(i), values.at(i));
        if (!m_query.exec())
            m_database.raise(m_query.lastError());
    }

    QVariant lastInsertId() const { return m_query.lastInsertId(); }

private:
    Database &m_database;
    QSqlQuery m_query;
};

} // namespace

CustomerImport::CustomerImport(Database &database, const ImportMapping &mapping,
                               UpdateMethod method)
    : m_database(database)
    , m_mapping(mapping)
    , m_method(method)
{}

QHash<QString, int> CustomerImport::columnSizes(Database &database)
{
    static const QRegularExpression sizePattern(QStringLiteral("\\(\\s*(\\d+)\\s*\\)"));
    QHash<QString, int> sizes;
    QSqlQuery query = database.select(QStringLiteral("PRAGMA table_info(Kunden)"));
    while (query.next()) {
        const QRegularExpressionMatch match = sizePattern.match(query.value(2).toString());
        sizes.insert(query.value(1).toString(), match.hasMatch() ? match.captured(1).toInt() : 0);
    }
    return sizes;
}

ImportCounts CustomerImport::run(const ImportTable &table, const std::function<bool()> &afterRow)
{
    const QHash<QString, int> sizes = columnSizes(m_database);
    QList<MappedColumn> mapped;
    int keySource = -1;
    for (qsizetype i = 0; i < m_mapping.entries().size(); ++i) {
        const ImportMapping::Entry &entry = m_mapping.entries().at(i);
        if (entry.source.isEmpty())
            continue;
        const int source = table.fieldIndex(entry.source);
        mapped.append({entry.column, source, sizes.value(entry.column)});
        if (i == ImportMapping::keyEntry)
            keySource = source;
    }
    const int keySize = sizes.value(QStringLiteral("ADS_KundenNr"));

    // The first customer of each number, as a forward search from the first record finds it.
    QHash<QString, qint64> customers;
    QSqlQuery existing = m_database.select(
        QStringLiteral("SELECT rowid, ADS_KundenNr FROM Kunden ORDER BY rowid"));
    while (existing.next()) {
        const QString key = keyOf(existing.value(1).toString());
        if (!customers.contains(key))
            customers.insert(key, existing.value(0).toLongLong());
    }

    QStringList columns;
    QStringList assignments;
    for (const MappedColumn &column : std::as_const(mapped)) {
        columns << column.column;
        assignments << column.column + QStringLiteral(" = ?");
    }
    Statement insert(m_database, QStringLiteral("INSERT INTO Kunden (%1) VALUES (%2)")
                                     .arg(columns.join(QStringLiteral(", ")),
                                          QStringLiteral("?, ").repeated(columns.size())
                                              .chopped(2)));
    Statement update(m_database, QStringLiteral("UPDATE Kunden SET %1 WHERE rowid = ?")
                                     .arg(assignments.join(QStringLiteral(", "))));

    ImportCounts counts;
    m_database.beginTrans();
    try {
        for (const QStringList &row : table.rows) {
            const QString number = keySource >= 0 && keySource < row.size()
                                       ? cut(row.at(keySource), keySize) : QString();
            if (number.isEmpty()) {
                ++counts.notAdded;
            } else {
                const auto found = customers.constFind(keyOf(number));
                const bool isNew = found == customers.cend();
                if (!isNew && m_method == UpdateMethod::NoUpdate) {
                    ++counts.notAdded;
                } else {
                    QVariantList values;
                    for (const MappedColumn &column : std::as_const(mapped)) {
                        const QString value = column.sourceIndex >= 0
                                                      && column.sourceIndex < row.size()
                                                  ? row.at(column.sourceIndex) : QString();
                        values << cut(value, column.size);
                    }
                    if (isNew) {
                        insert.run(values);
                        customers.insert(keyOf(number), insert.lastInsertId().toLongLong());
                        ++counts.added;
                    } else {
                        update.run(values << *found);
                        ++counts.changed;
                    }
                }
            }
            if (afterRow && !afterRow())
                break;
        }
        m_database.commitTrans();
    } catch (...) {
        // A failed import leaves the table as it was, so the counts never lie about it.
        if (m_database.inTransaction())
            m_database.rollbackTrans();
        throw;
    }
    return counts;
}

QString ImportCountsMessage(const ImportCounts &counts)
{
    return resString(25278) + u'\n' + resString(25279) + QString::number(counts.added) + u'\n'
           + resString(25280) + QString::number(counts.changed) + u'\n' + resString(25281)
           + QString::number(counts.notAdded);
}
