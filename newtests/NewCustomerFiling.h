#pragma once

#include <QString>
#include <QStringList>

class Database;
class Recordset;

// A customer number typed for a new customer, trimmed and without leading zeros, but never
// shorter than one character ("000" gives "0").
QString WithoutLeadingZeros(const QString &typed);

// Adds a customer with the ten column texts (trimmed; column 0 is the customer number as typed)
// to customers and files the current test of tests under it: the test takes the number as
// typed and is no longer new. One transaction on connection; on failure the error is reported,
// the database keeps nothing of it and the result is false.
bool CreateCustomerAndFile(Database &connection, Recordset &customers, Recordset &tests,
                           const QStringList &columnTexts);
