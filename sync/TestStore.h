#pragma once

#include "sync/TestRecord.h"

#include <QList>

#include <functional>

class Database;

struct StoreCounts
{
    int stored = 0;
    int skipped = 0; // already in the database: same test date and instrument number
};

// Stores test records in Pruefungen as new tests, in one transaction, skipping every record
// whose test date and instrument number are already there (also from earlier in the list).
// afterEach runs after each record, stored or skipped. On a database error the error is
// reported (ErrorReport::ShowError), the transaction rolled back and the result is false:
// nothing of the list is stored.
bool StoreTests(Database &database, const QList<TestRecord> &records,
                StoreCounts *counts = nullptr, const std::function<void()> &afterEach = {});
