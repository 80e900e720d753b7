#pragma once

#include <QStringList>

// lumetra4 config [KEY [VALUE]]: reads or sets the program's settings as the options dialog does.
int runConfigCommand(const QStringList &arguments);
