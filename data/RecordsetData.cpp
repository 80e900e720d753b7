#include "data/RecordsetData.h"

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/SqlDialect.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <unordered_map>

namespace {

const QString source = QStringLiteral("Recordset");

// Visits every position of text from `from` on that lies outside quotes, brackets and
// parentheses; returns the first position for which visit() is true, or -1.
template<typename Visit>
qsizetype scanTopLevel(const QString &text, qsizetype from, Visit visit)
{
    int depth = 0;
    QChar quote;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'') {
            quote = c;
        } else if (c == u'[') {
            quote = u']';
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (depth == 0 && visit(i)) {
            return i;
        }
    }
    return -1;
}

// Splits text at top-level commas, outside quotes, brackets and parentheses.
QStringList splitItems(const QString &text)
{
    QStringList items;
    qsizetype start = 0;
    scanTopLevel(text, 0, [&](qsizetype i) {
        if (text.at(i) == u',') {
            items << text.mid(start, i - start).trimmed();
            start = i + 1;
        }
        return false;
    });
    items << text.mid(start).trimmed();
    return items;
}

// Position of a keyword at the top level of a statement, or -1.
qsizetype findTopLevel(const QString &text, const QString &keyword, qsizetype from = 0)
{
    return scanTopLevel(text, from, [&](qsizetype i) {
        if ((i > 0 && text.at(i - 1).isLetterOrNumber())
            || !QStringView(text).mid(i).startsWith(keyword, Qt::CaseInsensitive))
            return false;
        const qsizetype end = i + keyword.size();
        return end >= text.size() || !text.at(end).isLetterOrNumber();
    });
}

// Gives repeated texts of a column (names, inspectors, instrument numbers) one shared copy;
// gives up on columns whose texts are mostly distinct, such as dates.
class TextInterner
{
public:
    QString text(const char *data, int size, size_t rowsSoFar)
    {
        if (!m_enabled || size > 64)
            return QString::fromUtf8(data, size);
        const std::string_view key(data, size_t(size));
        const auto it = m_texts.find(key);
        if (it != m_texts.end())
            return it->second;
        QString value = QString::fromUtf8(data, size);
        m_texts.emplace(std::string(key), value);
        if (m_texts.size() > 4096 && m_texts.size() * 2 > rowsSoFar) {
            m_enabled = false;
            m_texts.clear();
        }
        return value;
    }

private:
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> m_texts;
    bool m_enabled = true;
};

QString keyAlias(int slot)
{
    return QStringLiteral("__key%1").arg(slot);
}

} // namespace

RecordsetData::RecordsetData(Database *db, const QString &text, LockType lock)
    : database(db), selectText(text), lockType(lock)
{
    if (database)
        prepare();
}

