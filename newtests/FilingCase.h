#pragma once

#include <QString>

#include <optional>

// What the numbers a new test carries allow: 0 only a measurement number ("M..."), 1 a
// measurement number and a meter number, 2 only a customer number, 3 a customer number and a
// meter number. No value: nothing usable (a customer number that is neither "M..." nor a whole
// number above 0, or a meter number that is not a whole number).
std::optional<int> FilingCase(const QString &kundenNr, const QString &zaehlerNr);

// The text the customer list is searched for in a case: the meter number in case 1, the
// customer number otherwise.
QString FilingKey(int filingCase, const QString &kundenNr, const QString &zaehlerNr);

// A number text read as a whole number; false for anything but optional blanks around digits.
bool readWholeNumber(const QString &text, qint64 *value);
