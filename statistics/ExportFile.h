#pragma once

#include "data/CodePage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// An export file: 8-bit text in the code page of the running language, every line ended by
// CR LF. A file is made only under a name that is free, and appears complete or not at all: the
// text goes into a temporary file in the same folder, which is then linked under the name
// without replacing anything; on any failure the temporary file is removed.
class ExportFile
{
public:
    enum class Result { Written, Exists, Failed };

    // The lines as the file holds them.
    static QByteArray bytes(const QStringList &lines, CodePage::Id page);
    // The code page of the running language.
    static CodePage::Id runningCodePage();

    // Writes content under path. On Failed, failure holds the system's reason.
    static Result write(const QString &path, const QByteArray &content, QString *failure);
};
