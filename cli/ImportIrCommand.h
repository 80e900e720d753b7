#pragma once

#include <QStringList>

// lumetra4 import-ir [--folder DIR] [--delete]: the instrument's test files of the infrared
// folder into the database as new tests, as the program's infrared synchronisation does.
int runImportIrCommand(const QStringList &arguments);