// Reads the select list: which columns are plain table columns (written back by key), which
// are long texts, and which tables need their key in every row.
void RecordsetData::prepare()
{
    static const QRegularExpression selectHead(
        QStringLiteral("^\\s*SELECT\\s+((?:DISTINCT\\s+|TOP\\s+\\d+\\s+)?)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression aliased(QStringLiteral("^(.*?)\\s+AS\\s+\\[([^\\]]*)\\]$"),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression plainColumn(QStringLiteral("^\\[?(\\w+)\\]?\\.\\[?(\\w+)\\]?$"));
    static const QRegularExpression innerColumn(QStringLiteral("\\(\\s*(\\w+)\\.(\\w+)\\s*\\)"));

    const auto head = selectHead.match(selectText);
    const qsizetype from = head.hasMatch() ? findTopLevel(selectText, QStringLiteral("FROM"),
                                                          head.capturedEnd())
                                           : -1;
    if (from < 0)
        return; // not a select list we can read: run as written, read-only
    m_prefix = head.captured(1);
    m_tail = selectText.mid(from);
    const QStringList items = splitItems(selectText.mid(head.capturedEnd(),
                                                        from - head.capturedEnd()));
    const bool grouped = !m_prefix.isEmpty()
                         || findTopLevel(m_tail, QStringLiteral("GROUP")) >= 0;

    QHash<QString, QHash<QString, QString>> declared; // table -> column -> declared type
    auto declaredType = [&](const QString &table, const QString &column) {
        if (!declared.contains(table)) {
            QHash<QString, QString> &columns = declared[table];
            QSqlQuery info = database->select(QStringLiteral("PRAGMA table_info([%1])")
                                                  .arg(table));
            while (info.next())
                columns.insert(info.value(1).toString().toLower(), info.value(2).toString());
        }
        return declared.value(table).value(column.toLower());
    };

    for (const QString &item : items) {
        RecordsetField field;
        QString expression = item;
        const auto alias = aliased.match(item);
        if (alias.hasMatch()) {
            expression = alias.captured(1).trimmed();
            field.name = alias.captured(2);
        }
        const auto plain = plainColumn.match(expression);
        if (plain.hasMatch()) {
            field.type = RecordsetField::typeFromDeclaration(
                declaredType(plain.captured(1), plain.captured(2)));
            if (field.name.isEmpty())
                field.name = plain.captured(2);
            if (!grouped) {
                field.table = plain.captured(1);
                field.column = plain.captured(2);
                field.keySlot = int(keyTables.indexOf(field.table));
                if (field.keySlot < 0) {
                    field.keySlot = int(keyTables.size());
                    keyTables << field.table;
                }
                if (field.type == RecordsetField::Type::Memo) {
                    field.lazy = true;
                    expression = QStringLiteral("NULL");
                }
            }
        } else if (const auto inner = innerColumn.match(expression); inner.hasMatch()) {
            field.type = RecordsetField::typeFromDeclaration(
                declaredType(inner.captured(1), inner.captured(2)));
        }
        if (field.name.isEmpty())
            field.name = expression;
        m_expressions << expression + QStringLiteral(" AS [") + field.name + u']';
        fieldByName.insert(field.name.toLower(), int(fields.size()));
        fields << field;
    }
    m_parsed = true;
}

QString RecordsetData::loadStatement() const
{
    QStringList items = m_expressions;
    for (int slot = 0; slot < keyTables.size(); ++slot)
        items << keyTables.at(slot) + QStringLiteral(".rowid AS ") + keyAlias(slot);
    return QStringLiteral("SELECT ") + m_prefix + items.join(QStringLiteral(", ")) + u' '
           + m_tail;
}

void RecordsetData::load()
{
    if (!database)
        return;
    m_lazyQueries.clear();
    if (!m_parsed) {
        loadThroughQt();
        return;
    }
    // The list is read straight through SQLite: Qt SQL's row cache costs as much again.
    sqlite3 *connection = database->nativeHandle();
    if (!connection) {
        loadThroughQt();
        return;
    }
    const QByteArray statement = SqlDialect::translate(loadStatement()).toUtf8();
    sqlite3_stmt *query = nullptr;
    if (sqlite3_prepare_v2(connection, statement.constData(), int(statement.size()), &query,
                           nullptr) != SQLITE_OK) {
        sqliteFailed(connection);
    }
    const int fieldTotal = int(fields.size());
    const int keyTotal = int(keyTables.size());
    rows.clear(); // frees the old rows before the new ones arrive
    std::vector<Row> loaded;
    std::vector<TextInterner> interners{size_t(fieldTotal)};
    int result;
    while ((result = sqlite3_step(query)) == SQLITE_ROW) {
        Row row;
        row.values.resize(fieldTotal);
        for (int i = 0; i < fieldTotal; ++i) {
            switch (fields.at(i).lazy ? SQLITE_NULL : sqlite3_column_type(query, i)) {
            case SQLITE_INTEGER:
                row.values[i] = qlonglong(sqlite3_column_int64(query, i));
                break;
            case SQLITE_FLOAT:
                row.values[i] = sqlite3_column_double(query, i);
                break;
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(query, i));
                row.values[i] = interners[size_t(i)].text(text, sqlite3_column_bytes(query, i),
                                                           loaded.size());
                break;
            }
            default:
                break;
            }
        }
        row.keys.resize(keyTotal);
        for (int slot = 0; slot < keyTotal; ++slot)
            row.keys[slot] = sqlite3_column_int64(query, fieldTotal + slot);
        loaded.push_back(std::move(row));
    }
    sqlite3_finalize(query);
    if (result != SQLITE_DONE)
        sqliteFailed(connection);
    rows = std::move(loaded);
}

