#pragma once

#include <QStringList>

// lumetra4 sync [--port N] [--timeout MS] [--delete]: reads the instruments on the serial line.
int runSyncCommand(const QStringList &arguments);
