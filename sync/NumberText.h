#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// Numbers that the synchronisation writes as text (curve values, customer and meter numbers,
// reference pressure, leak rate, measuring time, parameter values) and reads back.
namespace NumberText {

// The shortest fixed-point text that reads back as the same single-precision value, with the
// locale's decimal separator and no group separators: 1.65f gives "1.65" or "1,65".
QString fromSingle(float value, const QLocale &locale = QLocale());

// Whole numbers of any size with all their digits (customer number 123456789 keeps all nine),
// other values as fromSingle.
QString fromDouble(double value, const QLocale &locale = QLocale());

// Reads a number written with either decimal separator, surrounding blanks allowed; empty when
// the text is no finite number.
std::optional<double> parse(QStringView text);

// The value rounded to three decimals, exactly as writing it with at most three decimals and
// reading the text back.
double roundToThousandths(double value);

} // namespace NumberText
