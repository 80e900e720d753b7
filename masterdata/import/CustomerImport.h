#pragma once

#include "masterdata/import/ImportMapping.h"
#include "masterdata/import/ImportTable.h"

#include <QHash>

#include <functional>

class Database;

struct ImportCounts
{
    int added = 0;
    int changed = 0;
    int notAdded = 0;
};

// Whether customers already in the table take the source's values.
enum class UpdateMethod { Update, NoUpdate };

// Imports the rows of a source table into Kunden by a mapping.
//
// Each row's customer number (the value mapped onto Kunden-Nr, cut to the column's size)
// finds the first customer with that number, ignoring case. A row without number is not
// added; an unknown number adds a customer; a known one is overwritten with the mapped fields
// (empty source values empty the field) or, with NoUpdate, left alone and not added. Values
// are cut to their column's size and always go in as bound parameters. Rows are written in
// the source's order; the customers found or added are kept in memory, so the time per row
// does not grow with the table. All rows go in one transaction: a cancelled import keeps the
// rows processed up to the cancel; a failing one keeps none.
class CustomerImport
{
public:
    CustomerImport(Database &database, const ImportMapping &mapping, UpdateMethod method);

    // afterRow runs after each row; returning false stops the import after that row.
    ImportCounts run(const ImportTable &table, const std::function<bool()> &afterRow = {});

    // The declared size of each Kunden column (0: no size declared).
    static QHash<QString, int> columnSizes(Database &database);

private:
    Database &m_database;
    ImportMapping m_mapping;
    UpdateMethod m_method;
};

// The closing message: done, then the added, changed and not added counts.
QString ImportCountsMessage(const ImportCounts &counts);
