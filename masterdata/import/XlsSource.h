#pragma once

#include "masterdata/import/ImportSource.h"

// An Excel 97-2003 workbook (.xls), read through FreeXL. Each worksheet is a table named by
// the sheet's name and "$".
class XlsSource : public ImportSource
{
public:
    explicit XlsSource(const QString &filePath);
    ~XlsSource() override;

    QStringList tableNames() override;
    ImportTable readTable(const QString &name) override;

private:
    [[noreturn]] void damaged() const;

    const void *m_handle = nullptr;
    QStringList m_sheets;
};
