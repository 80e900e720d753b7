#pragma once

#include <QList>
#include <QString>

#include <utility>

// Which columns of the tests list the statistics grid shows, and how wide.
namespace StatisticsColumns {

// Shown after the data base changed (new or filed tests).
bool shownByDefault(const QString &caption, bool newTests);

// Columns shown (true) or hidden (false) when a test kind is chosen; kind -1 is the empty
// choice.
QList<std::pair<QString, bool>> forTestKind(int kind);

// Columns the data base always hides, whatever else was chosen: the meter number of the test
// for filed tests, the customer's meter numbers for new tests.
QList<QString> hiddenFor(bool newTests);

// Width in twips; 0 keeps the grid's default.
int widthTwips(const QString &caption);

// Values shown centred (pressures, flow and findings; single-precision fields are centred too).
bool centred(const QString &caption);

} // namespace StatisticsColumns
