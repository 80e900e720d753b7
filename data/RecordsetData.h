#pragma once

#include "data/Recordset.h"

#include <QBitArray>
#include <QHash>
#include <QSqlQuery>
#include <QStringList>

struct sqlite3;

// The rows that a recordset and its clones share, and their way to and from the database.
class RecordsetData
{
public:
    struct Row
    {
        enum class Status { Unchanged, Modified, Added, Deleted, Gone };
        QList<QVariant> values;   // stored form (SqlDialect)
        QList<qint64> keys;       // one per key table; 0 where the row has none
        QList<QVariant> edited;   // non-empty while an edit is pending
        QBitArray changed;
        Status status = Status::Unchanged;
        bool editing = false;     // edited since the last update()
    };

    RecordsetData(Database *database, const QString &selectText, LockType lockType);

    void load();
    // The current stored value of a field of a row; reads long texts on demand.
    QVariant stored(int row, int field);
    void setStored(int row, int field, const QVariant &value);
    bool isVisible(int row) const;
    // Writes the pending change of the given rows; rows keep their state until all succeed.
    void write(const QList<int> &rows);
    void cancel(int row);
    void markGone(int row);

    Database *database = nullptr;
    QString selectText;
    LockType lockType = LockType::ReadOnly;
    QList<RecordsetField> fields;
    QHash<QString, int> fieldByName; // lower-case name
    QStringList keyTables;
    std::vector<Row> rows;
    QList<Recordset *> views;

private:
    void prepare();
    void loadThroughQt();
    [[noreturn]] void sqliteFailed(sqlite3 *connection) const;
    QString loadStatement() const;
    void writeRow(Row &row);
    void resync(Row &row, int slot);
    [[noreturn]] void notUpdatable(const QString &what) const;

    QString m_prefix;
    QStringList m_expressions;
    QString m_tail;
    bool m_parsed = false;
    QHash<int, QSqlQuery> m_lazyQueries;
};
