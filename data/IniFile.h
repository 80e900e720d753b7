#pragma once

#include <QString>
#include <QStringList>

// An INI file with the semantics of the Windows private-profile functions: section and key
// names are case-insensitive, a value comes back cut at 511 characters, the file is created on
// the first write and every line the writer does not touch is kept as it was.
//
// Writes go to a temporary file that replaces the old one, so a failure never leaves an
// emptied or half-written settings file behind. A file that exists but cannot be read is never
// written over.
class IniFile
{
public:
    static constexpr int maxValueLength = 511;

    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    // The value of key in section, or defaultValue when the file, the section or the key is
    // missing. An unreadable file also answers the default and leaves lastError() set.
    QString read(const QString &section, const QString &key, const QString &defaultValue) const;

    // Sets key in section; appends the key to its section, or the section to the file, when
    // missing. Returns false with lastError() set when the file cannot be read or written.
    bool write(const QString &section, const QString &key, const QString &value);

    QString lastError() const { return m_lastError; }

private:
    bool load(QStringList &lines) const;

    QString m_path;
    mutable QString m_lastError;
};
