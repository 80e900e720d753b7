// Guards the translated string tables against the German reference table: the same numbers,
// no missing texts, the same leading and trailing blanks, the same placeholders, block markers
// and units, unique keyboard accelerators per menu, toolbar and dialog, and only characters
// that the language's Windows code page can hold (exports are written in that code page).

#include "data/StringTable.h"
#include "support/LanguageRows.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <map>

namespace {

// The upper halves (0x80-0xFF) of the two Windows code pages; 0 marks an unassigned byte.
// Bytes 0x00-0x7F are ASCII in both.
const char16_t cp1250Upper[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
const char16_t cp1252Upper[128] = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

QSet<char16_t> repertoire(const char16_t (&upper)[128])
{
    QSet<char16_t> set;
    set << u'\t' << u'\n';
    for (char16_t c = 0x20; c < 0x7F; ++c)
        set << c;
    for (char16_t c : upper)
        if (c != 0)
            set << c;
    return set;
}

const QSet<char16_t> &codePage(const QString &name)
{
    static const QSet<char16_t> cp1250 = repertoire(cp1250Upper);
    static const QSet<char16_t> cp1252 = repertoire(cp1252Upper);
    return name == QLatin1String("cp1250") ? cp1250 : cp1252;
}

// The items of one menu (or popup), of the toolbar, or of one window's string block: their
// accelerator letters must differ. The menus follow the main window's menu bar.
struct AcceleratorGroup
{
    const char *name;
    QList<int> numbers;
};

QList<AcceleratorGroup> acceleratorGroups()
{
    QList<AcceleratorGroup> groups{
        {"menu bar", {501, 505, 511, 512, 516, 517}},
        {"File menu", {502, 522, 523, 503, 504}},
        {"Edit menu", {527, 506, 507, 509, 510}},
        {"Synchronisation submenu", {525, 526}},
        {"Tools menu", {515}},
        {"? menu", {518, 520, 521}},
        {"print popup", {528, 529}},
        {"assign popup", {530, 531}},
        {"export popup", {532, 533}},
        {"toolbar", {}},
    };
    for (int n = 551; n <= 600; ++n)
        groups.last().numbers << n;
    // The string blocks of the windows: first and last number of each.
    const std::pair<int, int> blocks[] = {
        {25010, 25200}, {25202, 25249}, {25251, 25350}, {25352, 25450}, {25452, 25550},
        {25552, 25650}, {25752, 25850}, {25852, 25900}, {25902, 25999}, {26001, 26200},
        {26902, 26950}, {26992, 27099}, {27101, 27150}, {27152, 27200}, {27209, 27300}};
    for (const auto &[first, last] : blocks) {
        AcceleratorGroup group{"window block", {}};
        for (int n = first; n <= last; ++n)
            group.numbers << n;
        groups << group;
    }
    return groups;
}

// The accelerator character of a caption ("&&" is a literal ampersand), or a null char.
QChar accelerator(const QString &text, int *count = nullptr)
{
    QChar found;
    int n = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (text.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        if (n++ == 0)
            found = text.at(i + 1).toLower();
    }
    if (count)
        *count = n;
    return found;
}

QString leadingBlanks(const QString &t)
{
    qsizetype i = 0;
    while (i < t.size() && t.at(i) == u' ')
        ++i;
    return t.left(i);
}

QString trailingBlanks(const QString &t)
{
    qsizetype i = t.size();
    while (i > 0 && t.at(i - 1) == u' ')
        --i;
    return t.mid(i);
}

struct Table
{
    QByteArray raw;
    QHash<int, QString> texts;
    QStringList errors;
};

Table readTable(const QString &language)
{
    Table table;
    QFile file(QStringLiteral(LUMETRA4_SOURCE_DIR "/resources/strings/%1.tsv").arg(language));
    if (file.open(QIODevice::ReadOnly))
        table.raw = file.readAll();
    table.texts = StringTable::parse(table.raw, &table.errors);
    return table;
}

const Table &german()
{
    static const Table table = readTable(QStringLiteral("de"));
    return table;
}

QList<int> sortedNumbers(const QHash<int, QString> &texts)
{
    QList<int> numbers = texts.keys();
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

bool isMarker(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("^#### .+ ####$"));
    return marker.match(text).hasMatch() || text == QString(45, u'-');
}

// The patterns of a file filter "description|pattern|description|pattern|": the descriptions
// are translated, the patterns never.
QStringList filterPatterns(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList patterns;
    for (qsizetype i = 1; i < parts.size(); i += 2)
        patterns << parts.at(i);
    return patterns;
}

QString where(int number, const QString &text)
{
    return QStringLiteral("%1 \"%2\"").arg(number).arg(text);
}

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

    static void languages()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("codePage");
        const std::pair<const char *, const char *> table[] = {
            {"en_GB", "cp1252"}, {"it", "cp1252"}, {"pl", "cp1250"}, {"hu", "cp1250"},
            {"sl", "cp1250"},    {"hr", "cp1250"}, {"cs", "cp1250"}};
        for (const auto &[language, page] : table)
            QTest::newRow(language) << QString(language) << QString(page);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!german().raw.isEmpty(), "the German table cannot be read");
        QVERIFY(german().texts.size() > 100);
    }

    void fileIsWellFormed_data() { addLanguageRows(); }
    void fileIsWellFormed()
    {
        QFETCH(QString, language);
        const QString file = language + QStringLiteral(".tsv");
        const Table table = readTable(language);
        QVERIFY2(!table.raw.isEmpty(), qPrintable(file + " cannot be read"));
        QVERIFY2(table.errors.isEmpty(), qPrintable(file + ' ' + table.errors.join(u'\n' + file + ' ')));
        // sorted by number, so that merges and reviews stay readable
        int previous = -1;
        int lineNo = 0;
        for (const QByteArray &line : table.raw.split('\n')) {
            ++lineNo;
            if (line.isEmpty())
                continue;
            const int number = line.left(line.indexOf('\t')).toInt();
            QVERIFY2(number > previous, qPrintable(QStringLiteral("%1 line %2: %3 after %4")
                                                       .arg(file).arg(lineNo).arg(number)
                                                       .arg(previous)));
            previous = number;
        }
    }

    void sameNumbersAsGerman_data() { languages(); }
    void sameNumbersAsGerman()
    {
        QFETCH(QString, language);
        const Table table = readTable(language);
        QStringList missing, extra;
        for (int n : sortedNumbers(german().texts))
            if (!table.texts.contains(n))
                missing << QString::number(n);
        for (int n : sortedNumbers(table.texts))
            if (!german().texts.contains(n))
                extra << QString::number(n);
        QVERIFY2(missing.isEmpty(), qPrintable("missing: " + missing.join(u' ')));
        QVERIFY2(extra.isEmpty(), qPrintable("not in German: " + extra.join(u' ')));
        // the compiled table agrees with the file (the resources are built from it)
        const StringTable compiled(language);
        QCOMPARE(compiled.text(5), table.texts.value(5));
    }

    void noEmptyTexts_data() { languages(); }
    void noEmptyTexts()
    {
        QFETCH(QString, language);
        const Table table = readTable(language);
        QStringList empty;
        for (int n : sortedNumbers(german().texts))
            if (!german().texts.value(n).trimmed().isEmpty() && table.texts.value(n).trimmed().isEmpty())
                empty << QString::number(n);
        QVERIFY2(empty.isEmpty(), qPrintable("empty: " + empty.join(u' ')));
    }

    void blanksAsInGerman_data() { languages(); }
    void blanksAsInGerman()
    {
        QFETCH(QString, language);
        const Table table = readTable(language);
        QStringList wrong;
        for (int n : sortedNumbers(german().texts)) {
            const QString de = german().texts.value(n), text = table.texts.value(n);
            if (!table.texts.contains(n))
                continue;
            if (leadingBlanks(de) != leadingBlanks(text) || trailingBlanks(de) != trailingBlanks(text))
                wrong << where(n, text);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }

    // Block markers, separators and units are copied; placeholders and file filter patterns
    // are kept; the quotation marks that messages are assembled around stay.
    void fixedPartsKept_data() { languages(); }
    void fixedPartsKept()
    {
        QFETCH(QString, language);
        const Table table = readTable(language);
        static const QRegularExpression placeholder(QStringLiteral("%\\d"));
        QStringList wrong;
        for (int n : sortedNumbers(german().texts)) {
            if (!table.texts.contains(n) || n == 5)
                continue;
            const QString de = german().texts.value(n), text = table.texts.value(n);
            const bool unit = n > 26952 && n < 26990;
            if ((isMarker(de) || unit) && text != de)
                wrong << where(n, text) + " must be copied";
            QStringList dePlaceholders, placeholders;
            for (auto m = placeholder.globalMatch(de); m.hasNext();)
                dePlaceholders << m.next().captured();
            for (auto m = placeholder.globalMatch(text); m.hasNext();)
                placeholders << m.next().captured();
            dePlaceholders.sort();
            placeholders.sort();
            if (dePlaceholders != placeholders)
                wrong << where(n, text) + " placeholders";
            if (de.contains(u'|') && filterPatterns(text) != filterPatterns(de))
                wrong << where(n, text) + " file filter pattern";
            if (de.count(u'"') != text.count(u'"'))
                wrong << where(n, text) + " quotation marks";
            if (de.count(QLatin1String("\n")) != text.count(QLatin1String("\n")))
                wrong << where(n, text) + " line breaks";
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }

    void accelerators_data() { languages(); }
    void accelerators()
    {
        QFETCH(QString, language);
        const Table table = readTable(language);
        QStringList wrong;
        // one accelerator exactly where German has one
        for (int n : sortedNumbers(german().texts)) {
            if (!table.texts.contains(n))
                continue;
            int deCount = 0, count = 0;
            accelerator(german().texts.value(n), &deCount);
            const QChar key = accelerator(table.texts.value(n), &count);
            if (count != qMin(deCount, 1) || (count == 1 && (key.isNull() || key.isSpace())))
                wrong << where(n, table.texts.value(n)) + QStringLiteral(": %1 accelerators, German %2").arg(count).arg(deCount);
        }
        // unique within each menu, the toolbar and each window
        for (const AcceleratorGroup &group : acceleratorGroups()) {
            std::map<char16_t, int> used;
            for (int n : group.numbers) {
                if (!table.texts.contains(n))
                    continue;
                const QChar key = accelerator(table.texts.value(n));
                if (key.isNull())
                    continue;
                const auto [it, inserted] = used.emplace(key.unicode(), n);
                if (!inserted)
                    wrong << QStringLiteral("%1: %2 and %3 both use '%4'")
                                 .arg(QLatin1String(group.name))
                                 .arg(where(it->second, table.texts.value(it->second)))
                                 .arg(where(n, table.texts.value(n)))
                                 .arg(key);
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }

    void fitsCodePage_data() { languages(); }
    void fitsCodePage()
    {
        QFETCH(QString, language);
        QFETCH(QString, codePage);
        const QSet<char16_t> &allowed = ::codePage(codePage);
        const Table table = readTable(language);
        QStringList wrong;
        for (int n : sortedNumbers(table.texts)) {
            const QString text = table.texts.value(n);
            for (QChar c : text)
                if (!allowed.contains(c.unicode())) {
                    wrong << where(n, text)
                                 + QStringLiteral(": U+%1 is not in %2")
                                       .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                                       .arg(codePage);
                    break;
                }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }

    // The repertoires themselves: a few characters each language needs, and a few it lacks.
    void codePageTables()
    {
        const auto &cp1250 = codePage(QStringLiteral("cp1250"));
        const auto &cp1252 = codePage(QStringLiteral("cp1252"));
        for (char16_t c : u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻőűŐŰčďěňřšťůžČĎĚŇŘŠŤŮŽđĐ„”…–")
            if (c)
                QVERIFY2(cp1250.contains(c), qPrintable(QString(QChar(c))));
        for (char16_t c : u"àèéìòùÀÈÉÌÒÙ£€“”…–")
            if (c)
                QVERIFY2(cp1252.contains(c), qPrintable(QString(QChar(c))));
        QVERIFY(!cp1250.contains(u'ñ'));
        QVERIFY(!cp1250.contains(u'à'));
        QVERIFY(!cp1252.contains(u'ł'));
        QVERIFY(!cp1252.contains(u'ő'));
        QVERIFY(!cp1252.contains(u'\u2212')); // minus sign
    }
};

QTEST_GUILESS_MAIN(TranslationTest)
#include "TranslationTest.moc"
