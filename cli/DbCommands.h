#pragma once

#include <QStringList>

// lumetra4 init: creates the home folder and its empty database; never touches an existing one.
int runInitCommand(const QStringList &arguments);
// lumetra4 db-info: database path, schema version, rows per table, roster entries.
int runDbInfoCommand(const QStringList &arguments);
