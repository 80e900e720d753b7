#pragma once

#include "sync/DecodedMemory.h"
#include "sync/TestRecord.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <functional>

struct BuildOutcome
{
    bool completed = true; // false only when stopped
    int testsBuilt = 0;
    // Main-table entries that are not empty but gave no test (a failed check, measurement
    // number 0, implausible events). While any exist the instrument must keep its tests.
    int blocksWithoutTest = 0;
    // The info block or main table broke the layout, so blocks may have gone unseen.
    bool layoutFault = false;
};

// Appends one test record per valid block of a decoded instrument (firmware number and info
// block as decoded), in main-table order. fabText is the instrument's display text.
BuildOutcome BuildTests(const DecodedInstrument &instrument, const QString &fabText,
                        QList<TestRecord> &records,
                        const std::function<bool()> &stopRequested = {},
                        const QLocale &locale = QLocale());
