#pragma once

#include <QString>

class Database;
class MdbSource;

struct MigrationCounts
{
    int testsAdded = 0;
    int testsPresent = 0;
    int customersAdded = 0;
    int customersPresent = 0;
    int clientsAdded = 0;
    int clientsPresent = 0;
    int inspectorsAdded = 0;
    int inspectorsPresent = 0;
};

// Adds the tests, customers, clients and inspectors of a database file of the Windows program
// (any schema version) to the current database, in one transaction: all or nothing. A test
// whose date and instrument number are already there, a customer whose number is already
// there and a client or inspector of the same name are skipped, so a second run adds nothing.
// Columns an older version lacks get the value the upgrade gives them. Throws
// RuntimeErrorException when the file lacks its tests or customers or cannot be read.
MigrationCounts MigrateDatabase(Database &database, MdbSource &source);

// The closing message with the counts.
QString MigrationMessage(const MigrationCounts &counts);
