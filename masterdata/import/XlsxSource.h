#pragma once

#include "masterdata/import/ImportSource.h"

#include <QList>

typedef struct zip zip_t;

// An Excel 2007 workbook (.xlsx): a zip archive of XML parts. Each worksheet is a table named
// by the sheet's name and "$"; cells hold shared strings, inline strings, numbers, truth
// values or formula results.
class XlsxSource : public ImportSource
{
public:
    explicit XlsxSource(const QString &filePath);
    ~XlsxSource() override;

    QStringList tableNames() override;
    ImportTable readTable(const QString &name) override;

private:
    struct Sheet
    {
        QString name;
        QString part;
    };

    QByteArray entry(const QString &name);
    void readSheetList();
    void readSharedStrings();

    zip_t *m_zip = nullptr;
    QList<Sheet> m_sheets;
    QStringList m_sharedStrings;
    bool m_sharedStringsRead = false;
};
