#pragma once

#include "masterdata/import/ImportSource.h"

struct _mdb_handle;

// An Access database (.mdb, .accdb) of any Jet version, read through mdbtools' libmdb. Its
// user tables are the tables; values read as text, dates as "yyyy-MM-dd HH:mm:ss" and truth
// values as "1" and "0".
class MdbSource : public ImportSource
{
public:
    explicit MdbSource(const QString &filePath);
    ~MdbSource() override;

    QStringList tableNames() override;
    ImportTable readTable(const QString &name) override;

private:
    [[noreturn]] void damaged() const;

    void *m_handle = nullptr;
    QStringList m_tables;
};
