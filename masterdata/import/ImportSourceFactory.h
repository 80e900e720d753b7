#pragma once

#include "masterdata/import/ImportSource.h"

#include <memory>

// The reader for a file by its type (see BuildImportConnectionString). Throws
// RuntimeErrorException for a type no reader handles and for a file its reader cannot open.
std::unique_ptr<ImportSource> OpenImportSource(const QString &filePath);

// The file types the import accepts: txt, csv, xls, xlsx, mdb, accdb, dbf.
bool IsImportFileType(const QString &extension);
