#pragma once

#include <QList>
#include <QString>

class Database;
class Progress;
class Recordset;

// The filter of a customer's filed tests (new tests are not the customer's yet: they stay in
// the new tests list with their number). The number goes in quoted, whatever it holds.
QString FiledTestsFilter(const QString &kundenNr);

// How many filed tests carry the customer number; tests is a list of tests with the captions
// of the shared tests recordset. Its filter is left as it was.
int CountFiledTests(Recordset &tests, const QString &kundenNr);

// Deletes the customers of the bookmarks (rows of customers) and the filed tests of each, in
// one transaction on connection, one progress step per customer. A failure rolls customers and
// tests back together, rereads both lists so they show what the database holds, and throws.
void DeleteCustomers(Database &connection, Recordset &customers, Recordset &tests,
                     const QList<int> &bookmarks, Progress *progress);

// Deletes the customer of the current row of customers and its filed tests, inside the
// caller's transaction. Throws on failure; nothing is skipped, so the caller can roll back.
void DeleteCustomerWithFiledTests(Recordset &customers, Recordset &tests);
