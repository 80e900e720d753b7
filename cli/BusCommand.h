#pragma once

#include <QStringList>

// lumetra4 bus scan | param | dump: the instruments on a serial line through the bus library,
// for trying a line, reading a parameter or looking at raw memory.
int runBusCommand(const QStringList &arguments);
