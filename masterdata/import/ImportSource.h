#pragma once

#include "masterdata/import/ImportTable.h"

#include <QString>

// A file customers are imported from: a text file, a workbook, an Access or a dBase file.
// Each reader yields the rows the desktop engine's drivers would: the first row of a text
// file or worksheet names the fields. A source that cannot be read throws
// RuntimeErrorException with a message that names the file and, where it helps, the row;
// nothing of such a source is handed on.
class ImportSource
{
public:
    explicit ImportSource(QString filePath) : m_filePath(std::move(filePath)) {}
    virtual ~ImportSource() = default;
    ImportSource(const ImportSource &) = delete;
    ImportSource &operator=(const ImportSource &) = delete;

    const QString &filePath() const { return m_filePath; }

    // The tables a user chooses from (worksheets end in "$"); empty for a source that is one
    // table by itself, which is then named by the file's title.
    virtual QStringList tableNames() = 0;
    // The whole table; name is ignored by sources without a table list.
    virtual ImportTable readTable(const QString &name) = 0;

    // The run-time error number of a source that cannot be read.
    static constexpr qint32 unreadableError = 3274;

protected:
    // "The file "X" cannot be read: <reason>" with ", line N" when row > 0.
    [[noreturn]] void fail(const QString &reason, int row = 0) const;

private:
    QString m_filePath;
};
