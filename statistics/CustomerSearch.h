#pragma once

#include <QString>

class Recordset;

// The filter that finds a search text anywhere in any column of the customer list: one
// "[column] LIKE '*text*'" term per column, joined with OR. One trailing "*" of the text is
// dropped, so "Hub*" finds what "Hub" finds; the text goes in quoted. Empty for an empty text.
QString CustomerSearchFilter(const Recordset &customers, QString text);
