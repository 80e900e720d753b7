#include "masterdata/import/TextFileSource.h"

#include "data/CodePage.h"
#include "data/StringTable.h"
#include "masterdata/import/FieldNames.h"

#include <QFile>
#include <QStringDecoder>

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Splits text into records of fields, numbering records by the line they start on.
class RecordReader
{
public:
    RecordReader(QStringView text, QChar separator) : m_text(text), m_separator(separator) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    int line() const { return m_line; }

    // The next record; an empty list for a blank line. errorLine and error are set on a
    // broken quote.
    QStringList next(QString *error)
    {
        QStringList fields;
        if (isLineBreak(m_text.at(m_pos))) {
            skipLineBreak();
            return fields;
        }
        for (;;) {
            fields << (peek() == u'"' ? quotedField(error) : plainField());
            if (!error->isEmpty())
                return {};
            if (atEnd())
                return fields;
            if (isLineBreak(m_text.at(m_pos))) {
                skipLineBreak();
                return fields;
            }
            ++m_pos; // the separator
            if (atEnd())
                return fields << QString();
        }
    }

private:
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }

    void skipLineBreak()
    {
        if (m_text.at(m_pos) == u'\r' && m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == u'\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
    }

    QString plainField()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && m_text.at(m_pos) != m_separator && !isLineBreak(m_text.at(m_pos)))
            ++m_pos;
        return m_text.sliced(start, m_pos - start).toString();
    }

    QString quotedField(QString *error)
    {
        ++m_pos; // the opening quote
        QString value;
        for (;;) {
            if (atEnd()) {
                *error = resString(25334);
                return {};
            }
            const QChar c = m_text.at(m_pos++);
            if (c == u'"') {
                if (peek() == u'"') {
                    value += u'"';
                    ++m_pos;
                    continue;
                }
                break;
            }
            if (c == u'\n' || (c == u'\r' && peek() != u'\n'))
                ++m_line;
            value += c;
        }
        if (!atEnd() && m_text.at(m_pos) != m_separator && !isLineBreak(m_text.at(m_pos)))
            *error = resString(25335);
        return value;
    }

    QStringView m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
    int m_line = 1;
};

} // namespace

TextFileSource::TextFileSource(const QString &filePath)
    : ImportSource(filePath)
{}

QString TextFileSource::decode(const QByteArray &content)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    if (content.startsWith(bom))
        return QString::fromUtf8(content.sliced(bom.size()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(content);
    if (!utf8.hasError())
        return text;
    return CodePage::decode(content, CodePage::Id::Windows1252);
}

QChar TextFileSource::detectSeparator(QStringView text)
{
    const QChar candidates[] = {u';', u'\t', u','};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && isLineBreak(c))
            break;
        for (int i = 0; i < 3; ++i)
            counts[i] += !quoted && c == candidates[i];
    }
    int best = 0;
    for (int i = 1; i < 3; ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    return candidates[best];
}

ImportTable TextFileSource::readTable(const QString &)
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        fail(file.errorString());
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(file.errorString());
    return parse(content);
}

ImportTable TextFileSource::parse(const QByteArray &content) const
{
    if (content.contains('\0'))
        fail(resString(25336).arg(QStringLiteral("Text")));
    const QString text = decode(content);
    RecordReader reader(text, detectSeparator(text));
    ImportTable table;
    bool header = true;
    while (!reader.atEnd()) {
        const int line = reader.line();
        QString error;
        QStringList fields = reader.next(&error);
        if (!error.isEmpty())
            fail(error, line);
        if (fields.isEmpty())
            continue;
        if (header) {
            table.fields = FieldNames::fromHeader(fields);
            header = false;
        } else if (fields.size() != table.fields.size()) {
            fail(resString(25333).arg(fields.size()).arg(table.fields.size()), line);
        } else {
            table.rows << fields;
        }
    }
    return table;
}
