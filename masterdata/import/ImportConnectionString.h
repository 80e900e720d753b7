#pragma once

#include <QString>

// The description of an import source as the desktop engine's drivers would be opened on it,
// and the file type that chooses our reader: the last three characters of the file name in
// lower case ("xlsx" and "accdb" whole, for the newer formats). Empty text for a file type no
// reader handles.
QString BuildImportConnectionString(const QString &fullPath, const QString &fileName,
                                    QString *extension);
