#include "data/Recordset.h"

#include "data/DatabaseError.h"
#include "data/RecordsetData.h"
#include "data/RecordsetFilter.h"
#include "data/SqlDialect.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QString source = QStringLiteral("Recordset");

class RowAccess : public RecordsetFilter::Row
{
public:
    RowAccess(RecordsetData &data, int row) : m_data(data), m_row(row) {}
    QVariant value(int field) const override { return m_data.stored(m_row, field); }

private:
    RecordsetData &m_data;
    int m_row;
};

// Orders stored values: nulls first, numbers as numbers, texts ignoring case.
int compareStored(const QVariant &a, const QVariant &b, RecordsetField::Type type)
{
    if (a.isNull() || b.isNull())
        return int(b.isNull()) - int(a.isNull());
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString) {
        const auto &x = *static_cast<const QString *>(a.constData());
        const auto &y = *static_cast<const QString *>(b.constData());
        return type == RecordsetField::Type::DateTime ? x.compare(y)
                                                      : x.compare(y, Qt::CaseInsensitive);
    }
    switch (type) {
    case RecordsetField::Type::Integer:
    case RecordsetField::Type::Real:
    case RecordsetField::Type::Bool: {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    case RecordsetField::Type::DateTime:
        return a.toString().compare(b.toString());
    default:
        break;
    }
    const bool numbers = a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString;
    if (numbers) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return a.toString().compare(b.toString(), Qt::CaseInsensitive);
}

QVariant fromStored(const QVariant &value, RecordsetField::Type type)
{
    if (value.isNull())
        return {};
    switch (type) {
    case RecordsetField::Type::DateTime: {
        const QDateTime dateTime = SqlDialect::dateTimeFromStorage(value.toString());
        return dateTime.isValid() ? QVariant(dateTime) : value;
    }
    case RecordsetField::Type::Bool:
        return value.toLongLong() != 0;
    case RecordsetField::Type::Integer:
        return value.toInt();
    case RecordsetField::Type::Real:
        return value.toDouble();
    default:
        return value;
    }
}

[[noreturn]] void noCurrentRecord()
{
    throw DatabaseError::make(DatabaseError::NoCurrentRecord, source,
                              QStringLiteral("Either BOF or EOF is True, or the current record "
                                             "has been deleted."));
}

} // namespace

Recordset::Recordset(Database &database, const QString &selectText, LockType lockType)
    : m_data(std::make_shared<RecordsetData>(&database, selectText, lockType))
{
    m_data->load();
    attach();
}

Recordset::Recordset(const QList<RecordsetField> &fields, const QList<QVariantList> &rows)
    : m_data(std::make_shared<RecordsetData>(nullptr, QString(), LockType::Optimistic))
{
    m_data->fields = fields;
    for (int i = 0; i < fields.size(); ++i)
        m_data->fieldByName.insert(fields.at(i).name.toLower(), i);
    for (const QVariantList &values : rows) {
        RecordsetData::Row row;
        for (int i = 0; i < fields.size(); ++i)
            row.values << SqlDialect::toStorage(values.value(i));
        m_data->rows.push_back(std::move(row));
    }
    attach();
}

Recordset::Recordset(std::shared_ptr<RecordsetData> data)
    : m_data(std::move(data))
{
    attach();
}

Recordset::~Recordset()
{
    close();
}

void Recordset::attach()
{
    m_data->views << this;
    rebuildView();
}

RecordsetData &Recordset::data() const
{
    if (!m_data) {
        throw DatabaseError::make(DatabaseError::General, source,
                                  QStringLiteral("Operation is not allowed when the object is "
                                                 "closed."));
    }
    return *m_data;
}

std::unique_ptr<Recordset> Recordset::clone()
{
    data();
    return std::unique_ptr<Recordset>(new Recordset(m_data));
}

void Recordset::requery()
{
    RecordsetData &d = data();
    d.load();
    const QList<Recordset *> views = d.views;
    for (Recordset *view : views) {
        view->rebuildView();
        emit view->reset();
    }
}

