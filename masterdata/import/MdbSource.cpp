#include "masterdata/import/MdbSource.h"

#include "data/StringTable.h"

#include <QFile>
#include <QFileInfo>

#include <mdbtools.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Long enough for the curve texts of a test, which are the longest values the program keeps.
constexpr size_t bindSize = 1024 * 1024;

MdbHandle *handleOf(void *handle)
{
    return static_cast<MdbHandle *>(handle);
}

} // namespace

MdbSource::MdbSource(const QString &filePath)
    : ImportSource(filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        fail(file.errorString());
    file.close();
    MdbHandle *mdb = mdb_open(QFile::encodeName(filePath).constData(), MDB_NOFLAGS);
    if (!mdb)
        damaged();
    m_handle = mdb;
    mdb_set_bind_size(mdb, bindSize);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(mdb);
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        damaged();
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            m_tables << QString::fromUtf8(entry->object_name);
    }
}

MdbSource::~MdbSource()
{
    if (m_handle)
        mdb_close(handleOf(m_handle));
}

void MdbSource::damaged() const
{
    fail(resString(25336).arg(QStringLiteral("Access")));
}

QStringList MdbSource::tableNames()
{
    return m_tables;
}

ImportTable MdbSource::readTable(const QString &name)
{
    QString found;
    for (const QString &table : std::as_const(m_tables)) {
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            found = table;
    }
    if (found.isEmpty())
        fail(resString(25338).arg(name));
    QByteArray tableName = found.toUtf8();
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef *)> table(
        mdb_read_table_by_name(handleOf(m_handle), tableName.data(), MDB_TABLE),
        mdb_free_tabledef);
    if (!table || !mdb_read_columns(table.get()))
        damaged();
    mdb_rewind_table(table.get());

    ImportTable result;
    const unsigned int columns = table->num_cols;
    std::vector<std::vector<char>> buffers(columns, std::vector<char>(bindSize + 1));
    std::vector<int> lengths(columns, 0);
    for (unsigned int i = 0; i < columns; ++i) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        result.fields << QString::fromUtf8(column->name);
        mdb_bind_column(table.get(), int(i + 1), buffers[i].data(), &lengths[i]);
    }
    while (mdb_fetch_row(table.get())) {
        QStringList values;
        for (unsigned int i = 0; i < columns; ++i) {
            const int length = std::clamp(lengths[i], 0, int(bindSize));
            values << QString::fromUtf8(buffers[i].data(), length);
        }
        result.rows << values;
    }
    return result;
}
