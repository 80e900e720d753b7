#pragma once

#include <QStringList>

// lumetra4 strings NUMBER...: the string-table texts in the running language, one per line.
int runStringsCommand(const QStringList &arguments);
