#pragma once

#include <QString>

class Database;
class Recordset;

// Stores inspector, client and remark (each trimmed; an empty box stores an empty text) into
// the current test of tests. One transaction; on failure the error is reported and the result
// is false.
bool SaveTestEdits(Database &connection, Recordset &tests, const QString &pruefer,
                   const QString &auftraggeber, const QString &bemerkung);

// Deletes the current test of tests from the list and the database. A failed deletion is
// reported (the test stays) and gives false.
bool DeleteTest(Database &connection, Recordset &tests);
