#pragma once

#include <QStringList>

// lumetra4 print-protocol: the protocols of one test (--test ID) or of the tests that match
// the criteria, one page per test, into a PDF file.
int runPrintProtocolCommand(const QStringList &arguments);
// lumetra4 print-list: the list of the tests that match the criteria, into a PDF file.
int runPrintListCommand(const QStringList &arguments);
