#pragma once

#include <QStringList>

// lumetra4 export-list: the tests that match the criteria as the list export file.
int runExportListCommand(const QStringList &arguments);
// lumetra4 export-protocol: the protocol export file of one test.
int runExportProtocolCommand(const QStringList &arguments);
