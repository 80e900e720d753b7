#pragma once

#include "newtests/FileTestUnderCustomer.h"

#include <QList>
#include <QString>

class Database;
class Recordset;

// What the automatic filing did with one test.
struct FilingOutcome
{
    enum class Status {
        Filed,      // filed under customerNr
        NoCase,     // the test's numbers allow no search
        NoCustomer, // no customer holds the key
        Ambiguous,  // several customers hold the key
        Failed,     // filing failed; reported
    };

    int bookmark = -1;
    QString kundenNr;   // as the test carried it
    QString zaehlerNr;
    QString key;        // what the customers were searched for
    int matches = 0;
    QString customerNr; // Filed: the customer's number
    Status status = Status::NoCase;
};

struct AutomaticFilingResult
{
    QList<FilingOutcome> outcomes;
    bool ended = false; // an error in the search ended the run early; it has been reported
};

// Files the tests of the given bookmarks of tests, each under the one customer of customers
// (the shared customer list; searched through a clone) that holds the test's key literally in
// one of its columns. Tests with no such customer or several stay new. Exactly the given tests
// are filed, in the given order. The caller rereads the shared recordsets afterwards.
AutomaticFilingResult RunAutomaticFiling(Database &connection, Recordset &tests,
                                         Recordset &customers, const QList<int> &testBookmarks,
                                         const AskYesNo &ask);
