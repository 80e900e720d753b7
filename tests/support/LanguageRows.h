#pragma once

#include "data/StringTable.h"

#include <QTest>

// One data row per language of the program, in the column "language".
inline void addLanguageRows()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : StringTable::languages())
        QTest::newRow(qPrintable(language)) << language;
}
