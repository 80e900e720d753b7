#pragma once

#include "statistics/ListDocument.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class Recordset;

// The printed text of a tests-list cell: test kinds and findings by name, regulator pressures
// at their "not measured" mark -99999 as empty cells, other values as they read.
QString TestListCellText(const QString &caption, const QVariant &value,
                         const QLocale &locale = QLocale::system());

// The tests list as a printed list: the given columns (captions, in grid order), one row per
// test in the list's filter and sort order, on A4 with the header text, "Seite" and the page
// number with the page count in the footer. The list's own position is left alone.
std::unique_ptr<ListDocument> BuildTestList(Recordset &list, const QStringList &columns,
                                            const QString &header, bool landscape = false,
                                            const QLocale &locale = QLocale::system());
