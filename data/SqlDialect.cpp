#include "data/SqlDialect.h"

#include "data/Localisation.h"

#include <QRegularExpression>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Jet patterns use * and ?; SQLite's LIKE uses % and _.
QString translateLikePattern(QStringView literal)
{
    QString result;
    result.reserve(literal.size());
    for (QChar c : literal) {
        if (c == u'*')
            result += u'%';
        else if (c == u'?')
            result += u'_';
        else
            result += c;
    }
    return result;
}

// Statement date literals are written month/day/year, as the desktop dialect expects.
QString translateDateLiteral(const QString &literal)
{
    QDateTime value = QDateTime::fromString(literal.trimmed(), Qt::ISODate);
    for (const char *format : {"M/d/yyyy H:mm:ss", "M/d/yyyy H:mm", "M/d/yyyy"}) {
        if (value.isValid())
            break;
        value = QDateTime::fromString(literal.trimmed(), QLatin1String(format));
    }
    if (!value.isValid())
        value = SqlDialect::parseDateLiteral(literal);
    return u'\'' + SqlDialect::dateTimeToStorage(value) + u'\'';
}

QString translateTokens(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    QString lastWord;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c == u'\'') {
            qsizetype end = i + 1;
            while (end < text.size()) {
                if (text.at(end) == u'\'') {
                    if (end + 1 < text.size() && text.at(end + 1) == u'\'') {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            const QStringView literal = QStringView(text).mid(i, end + 1 - i);
            out += lastWord == QLatin1String("LIKE") ? translateLikePattern(literal)
                                                      : literal.toString();
            i = end + 1;
            lastWord.clear();
        } else if (c == u'[') {
            const qsizetype end = text.indexOf(u']', i);
            const qsizetype stop = end < 0 ? text.size() : end + 1;
            out += QStringView(text).mid(i, stop - i);
            i = stop;
            lastWord.clear();
        } else if (c == u'#') {
            const qsizetype end = text.indexOf(u'#', i + 1);
            if (end < 0) {
                out += c;
                ++i;
                continue;
            }
            out += translateDateLiteral(text.mid(i + 1, end - i - 1));
            i = end + 1;
        } else if (isWordChar(c)) {
            qsizetype end = i;
            while (end < text.size() && isWordChar(text.at(end)))
                ++end;
            const QString word = text.mid(i, end - i);
            const QString upper = word.toUpper();
            qsizetype next = end;
            while (next < text.size() && text.at(next).isSpace())
                ++next;
            const bool followedByParen = next < text.size() && text.at(next) == u'(';
            const bool qualified = (i > 0 && text.at(i - 1) == u'.')
                                   || (end < text.size() && text.at(end) == u'.');
            if (!qualified && upper == QLatin1String("TRUE"))
                out += u'1';
            else if (!qualified && upper == QLatin1String("FALSE"))
                out += u'0';
            else if (!qualified && upper == QLatin1String("FIRST") && followedByParen)
                out += QLatin1String("MIN"); // grouped by the same column: any value is the first
            else
                out += word;
            lastWord = upper;
            i = end;
        } else {
            out += c;
            if (!c.isSpace())
                lastWord.clear();
            ++i;
        }
    }
    return out;
}

} // namespace

