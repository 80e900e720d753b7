#pragma once

#include <QStringList>

// lumetra4 customers [--search TEXT] [--format table|csv|json]: prints the customers, sorted
// by number, optionally only those that hold TEXT in any column (the search of the customer
// list).
int runCustomersCommand(const QStringList &arguments);
