#include "data/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

bool isSectionHeader(const QString &trimmed, QString *name = nullptr)
{
    if (!trimmed.startsWith(u'[') || !trimmed.contains(u']'))
        return false;
    if (name)
        *name = trimmed.mid(1, trimmed.indexOf(u']') - 1).trimmed();
    return true;
}

// Splits "key = value" into its parts; lines without '=' (comments, junk) are not keys.
bool splitKeyLine(const QString &line, QString *key, QString *value)
{
    const int eq = line.indexOf(u'=');
    if (eq <= 0 || line.trimmed().startsWith(u';'))
        return false;
    *key = line.left(eq).trimmed();
    *value = line.mid(eq + 1).trimmed();
    return !key->isEmpty();
}

// The profile functions strip one pair of matching quotes around a value.
QString unquote(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{}

bool IniFile::load(QStringList &lines) const
{
    lines.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_lastError = QStringLiteral("%1: %2").arg(m_path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) // an INI written by an 8-bit editor
        text = QString::fromLatin1(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return true;
}

QString IniFile::read(const QString &section, const QString &key, const QString &defaultValue) const
{
    m_lastError.clear();
    QStringList lines;
    if (!load(lines))
        return defaultValue.left(maxValueLength);
    bool inSection = false;
    for (const QString &line : std::as_const(lines)) {
        const QString trimmed = line.trimmed();
        QString name;
        if (isSectionHeader(trimmed, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString lineKey, value;
        if (inSection && splitKeyLine(line, &lineKey, &value)
            && lineKey.compare(key, Qt::CaseInsensitive) == 0)
            return unquote(value).left(maxValueLength);
    }
    return defaultValue.left(maxValueLength);
}

bool IniFile::write(const QString &section, const QString &key, const QString &value)
{
    m_lastError.clear();
    QStringList lines;
    if (!load(lines))
        return false;

    // A line break in a value would split it into two lines of the file.
    QString cleanValue = value;
    cleanValue.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString newLine = key + u'=' + cleanValue;

    int sectionStart = -1;
    int lastContentLine = -1; // last non-blank line of the section
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        QString name;
        if (isSectionHeader(trimmed, &name)) {
            if (sectionStart >= 0)
                break;
            if (name.compare(section, Qt::CaseInsensitive) == 0) {
                sectionStart = i;
                lastContentLine = i;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (!trimmed.isEmpty())
            lastContentLine = i;
        QString lineKey, oldValue;
        if (splitKeyLine(lines[i], &lineKey, &oldValue)
            && lineKey.compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = lineKey + u'=' + cleanValue;
            sectionStart = -2; // replaced
            break;
        }
    }
    if (sectionStart >= 0) {
        lines.insert(lastContentLine + 1, newLine);
    } else if (sectionStart == -1) {
        lines << (u'[' + section + u']') << newLine;
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_lastError = QStringLiteral("%1: %2").arg(m_path, file.errorString());
        return false;
    }
    file.write(lines.join(u'\n').toUtf8());
    file.write("\n");
    if (!file.commit()) {
        m_lastError = QStringLiteral("%1: %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}
