#pragma once

#include "masterdata/import/ImportSource.h"

#include <QByteArray>

// dBase files (.dbf). As for the desktop engine's dBase driver, the folder of the chosen file
// is the database and each .dbf file in it a table, named by the file name without extension.
// Text is decoded in the code page that the file's header names (language driver byte);
// deleted records are left out. Memo fields (kept in a separate file) read as empty.
class DbfSource : public ImportSource
{
public:
    explicit DbfSource(const QString &filePath);

    QStringList tableNames() override;
    ImportTable readTable(const QString &name) override;

    // The table held in content, the bytes of one .dbf file; exposed for the tests.
    ImportTable parse(const QByteArray &content) const;
};
