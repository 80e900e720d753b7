#include "masterdata/import/DbfSource.h"

#include "data/CodePage.h"
#include "data/StringTable.h"
#include "masterdata/import/CellText.h"
#include "masterdata/import/FieldNames.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <iconv.h>

namespace {

constexpr int headerSize = 32;
constexpr int descriptorSize = 32;

struct Field
{
    QString name;
    char type;
    int offset;
    int length;
};

// Decodes the 8-bit text of one code page. The Windows pages go through our own tables, the
// DOS pages through the C library's converter.
class TextDecoder
{
public:
    explicit TextDecoder(quint8 languageDriver)
    {
        switch (languageDriver) {
        case 0x01: m_dosPage = "CP437"; break;
        case 0x02: m_dosPage = "CP850"; break;
        case 0x64: m_dosPage = "CP852"; break;
        case 0xC8: m_windowsPage = CodePage::Id::Windows1250; break;
        default: break; // 0x03, 0x57-0x59 and unmarked files: Windows-1252
        }
    }

    QString decode(QByteArray bytes) const
    {
        if (!m_dosPage)
            return CodePage::decode(bytes, m_windowsPage);
        iconv_t converter = iconv_open("UTF-8", m_dosPage);
        if (converter == iconv_t(-1))
            return QString::fromLatin1(bytes);
        QByteArray out(bytes.size() * 4, Qt::Uninitialized);
        char *in = bytes.data();
        size_t inLeft = size_t(bytes.size());
        char *outPtr = out.data();
        size_t outLeft = size_t(out.size());
        iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        iconv_close(converter);
        return QString::fromUtf8(out.constData(), out.size() - qsizetype(outLeft));
    }

private:
    const char *m_dosPage = nullptr;
    CodePage::Id m_windowsPage = CodePage::Id::Windows1252;
};

bool knownVersion(quint8 version)
{
    switch (version) {
    case 0x02: case 0x03: case 0x04: case 0x05: case 0x30: case 0x31: case 0x32: case 0x43:
    case 0x63: case 0x83: case 0x8B: case 0x8E: case 0xCB: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

QString fieldText(const Field &field, const QByteArray &raw, const TextDecoder &decoder)
{
    switch (field.type) {
    case 'C': {
        qsizetype end = raw.size();
        while (end > 0 && (raw.at(end - 1) == ' ' || raw.at(end - 1) == '\0'))
            --end;
        return decoder.decode(raw.left(end));
    }
    case 'N':
    case 'F': {
        const QString text = QString::fromLatin1(raw).trimmed();
        bool ok = false;
        const double value = text.toDouble(&ok);
        return ok ? CellText::number(value) : text;
    }
    case 'D': {
        const QDate date = QDate::fromString(QString::fromLatin1(raw), QStringLiteral("yyyyMMdd"));
        return date.isValid() ? CellText::date(date) : QString();
    }
    case 'L': {
        const char c = raw.isEmpty() ? ' ' : raw.at(0);
        if (QByteArrayView("TtYy").contains(c))
            return QStringLiteral("True");
        if (QByteArrayView("FfNn").contains(c))
            return QStringLiteral("False");
        return {};
    }
    case 'I':
        return raw.size() == 4 ? QString::number(qFromLittleEndian<qint32>(raw.constData()))
                               : QString();
    default:
        return {}; // memo, binary and general fields live outside the table file
    }
}

} // namespace

DbfSource::DbfSource(const QString &filePath)
    : ImportSource(filePath)
{}

QStringList DbfSource::tableNames()
{
    const QFileInfo chosen(filePath());
    QStringList names;
    const QFileInfoList files = chosen.dir().entryInfoList(QStringList{QStringLiteral("*.dbf")},
                                                           QDir::Files, QDir::Name
                                                               | QDir::IgnoreCase);
    for (const QFileInfo &file : files)
        names << file.completeBaseName();
    return names;
}

ImportTable DbfSource::readTable(const QString &name)
{
    const QFileInfo chosen(filePath());
    QString path = filePath();
    if (!name.isEmpty() && name.compare(chosen.completeBaseName(), Qt::CaseInsensitive) != 0) {
        const QStringList files = chosen.dir().entryList(QStringList{name + QStringLiteral(".dbf")},
                                                         QDir::Files);
        if (files.isEmpty())
            fail(resString(25338).arg(name));
        path = chosen.dir().filePath(files.first());
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(file.errorString());
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(file.errorString());
    if (path == filePath())
        return parse(content);
    return DbfSource(path).parse(content);
}

ImportTable DbfSource::parse(const QByteArray &content) const
{
    if (content.size() < headerSize + 1 || !knownVersion(quint8(content.at(0))))
        fail(resString(25336).arg(QStringLiteral("dBase")));
    const auto *bytes = reinterpret_cast<const uchar *>(content.constData());
    const quint32 recordCount = qFromLittleEndian<quint32>(bytes + 4);
    const int dataStart = qFromLittleEndian<quint16>(bytes + 8);
    const int recordLength = qFromLittleEndian<quint16>(bytes + 10);
    const TextDecoder decoder(bytes[29]);

    QList<Field> fields;
    QStringList header;
    int offset = 1; // after the deletion flag
    for (int at = headerSize; ; at += descriptorSize) {
        if (at >= content.size() || at >= dataStart)
            fail(resString(25336).arg(QStringLiteral("dBase")));
        if (bytes[at] == 0x0D)
            break;
        if (at + descriptorSize > content.size())
            fail(resString(25337));
        QByteArray rawName = content.mid(at, 11);
        if (rawName.contains('\0'))
            rawName.truncate(rawName.indexOf('\0'));
        const Field field{decoder.decode(rawName), char(bytes[at + 11]), offset, bytes[at + 16]};
        offset += field.length;
        fields << field;
        header << field.name;
    }
    if (fields.isEmpty() || offset > recordLength)
        fail(resString(25336).arg(QStringLiteral("dBase")));
    if (qint64(dataStart) + qint64(recordCount) * recordLength > content.size())
        fail(resString(25337));

    ImportTable table;
    table.fields = FieldNames::fromHeader(header);
    for (quint32 record = 0; record < recordCount; ++record) {
        const qsizetype start = dataStart + qsizetype(record) * recordLength;
        if (content.at(start) == '*')
            continue;
        QStringList values;
        for (const Field &field : std::as_const(fields))
            values << fieldText(field, content.mid(start + field.offset, field.length), decoder);
        table.rows << values;
    }
    return table;
}