void RecordsetData::loadThroughQt()
{
    QSqlQuery query = database->select(selectText);
    if (fields.isEmpty()) {
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i) {
            fields << RecordsetField::named(record.fieldName(i));
            fieldByName.insert(record.fieldName(i).toLower(), i);
        }
    }
    std::vector<Row> loaded;
    while (query.next()) {
        Row row;
        for (int i = 0; i < fields.size(); ++i)
            row.values << query.value(i);
        loaded.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        database->raise(query.lastError());
    rows = std::move(loaded);
}

void RecordsetData::sqliteFailed(sqlite3 *connection) const
{
    throw DatabaseError::fromSql(QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(connection)),
                                           QSqlError::StatementError,
                                           QString::number(sqlite3_extended_errcode(connection))),
                                 source, database->filePath());
}

QVariant RecordsetData::stored(int rowIndex, int field)
{
    Row &row = rows[rowIndex];
    if (!row.edited.isEmpty() && row.changed.testBit(field))
        return row.edited.at(field);
    const RecordsetField &f = fields.at(field);
    if (!f.lazy)
        return row.edited.isEmpty() ? row.values.at(field) : row.edited.at(field);
    const qint64 key = row.keys.at(f.keySlot);
    if (key == 0 || !database)
        return {};
    auto it = m_lazyQueries.find(field);
    if (it == m_lazyQueries.end()) {
        QSqlQuery query(database->connection());
        if (!query.prepare(QStringLiteral("SELECT [%1] FROM [%2] WHERE rowid = ?")
                               .arg(f.column, f.table)))
            database->raise(query.lastError());
        it = m_lazyQueries.insert(field, query);
    }
    it->bindValue(0, key);
    if (!it->exec())
        database->raise(it->lastError());
    const QVariant value = it->next() ? it->value(0) : QVariant();
    it->finish();
    return value;
}

void RecordsetData::setStored(int rowIndex, int field, const QVariant &value)
{
    if (lockType == LockType::ReadOnly)
        notUpdatable(QStringLiteral("the list is read-only"));
    const RecordsetField &f = fields.at(field);
    if (database && f.table.isEmpty())
        notUpdatable(QStringLiteral("the field [%1] is computed").arg(f.name));
    Row &row = rows[rowIndex];
    if (row.edited.isEmpty()) {
        row.edited = row.values;
        row.changed = QBitArray(int(fields.size()));
    }
    row.edited[field] = SqlDialect::toStorage(value);
    row.changed.setBit(field);
    row.editing = true;
    if (row.status == Row::Status::Unchanged)
        row.status = Row::Status::Modified;
}

bool RecordsetData::isVisible(int rowIndex) const
{
    const Row::Status status = rows.at(rowIndex).status;
    return status != Row::Status::Deleted && status != Row::Status::Gone;
}

void RecordsetData::write(const QList<int> &rowIndexes)
{
    for (int index : rowIndexes) {
        if (database)
            writeRow(rows[index]);
    }
    for (int index : rowIndexes) {
        Row &row = rows[index];
        if (row.status == Row::Status::Deleted) {
            markGone(index);
            continue;
        }
        if (!row.edited.isEmpty()) {
            for (int i = 0; i < fields.size(); ++i) {
                if (row.changed.testBit(i) && !fields.at(i).lazy)
                    row.values[i] = row.edited.at(i);
            }
        }
        row.edited.clear();
        row.changed.clear();
        row.editing = false;
        row.status = Row::Status::Unchanged;
    }
}

