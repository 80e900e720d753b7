#pragma once

#include <QString>

class Recordset;

// A customer number as it is stored: the typed text without leading and trailing blanks,
// left-padded with "0" to six characters when shorter. Any characters are allowed.
QString FormatKundenNr(const QString &typed);

// Whether a customer of list (all its rows, whatever filter it shows) has the number in the
// field numberField. The whole number is compared as text, ignoring case, so quotes and
// wildcard characters in a number are plain characters.
bool KundenNrExists(Recordset &list, const QString &numberField, const QString &number);