void Recordset::close()
{
    if (!m_data)
        return;
    m_data->views.removeOne(this);
    m_data.reset();
    m_view.clear();
    m_position = -1;
    emit reset();
}

LockType Recordset::lockType() const
{
    return data().lockType;
}

const QString &Recordset::selectText() const
{
    return data().selectText;
}

int Recordset::fieldCount() const
{
    return int(data().fields.size());
}

const RecordsetField &Recordset::field(int index) const
{
    const RecordsetData &d = data();
    if (index < 0 || index >= d.fields.size()) {
        throw DatabaseError::make(DatabaseError::ItemNotFound, source,
                                  QStringLiteral("There is no field number %1.").arg(index));
    }
    return d.fields.at(index);
}

int Recordset::fieldIndex(const QString &name) const
{
    return data().fieldByName.value(name.toLower(), -1);
}

int Recordset::requireField(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0) {
        throw DatabaseError::make(DatabaseError::ItemNotFound, source,
                                  QStringLiteral("Item cannot be found in the collection "
                                                 "corresponding to the requested name: [%1].")
                                      .arg(name));
    }
    return index;
}

void Recordset::rebuildView()
{
    RecordsetData &d = *m_data;
    m_view.clear();
    m_view.reserve(d.rows.size());
    for (int row = 0; row < int(d.rows.size()); ++row) {
        if (d.isVisible(row) && (!m_filter || m_filter->matches(RowAccess(d, row))))
            m_view.push_back(row);
    }
    if (!m_sortKeys.empty() && sortByPreparedKeys()) {
        m_position = m_view.empty() ? -1 : 0;
        return;
    }
    if (!m_sortKeys.empty()) {
        std::stable_sort(m_view.begin(), m_view.end(), [&](int a, int b) {
            for (const auto &[fieldIndex, descending] : m_sortKeys) {
                const RecordsetField &f = d.fields.at(fieldIndex);
                const int order = f.lazy || !d.rows[a].edited.isEmpty() || !d.rows[b].edited.isEmpty()
                                      ? compareStored(d.stored(a, fieldIndex),
                                                      d.stored(b, fieldIndex), f.type)
                                      : compareStored(d.rows[a].values.at(fieldIndex),
                                                      d.rows[b].values.at(fieldIndex), f.type);
                if (order != 0)
                    return descending ? order > 0 : order < 0;
            }
            return false;
        });
    }
    m_position = m_view.empty() ? -1 : 0;
}

// A sort by one column of a long list, with the column's values prepared once instead of at
// every comparison: numbers as numbers, texts folded to one case. Returns false where that
// does not apply (several sort columns, long texts read on demand, rows being edited).
bool Recordset::sortByPreparedKeys()
{
    RecordsetData &d = *m_data;
    const auto [fieldIndex, descending] = m_sortKeys.front();
    const RecordsetField &field = d.fields.at(fieldIndex);
    if (m_sortKeys.size() != 1 || field.lazy)
        return false;
    struct Key
    {
        bool null = true;
        double number = 0;
        QString text;
    };
    const bool numeric = field.type == RecordsetField::Type::Integer
                         || field.type == RecordsetField::Type::Real
                         || field.type == RecordsetField::Type::Bool;
    std::vector<Key> keys(d.rows.size());
    for (int row : m_view) {
        const RecordsetData::Row &r = d.rows[size_t(row)];
        if (!r.edited.isEmpty())
            return false;
        const QVariant &value = r.values.at(fieldIndex);
        Key &key = keys[size_t(row)];
        key.null = value.isNull();
        if (key.null)
            continue;
        if (numeric)
            key.number = value.toDouble();
        else if (field.type == RecordsetField::Type::DateTime)
            key.text = value.toString();
        else if (value.typeId() == QMetaType::QString)
            key.text = value.toString().toCaseFolded();
        else
            return false; // numbers in a column of no declared type compare as numbers
    }
    std::stable_sort(m_view.begin(), m_view.end(), [&](int a, int b) {
        const Key &x = keys[size_t(a)];
        const Key &y = keys[size_t(b)];
        int order;
        if (x.null || y.null)
            order = int(y.null) - int(x.null);
        else if (numeric)
            order = x.number < y.number ? -1 : x.number > y.number ? 1 : 0;
        else
            order = x.text.compare(y.text);
        return descending ? order > 0 : order < 0;
    });
    return true;
}