void RecordsetData::writeRow(Row &row)
{
    using Status = Row::Status;
    if (row.status == Status::Unchanged || row.status == Status::Gone)
        return;
    if (keyTables.isEmpty())
        notUpdatable(QStringLiteral("the list has no table to write to"));
    if (row.status == Status::Deleted) {
        const qint64 key = row.keys.value(0);
        if (key != 0 && database->execute(QStringLiteral("DELETE FROM [%1] WHERE rowid = ?")
                                              .arg(keyTables.first()), {key}) == 0) {
            throw DatabaseError::make(DatabaseError::RowNotFound, source,
                                      QStringLiteral("The row to delete is no longer in the "
                                                     "database; nothing was deleted."));
        }
        return;
    }
    for (int slot = 0; slot < keyTables.size(); ++slot) {
        QStringList columns;
        QVariantList values;
        for (int i = 0; i < fields.size(); ++i) {
            if (fields.at(i).keySlot == slot && row.changed.testBit(i)) {
                columns << u'[' + fields.at(i).column + u']';
                values << row.edited.at(i);
            }
        }
        const QString &table = keyTables.at(slot);
        if (row.status == Status::Added) {
            if (columns.isEmpty() && slot > 0)
                continue;
            const QString statement
                = columns.isEmpty()
                      ? QStringLiteral("INSERT INTO [%1] DEFAULT VALUES").arg(table)
                      : QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")),
                                 QStringList(columns.size(), QStringLiteral("?"))
                                     .join(QStringLiteral(", ")));
            QSqlQuery query = database->select(statement, values);
            row.keys[slot] = query.lastInsertId().toLongLong();
            resync(row, slot);
        } else if (!columns.isEmpty()) {
            if (row.keys.at(slot) == 0)
                notUpdatable(QStringLiteral("the row has no entry in [%1]").arg(table));
            values << row.keys.at(slot);
            const QString statement = QStringLiteral("UPDATE [%1] SET %2 = ? WHERE rowid = ?")
                                          .arg(table, columns.join(QStringLiteral(" = ?, ")));
            if (database->execute(statement, values) == 0) {
                throw DatabaseError::make(DatabaseError::RowNotFound, source,
                                          QStringLiteral("The row to change is no longer in the "
                                                         "database; nothing was changed."));
            }
        }
    }
}

// Reads back a new row, so defaults the database filled in show.
void RecordsetData::resync(Row &row, int slot)
{
    QList<int> indexes;
    QStringList columns;
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).keySlot == slot && !fields.at(i).lazy && !row.changed.testBit(i)) {
            indexes << i;
            columns << u'[' + fields.at(i).column + u']';
        }
    }
    if (columns.isEmpty())
        return;
    QSqlQuery query = database->select(QStringLiteral("SELECT %1 FROM [%2] WHERE rowid = ?")
                                           .arg(columns.join(QStringLiteral(", ")),
                                                keyTables.at(slot)),
                                       {row.keys.at(slot)});
    if (query.next()) {
        for (int i = 0; i < indexes.size(); ++i)
            row.edited[indexes.at(i)] = query.value(i);
        for (int index : indexes)
            row.values[index] = row.edited.at(index);
    }
}

void RecordsetData::cancel(int rowIndex)
{
    Row &row = rows[rowIndex];
    if (row.status == Row::Status::Added) {
        markGone(rowIndex);
        return;
    }
    row.edited.clear();
    row.changed.clear();
    row.editing = false;
    row.status = Row::Status::Unchanged;
}

void RecordsetData::markGone(int rowIndex)
{
    Row &row = rows[rowIndex];
    row.status = Row::Status::Gone;
    row.values.clear();
    row.edited.clear();
    row.editing = false;
    const QList<Recordset *> current = views;
    for (Recordset *view : current)
        view->rowRemoved(rowIndex);
}

void RecordsetData::notUpdatable(const QString &what) const
{
    throw DatabaseError::make(DatabaseError::NotUpdatable, source,
                              QStringLiteral("Cannot update: %1.").arg(what));
}
