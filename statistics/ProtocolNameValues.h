#pragma once

#include <QHash>
#include <QLocale>
#include <QString>

struct ProtocolTest;

// The values of the names a protocol template shows, for one test. The preview and the
// printing of whole lists both use this one routine, so a printed protocol shows exactly what
// its preview showed.
//
// Numbers read with one decimal and the locale's separator ("0.0"); a load test's pressures
// with none. A value that was not measured (null) reads as empty text, a regulator pressure at
// its "not measured" mark -99999 as "---". Finding codes are bare integers, which the
// templates turn into text. The meter number is the one the test carries for a new test and
// the customer's current one for a filed test.
QHash<QString, QString> ProtocolNameValues(const ProtocolTest &test,
                                           const QLocale &locale = QLocale::system());
