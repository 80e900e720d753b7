#pragma once

#include "sync/ParameterRecord.h"

#include <QLocale>
#include <QString>

// Instrument parameter values between their bytes and text, by the record's type code. Integer
// and float conversions go through VLM_MEM (VlmMemLibrary), which throws when it is missing.

// The value as text: integers in decimal, floats as their shortest text with the locale's
// decimal separator, strings as all 256 value bytes (NULs included), other types empty. A
// failed conversion gives "0".
QString ParameterValueText(const ParameterRecord &record, const QLocale &locale = QLocale());

// A copy of record with its value bytes replaced by text, read as a number with either decimal
// separator (halves round to even where a whole number is needed). A text that does not fit
// the type writes 0 (codes 1-6), leaves the bytes alone (code 0 and codes 8 and above), or is
// cut to 256 bytes (code 7). exact, when given, tells whether the record now holds exactly the
// value of text, which is what a write to the instrument needs.
ParameterRecord TextToParameterValue(const ParameterRecord &record, const QString &text,
                                     bool *exact = nullptr);
