#pragma once

#include <QStringList>
#include <QVariant>

class ExportGrid;
struct ExportCriteria;

// The lines of the protocol export of one grid row: the criteria, the customer, the leak rate
// values, the measured values and the pressure and flow curve points. Every value is the text
// the grid shows; refDruck is the stored reference pressure of the row's test, which decides
// between 23 and 22 mbar as the protocol templates do. A value that cannot be read or
// converted is left out together with its ";".
QStringList ProtocolExportLines(const ExportCriteria &criteria, const ExportGrid &grid, int row,
                                const QVariant &refDruck);
