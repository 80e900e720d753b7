#pragma once

#include <QStringList>

// lumetra4 migrate FILE: adds the tests, customers, clients and inspectors of a database of
// the Windows program to the current database, skipping what is already there.
int runMigrateCommand(const QStringList &arguments);
