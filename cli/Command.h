#pragma once

#include <QStringList>

// One subcommand of the command line front end. run() gets the arguments after the
// subcommand's name and returns the process exit code; every command answers --help.
struct Command
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &arguments);
};

// Prints text to stdout (UTF-8), followed by a line break.
void printLine(const QString &text);
// Prints a usage error to stderr and returns the exit code for it.
int usageError(const QString &message);
