#pragma once

#include <QString>

// The texts the instruments give their codes: the name catalogue (what a series measured, codes
// 0-247), the unit catalogue (codes 0-102) and the parameter data types (codes 0-9). A code
// outside a catalogue has the empty text.
namespace InstrumentCatalogue {

QString name(int code);
QString unit(int code);
QString typeText(int code);

// The gas of a flow series: its name up to the first "-" ("Erdgas-Konzentration" gives
// "Erdgas"); the whole name when it has no "-", empty for a code outside the catalogue.
QString gasType(int nameCode);

// Whether the unit is "Bar", whose samples are turned into mbar.
bool isBar(int unitCode);

} // namespace InstrumentCatalogue
