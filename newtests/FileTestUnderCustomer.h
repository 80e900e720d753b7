#pragma once

#include <QString>

#include <functional>

class Database;
class Recordset;

// The automatic run and the filing window treat a missing meter number slightly differently:
// the window files a test without meter number under "00000000" and only fills a customer's
// meter number that is missing altogether, the run also fills an empty one.
enum class FilingVariant { Automatic, FilingWindow };

// Asks a Yes/No question; true for Yes.
using AskYesNo = std::function<bool(const QString &question)>;

// The meter-number question for filing the current test under the current customer, or an
// empty text when none is to be asked: asked when the test carries a meter number above 0
// that differs from the customer's.
QString MeterNumberQuestion(const Recordset &test, const Recordset &customer,
                            FilingVariant variant);

// Files the current record of test under the current record of customer: the customer's
// number goes into the test, the test is no longer new, and on a Yes to the meter-number
// question the customer's meter number moves to the old one and the measured one takes its
// place. The question is asked before the transaction begins, so no answer keeps the database
// locked. One transaction on connection; on failure the error is reported, nothing of it
// remains (both recordsets are reread) and the result is false.
bool FileTestUnderCustomer(Database &connection, Recordset &test, Recordset &customer,
                           FilingVariant variant, const AskYesNo &ask);