QString SqlDialect::translate(const QString &statement)
{
    QString text = translateTokens(statement);

    static const QRegularExpression deleteAll(
        QStringLiteral("^\\s*DELETE\\s+\\*\\s+FROM\\s+"),
        QRegularExpression::CaseInsensitiveOption);
    text.replace(deleteAll, QStringLiteral("DELETE FROM "));

    // DELETE T.* FROM T LEFT JOIN U ON a = b WHERE (((c) Is Null)): rows of T without partner.
    static const QRegularExpression deleteUnmatched(
        QStringLiteral("^\\s*DELETE\\s+(\\w+)\\.\\*\\s+FROM\\s+(\\w+)\\s+LEFT\\s+JOIN\\s+(\\w+)\\s+"
                       "ON\\s+([\\w.]+)\\s*=\\s*([\\w.]+)\\s+WHERE\\s+[(\\s]*([\\w.]+)[)\\s]*"
                       "Is\\s+Null[)\\s]*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = deleteUnmatched.match(text);
    if (match.hasMatch()) {
        text = QStringLiteral("DELETE FROM %1 WHERE NOT EXISTS (SELECT 1 FROM %2 WHERE %3 = %4)")
                   .arg(match.captured(2), match.captured(3), match.captured(4),
                        match.captured(5));
    }

    // SQLite wants the bare column after SET: UPDATE T SET T.c = 1 becomes UPDATE T SET c = 1.
    static const QRegularExpression update(QStringLiteral("^\\s*UPDATE\\s+(\\w+)\\s+SET\\s+"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto updateMatch = update.match(text);
    if (updateMatch.hasMatch()) {
        static const QRegularExpression where(QStringLiteral("\\sWHERE\\s"),
                                              QRegularExpression::CaseInsensitiveOption);
        const qsizetype setStart = updateMatch.capturedEnd();
        qsizetype setEnd = text.indexOf(where, setStart);
        if (setEnd < 0)
            setEnd = text.size();
        const QRegularExpression qualifier(QStringLiteral("\\b") + QRegularExpression::escape(
                                               updateMatch.captured(1)) + QStringLiteral("\\."),
                                           QRegularExpression::CaseInsensitiveOption);
        text = text.left(setStart) + text.mid(setStart, setEnd - setStart).replace(qualifier, {})
               + text.mid(setEnd);
    }

    static const QRegularExpression top(QStringLiteral("^(\\s*SELECT\\s+)TOP\\s+(\\d+)\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto topMatch = top.match(text);
    if (topMatch.hasMatch()) {
        const QString limit = topMatch.captured(2);
        text = topMatch.captured(1) + text.mid(topMatch.capturedEnd());
        while (text.endsWith(u';') || text.endsWith(u' '))
            text.chop(1);
        text += QStringLiteral(" LIMIT ") + limit;
    }
    return text;
}

QVariant SqlDialect::toStorage(const QVariant &value)
{
    if (value.isNull())
        return value;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return dateTimeToStorage(value.toDateTime());
    case QMetaType::QDate:
        return dateTimeToStorage(value.toDate().startOfDay());
    case QMetaType::Bool:
        return qlonglong(value.toBool() ? 1 : 0);
    default:
        return value;
    }
}

QString SqlDialect::dateTimeToStorage(const QDateTime &dateTime)
{
    return dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime SqlDialect::dateTimeFromStorage(QStringView text)
{
    auto number = [&](qsizetype from, qsizetype length, bool *ok) {
        int value = 0;
        for (qsizetype i = from; i < from + length; ++i) {
            const QChar c = text.at(i);
            if (!c.isDigit()) {
                *ok = false;
                return 0;
            }
            value = value * 10 + c.digitValue();
        }
        return value;
    };
    bool ok = text.size() == 10 || (text.size() == 19
                                     && (text.at(10) == u' ' || text.at(10) == u'T'));
    if (!ok)
        return {};
    const QDate date(number(0, 4, &ok), number(5, 2, &ok), number(8, 2, &ok));
    QTime time(0, 0);
    if (text.size() == 19)
        time = QTime(number(11, 2, &ok), number(14, 2, &ok), number(17, 2, &ok));
    if (!ok || !date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

QDateTime SqlDialect::parseDateLiteral(const QString &literal, const QLocale &locale)
{
    const QString text = literal.trimmed();
    QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
    if (iso.isValid())
        return iso;
    // Day and month with one or two digits, year with four, then optional time of day.
    QString flexible = fixedShortDateFormat(locale);
    flexible.replace(QLatin1String("dd"), QLatin1String("d"));
    flexible.replace(QLatin1String("MM"), QLatin1String("M"));
    for (const char *suffix : {" H:mm:ss", " H:mm", ""}) {
        const QDateTime value = locale.toDateTime(text, flexible + QLatin1String(suffix));
        if (value.isValid())
            return value;
    }
    QString twoDigitYear = flexible;
    twoDigitYear.replace(QLatin1String("yyyy"), QLatin1String("yy"));
    for (const char *suffix : {" H:mm:ss", " H:mm", ""}) {
        QDateTime value = locale.toDateTime(text, twoDigitYear + QLatin1String(suffix));
        if (value.isValid()) {
            const int year = value.date().year() % 100;
            return value.addYears((year < 30 ? 2000 + year : 1900 + year) - value.date().year());
        }
    }
    return {};
}
