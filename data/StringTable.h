#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The numbered texts of the user interface in one language per run.
//
// One UTF-8 table per language (number TAB text; \n, \t and \\ escaped) is compiled into the
// program's resources. The language follows the user's interface language (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG) with English as the fallback; LUMETRA4_LANG overrides it.
// A number missing from a language that is not complete yet reads as its English text; a
// number missing everywhere reads as empty text.
class StringTable
{
public:
    // Language codes of the tables: "de", "en", "en_GB", "it", "pl", "hu", "sl", "hr", "cs".
    static const QStringList &languages();

    // The language for the given environment values (first match wins).
    static QString chooseLanguage(const QString &override, const QStringList &uiLanguages);
    // The language of this process's environment.
    static QString languageFromEnvironment();

    // The table of this process; loaded on first use.
    static StringTable &instance();
    // Switches the table of this process (tests, and the CLI's --lang).
    static void setLanguage(const QString &language);

    explicit StringTable(const QString &language);

    const QString &language() const { return m_language; }
    QString text(int number) const;
    bool contains(int number) const { return m_texts.contains(number); }
    QList<int> numbers() const { return m_texts.keys(); }
    // Entry 5: 1 German, 2 English, 4 Italian, ... 9 Czech.
    int languageNo() const;

    // Parses a table file; a malformed line, a line that is not UTF-8 and a number given twice
    // are skipped (the first entry of a number counts) and listed in errors by line number.
    static QHash<int, QString> parse(const QByteArray &content, QStringList *errors = nullptr);
    static QString resourcePath(const QString &language);

private:
    QString m_language;
    QHash<int, QString> m_texts;
    QHash<int, QString> m_fallback;
};

// The text of string number in the running language.
QString resString(int number);
