#pragma once

#include <QString>

class Recordset;

// The search of a master data list: rows that hold key anywhere in any column, ignoring case.
// Quotes, "#", brackets and parentheses are found as typed. One trailing "*" is dropped, as
// users type it out of habit; any other "*", "?" or "%" would act as a wildcard of the filter
// language and match rows that do not hold the text, so such a key is refused with error 3001
// (the invalid-search message of the list window).
QString MasterListSearchFilter(const Recordset &list, const QString &key);

// Clears the list's filter and, for a non-empty key and a list with rows, filters it by the
// search. Returns whether a search filter is set. Throws RuntimeErrorException (3001 for a
// key that cannot be searched for); the filter is then cleared.
bool ApplyMasterListSearch(Recordset &list, const QString &key);
