#pragma once

#include <QList>
#include <QStringList>

// The rows of one source table as text, as a user sees them in a sample grid: the field names
// and, per row, one value per field (an empty text for a missing value).
struct ImportTable
{
    QStringList fields;
    QList<QStringList> rows;

    // -1 when there is no field of that name (names compare ignoring case, as field names do).
    int fieldIndex(const QString &name) const
    {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        }
        return -1;
    }
};
