#pragma once

#include <QStringList>

// lumetra4 archive [--to FILE] [--force-with-new-tests]: moves every test into an archive.
int runArchiveCommand(const QStringList &arguments);
// lumetra4 archives: the archive files in the archive folder.
int runArchivesCommand(const QStringList &arguments);
// lumetra4 compact: repairs and compacts the database.
int runCompactCommand(const QStringList &arguments);
