#pragma once

#include "masterdata/import/ImportSource.h"

#include <QByteArray>

// A delimited text file (.txt, .csv) as one table named by the file's title. The separator is
// the one of ";", tab and "," that the first line holds most often; fields may be quoted with
// '"' (a doubled quote inside stands for one, line breaks inside are kept). The text is UTF-8
// when it starts with the byte order mark or is valid UTF-8 throughout, else Windows-1252.
// Blank lines are skipped; a row with more or fewer fields than the header line is refused.
class TextFileSource : public ImportSource
{
public:
    explicit TextFileSource(const QString &filePath);

    QStringList tableNames() override { return {}; }
    ImportTable readTable(const QString &name) override;

    // Parses content as the file would be read; exposed for the tests of odd content.
    ImportTable parse(const QByteArray &content) const;

    static QString decode(const QByteArray &content);
    static QChar detectSeparator(QStringView text);
};