void Recordset::rowRemoved(int row)
{
    const auto it = std::find(m_view.begin(), m_view.end(), row);
    if (it == m_view.end())
        return;
    const int removed = int(it - m_view.begin());
    m_view.erase(it);
    // The row after the deleted one becomes current; past the last row is the end.
    if (m_position > removed)
        --m_position;
    if (m_view.empty())
        m_position = -1;
    emit reset();
}

int Recordset::currentRow() const
{
    if (bof() || eof())
        noCurrentRecord();
    return m_view.at(m_position);
}

void Recordset::finishEditBeforeMove()
{
    if (isEditing())
        update();
}

void Recordset::moveFirst()
{
    finishEditBeforeMove();
    m_position = m_view.empty() ? -1 : 0;
}

void Recordset::moveLast()
{
    finishEditBeforeMove();
    m_position = recordCount() - 1;
}

void Recordset::moveNext()
{
    if (eof())
        noCurrentRecord();
    finishEditBeforeMove();
    ++m_position;
}

void Recordset::movePrevious()
{
    if (bof())
        noCurrentRecord();
    finishEditBeforeMove();
    --m_position;
}

void Recordset::move(int position)
{
    finishEditBeforeMove();
    m_position = std::clamp(position, -1, recordCount());
}

int Recordset::bookmark() const
{
    return currentRow();
}

void Recordset::setBookmark(int bookmark)
{
    const auto it = std::find(m_view.begin(), m_view.end(), bookmark);
    if (it == m_view.end()) {
        throw DatabaseError::make(DatabaseError::NoCurrentRecord, source,
                                  QStringLiteral("The bookmarked row is not in the list."));
    }
    finishEditBeforeMove();
    m_position = int(it - m_view.begin());
}

qint64 Recordset::rowKey(const QString &table) const
{
    const RecordsetData &d = data();
    const int slot = int(d.keyTables.indexOf(table));
    const int row = currentRow();
    if (slot < 0 || row < 0 || row >= int(d.rows.size()))
        return 0;
    return d.rows[size_t(row)].keys.value(slot);
}

QVariant Recordset::value(int fieldIndex) const
{
    return fromStored(data().stored(currentRow(), fieldIndex), field(fieldIndex).type);
}

QVariant Recordset::value(const QString &name) const
{
    return value(requireField(name));
}

QVariant Recordset::valueAt(int position, int fieldIndex) const
{
    if (position < 0 || position >= recordCount())
        noCurrentRecord();
    return fromStored(data().stored(m_view.at(position), fieldIndex), field(fieldIndex).type);
}

void Recordset::setValue(int fieldIndex, const QVariant &value)
{
    field(fieldIndex);
    data().setStored(currentRow(), fieldIndex, value);
    emit rowChanged(m_position);
}

void Recordset::setValue(const QString &name, const QVariant &value)
{
    setValue(requireField(name), value);
}

void Recordset::setFilter(const QString &filter, const QLocale &locale)
{
    RecordsetData &d = data();
    finishEditBeforeMove();
    std::shared_ptr<RecordsetFilter> compiled;
    if (!filter.trimmed().isEmpty())
        compiled = std::make_shared<RecordsetFilter>(filter, d.fields, locale);
    m_filter = std::move(compiled);
    m_filterText = m_filter ? filter : QString();
    rebuildView();
    emit reset();
}

