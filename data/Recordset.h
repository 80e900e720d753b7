#pragma once

#include "data/RecordsetField.h"

#include <QLocale>
#include <QObject>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

class Database;
class RecordsetData;
class RecordsetFilter;

enum class LockType { ReadOnly, Optimistic, BatchOptimistic };

// The rows of a select text, held in memory, as the windows work with them.
//
// Fields are addressed by name (the select list's aliases, that is the localised captions) or
// by position. A filter text (see RecordsetFilter) and a sort text ("[name] ASC, [other] DESC")
// choose and order the rows this recordset shows; both are evaluated here, never sent to the
// database. Clones share the rows but have their own filter, order and position; a requery
// reloads the rows for the recordset and all its clones.
//
// Changes: setValue() edits the current row, addNew() starts a new one, update() ends the edit.
// With LockType::Optimistic update() and deleteCurrent() write to the database at once; with
// BatchOptimistic they wait for updateBatch(). Rows are written back by the key of each table
// the select list reads plain columns from, on the connection the recordset was opened on, so
// inside whatever transaction the caller has begun there. Moving away from an edited row
// updates it first.
//
// Long texts (memo columns) are read when a row needs them, not with the list. Failures throw
// RuntimeErrorException (numbers in DatabaseError.h): 3001 for a filter or sort text that does
// not parse, 3021 without a current row, 3027 for a read-only field, 3197 when the row changed
// in the database since it was read.
class Recordset : public QObject
{
    Q_OBJECT
public:
    Recordset(Database &database, const QString &selectText, LockType lockType);
    // Rows held in memory only; changes stay in memory.
    Recordset(const QList<RecordsetField> &fields, const QList<QVariantList> &rows);
    ~Recordset() override;

    std::unique_ptr<Recordset> clone();
    void requery();
    void close();
    bool isOpen() const { return m_data != nullptr; }
    LockType lockType() const;
    const QString &selectText() const;

    int fieldCount() const;
    const RecordsetField &field(int index) const;
    QString fieldName(int index) const { return field(index).name; }
    // -1 when there is no field of that name (names compare ignoring case).
    int fieldIndex(const QString &name) const;

    int recordCount() const { return int(m_view.size()); }
    int position() const { return m_position; } // -1 before the first row, count after the last
    bool bof() const { return m_position < 0 || m_view.empty(); }
    bool eof() const { return m_position >= recordCount() || m_view.empty(); }
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void move(int position);
    // A bookmark names a row for as long as the rows are not requeried.
    int bookmark() const;
    void setBookmark(int bookmark);

    // The key (row id) of the current row in table, as the list was read; 0 when the list
    // reads no plain column of that table or the row has none.
    qint64 rowKey(const QString &table) const;

    QVariant value(int field) const;
    QVariant value(const QString &field) const;
    QVariant valueAt(int position, int field) const;
    void setValue(int field, const QVariant &value);
    void setValue(const QString &field, const QVariant &value);

    void setFilter(const QString &filter, const QLocale &locale = QLocale());
    const QString &filter() const { return m_filterText; }
    void setSort(const QString &sort);
    const QString &sort() const { return m_sortText; }

    void addNew();
    void update();
    void cancelUpdate();
    bool isEditing() const;
    void deleteCurrent();
    void updateBatch();
    void cancelBatch();

signals:
    // The rows shown, their order or their contents changed as a whole.
    void reset();
    void rowChanged(int position);

private:
    friend class RecordsetData;
    explicit Recordset(std::shared_ptr<RecordsetData> data);
    void attach();
    void rebuildView();
    bool sortByPreparedKeys();
    void rowRemoved(int row);
    void finishEditBeforeMove();
    int currentRow() const;
    int requireField(const QString &name) const;
    RecordsetData &data() const;

    std::shared_ptr<RecordsetData> m_data;
    std::vector<int> m_view;
    int m_position = -1;
    QString m_filterText;
    std::shared_ptr<RecordsetFilter> m_filter;
    QString m_sortText;
    std::vector<std::pair<int, bool>> m_sortKeys; // field, descending
};
