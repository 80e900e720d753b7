#pragma once

#include <QString>

// One fault of a template file, located by file and line (0 when the file as a whole failed).
struct TemplateError
{
    QString file;
    qint64 line = 0;
    QString message;

    // "file:line: message", the form editors and compilers use, so the place can be jumped to.
    QString text() const
    {
        return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                        : QStringLiteral("%1: %2").arg(file, message);
    }
};