void Recordset::setSort(const QString &sort)
{
    static const QRegularExpression item(
        QStringLiteral("^\\s*(?:\\[([^\\]]+)\\]|([^\\s\\[\\],]+))\\s*(ASC|DESC)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<std::pair<int, bool>> keys;
    if (!sort.trimmed().isEmpty()) {
        for (const QString &part : sort.split(u',')) {
            const auto match = item.match(part);
            if (!match.hasMatch()) {
                throw DatabaseError::make(DatabaseError::InvalidArgument, source,
                                          QStringLiteral("The sort text \"%1\" cannot be read.")
                                              .arg(sort));
            }
            const QString name = match.captured(1).isEmpty() ? match.captured(2)
                                                             : match.captured(1);
            keys.emplace_back(requireField(name),
                              match.captured(3).compare(QLatin1String("DESC"),
                                                        Qt::CaseInsensitive) == 0);
        }
    }
    finishEditBeforeMove();
    m_sortKeys = std::move(keys);
    m_sortText = m_sortKeys.empty() ? QString() : sort;
    rebuildView();
    emit reset();
}

void Recordset::addNew()
{
    RecordsetData &d = data();
    if (d.lockType == LockType::ReadOnly) {
        throw DatabaseError::make(DatabaseError::NotUpdatable, source,
                                  QStringLiteral("Cannot add a row to a read-only list."));
    }
    finishEditBeforeMove();
    RecordsetData::Row row;
    row.values.resize(d.fields.size());
    row.keys.resize(d.keyTables.size());
    row.edited = row.values;
    row.changed = QBitArray(int(d.fields.size()));
    row.status = RecordsetData::Row::Status::Added;
    row.editing = true;
    d.rows.push_back(std::move(row));
    m_view.push_back(int(d.rows.size()) - 1);
    m_position = recordCount() - 1;
    emit reset();
}

bool Recordset::isEditing() const
{
    if (!m_data || bof() || eof())
        return false;
    return m_data->rows.at(m_view.at(m_position)).editing;
}

void Recordset::update()
{
    RecordsetData &d = data();
    const int row = currentRow();
    if (!d.rows.at(row).editing)
        return;
    if (d.lockType == LockType::BatchOptimistic) {
        d.rows[row].editing = false;
        return;
    }
    d.write({row});
    emit rowChanged(m_position);
}

void Recordset::cancelUpdate()
{
    RecordsetData &d = data();
    if (!isEditing())
        return;
    const int row = currentRow();
    const bool pendingBatch = d.lockType == LockType::BatchOptimistic
                              && d.rows.at(row).status == RecordsetData::Row::Status::Modified;
    if (pendingBatch) {
        d.rows[row].editing = false; // earlier batch changes of the row stay pending
        return;
    }
    d.cancel(row);
    emit reset();
}

void Recordset::deleteCurrent()
{
    RecordsetData &d = data();
    const int row = currentRow();
    if (d.lockType == LockType::ReadOnly) {
        throw DatabaseError::make(DatabaseError::NotUpdatable, source,
                                  QStringLiteral("Cannot delete from a read-only list."));
    }
    RecordsetData::Row &entry = d.rows[row];
    entry.editing = false;
    if (entry.status == RecordsetData::Row::Status::Added && entry.keys.value(0) == 0) {
        d.markGone(row);
        return;
    }
    const auto previous = entry.status;
    entry.status = RecordsetData::Row::Status::Deleted;
    if (d.lockType == LockType::BatchOptimistic) {
        const QList<Recordset *> views = d.views;
        for (Recordset *view : views)
            view->rowRemoved(row);
        return;
    }
    try {
        d.write({row});
    } catch (...) {
        d.rows[row].status = previous;
        throw;
    }
}

void Recordset::updateBatch()
{
    RecordsetData &d = data();
    finishEditBeforeMove();
    QList<int> pending;
    for (int row = 0; row < int(d.rows.size()); ++row) {
        const auto status = d.rows.at(row).status;
        if (status != RecordsetData::Row::Status::Unchanged
            && status != RecordsetData::Row::Status::Gone)
            pending << row;
    }
    d.write(pending);
    emit reset();
}

void Recordset::cancelBatch()
{
    RecordsetData &d = data();
    for (int row = 0; row < int(d.rows.size()); ++row) {
        const auto status = d.rows.at(row).status;
        if (status != RecordsetData::Row::Status::Unchanged
            && status != RecordsetData::Row::Status::Gone)
            d.cancel(row);
    }
    const QList<Recordset *> views = d.views;
    for (Recordset *view : views) {
        view->rebuildView();
        emit view->reset();
    }
}
