#include "masterdata/import/FieldNames.h"

#include <QSet>

QStringList FieldNames::fromHeader(const QStringList &header)
{
    QStringList names;
    QSet<QString> used;
    for (qsizetype i = 0; i < header.size(); ++i) {
        QString name = header.at(i).trimmed();
        if (name.isEmpty() || used.contains(name.toCaseFolded()))
            name = QStringLiteral("F%1").arg(i + 1);
        used.insert(name.toCaseFolded());
        names << name;
    }
    return names;
}
