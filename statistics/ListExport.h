#pragma once

#include <QStringList>

class ExportGrid;
struct ExportCriteria;

// The lines of the list export: the criteria, then the heading "Prüfungen", the captions of the
// visible grid columns and one line per listed test with the texts the grid shows, each field
// followed by ";", and a closing empty line.
QStringList ListExportLines(const ExportCriteria &criteria, const ExportGrid &grid);
