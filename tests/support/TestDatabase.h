#pragma once

#include "data/ColumnCaptions.h"
#include "data/DatabaseSession.h"
#include "data/Schema.h"
#include "data/StringTable.h"

#include <QTemporaryDir>

// A fresh current-version database in a temporary folder, opened as the program opens it, with
// the German captions the fixtures' tests address their columns by.
class TestDatabase
{
public:
    TestDatabase()
    {
        StringTable::setLanguage(QStringLiteral("de"));
        LoadColumnCaptions();
        path = dir.filePath(QStringLiteral("Lumetra4Desktop.db"));
        Schema::createEmptyDatabase(path);
        session.dbConnection.open(Database::BuildConnectionString(path));
        CheckDatabaseVersion(session);
    }

    QTemporaryDir dir;
    QString path;
    DatabaseSession session;
};
