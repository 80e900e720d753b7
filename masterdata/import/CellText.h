#pragma once

#include <QString>

class QDate;
class QDateTime;

// How workbook and database cells read as text in the import: the forms the sample grid
// shows and the customer table stores.
namespace CellText {

// A number with up to 15 significant digits, without exponent for whole numbers up to
// 15 digits: 52062, 12.5, 0.001.
QString number(double value);
QString date(const QDate &date);
QString dateTime(const QDateTime &dateTime);

} // namespace CellText
