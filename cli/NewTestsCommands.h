#pragma once

#include <QStringList>

// lumetra4 tests --new: lists the tests still waiting to be filed.
int runTestsCommand(const QStringList &arguments);
// lumetra4 file --auto: files every new test that exactly one customer matches.
int runFileCommand(const QStringList &arguments);
