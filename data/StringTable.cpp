#include "data/StringTable.h"

#include <QFile>
#include <QStringDecoder>
#include <memory>

namespace {

std::unique_ptr<StringTable> current;

QString unescape(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[++i];
            result += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
        } else {
            result += text[i];
        }
    }
    return result;
}

QHash<int, QString> loadResource(const QString &language)
{
    QFile file(StringTable::resourcePath(language));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return StringTable::parse(file.readAll());
}

// Maps a POSIX locale name such as "de_AT.UTF-8" or "en_GB" to one of our tables.
QString tableFor(const QString &localeName)
{
    QString name = localeName.section(u'.', 0, 0).section(u'@', 0, 0);
    name.replace(u'-', u'_');
    const QString lang = name.section(u'_', 0, 0).toLower();
    const QString region = name.section(u'_', 1, 1).toUpper();
    if (lang == QLatin1String("en"))
        return region == QLatin1String("GB") ? QStringLiteral("en_GB") : QStringLiteral("en");
    if (StringTable::languages().contains(lang))
        return lang;
    return {};
}

} // namespace

const QStringList &StringTable::languages()
{
    static const QStringList codes{"de", "en", "en_GB", "it", "pl", "hu", "sl", "hr", "cs"};
    return codes;
}

QString StringTable::resourcePath(const QString &language)
{
    return QStringLiteral(":/strings/%1.tsv").arg(language);
}

QString StringTable::chooseLanguage(const QString &override, const QStringList &uiLanguages)
{
    if (!override.isEmpty())
        return tableFor(override).isEmpty() ? QStringLiteral("en") : tableFor(override);
    for (const QString &candidate : uiLanguages) {
        if (candidate.isEmpty())
            continue;
        // The first language the user named decides, as it does for the rest of the desktop;
        // one we do not speak falls back to English.
        const QString table = tableFor(candidate);
        return table.isEmpty() ? QStringLiteral("en") : table;
    }
    return QStringLiteral("en");
}

QString StringTable::languageFromEnvironment()
{
    QStringList ui = qEnvironmentVariable("LANGUAGE").split(u':', Qt::SkipEmptyParts);
    // LANGUAGE is honoured only with a real locale set, as gettext does.
    const QString lcAll = qEnvironmentVariable("LC_ALL");
    const QString lcMessages = qEnvironmentVariable("LC_MESSAGES");
    const QString lang = qEnvironmentVariable("LANG");
    const QString effective = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
    if (effective.isEmpty() || effective == QLatin1String("C") || effective == QLatin1String("POSIX"))
        ui.clear();
    ui << effective;
    return chooseLanguage(qEnvironmentVariable("LUMETRA4_LANG"), ui);
}

StringTable &StringTable::instance()
{
    if (!current)
        current = std::make_unique<StringTable>(languageFromEnvironment());
    return *current;
}

void StringTable::setLanguage(const QString &language)
{
    current = std::make_unique<StringTable>(chooseLanguage(language, {}));
}

StringTable::StringTable(const QString &language)
    : m_language(language)
    , m_texts(loadResource(language))
{
    if (language != QLatin1String("en"))
        m_fallback = loadResource(QStringLiteral("en"));
}

QString StringTable::text(int number) const
{
    const auto it = m_texts.constFind(number);
    if (it != m_texts.constEnd())
        return *it;
    return m_fallback.value(number);
}

int StringTable::languageNo() const
{
    return text(5).toInt();
}

QHash<int, QString> StringTable::parse(const QByteArray &content, QStringList *errors)
{
    QHash<int, QString> texts;
    const auto complain = [errors](int lineNo, const QString &what) {
        if (errors)
            *errors << QStringLiteral("line %1: %2").arg(lineNo).arg(what);
    };
    int lineNo = 0;
    for (QByteArray bytes : content.split('\n')) {
        ++lineNo;
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        if (bytes.isEmpty())
            continue;
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString line = utf8(bytes);
        if (utf8.hasError()) {
            complain(lineNo, QStringLiteral("not valid UTF-8"));
            continue;
        }
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = false;
        const int number = tab > 0 ? line.left(tab).toInt(&ok) : 0;
        if (!ok) {
            complain(lineNo, QStringLiteral("not \"number<TAB>text\": ") + line);
            continue;
        }
        if (texts.contains(number)) {
            complain(lineNo, QStringLiteral("number %1 appears twice").arg(number));
            continue;
        }
        texts.insert(number, unescape(QStringView(line).mid(tab + 1)));
    }
    return texts;
}

QString resString(int number)
{
    return StringTable::instance().text(number);
}
