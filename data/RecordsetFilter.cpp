#include "data/RecordsetFilter.h"

#include "data/DatabaseError.h"
#include "data/SqlDialect.h"

#include <QHash>

namespace {

const QString source = QStringLiteral("Recordset.Filter");

enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like };

struct Token
{
    enum Kind { Name, Word, Text, Date, Number, Operator, Open, Close, End } kind = End;
    QString text;
    qsizetype position = 0;
};

[[noreturn]] void syntaxError(const QString &filter, qsizetype position, const QString &what)
{
    throw DatabaseError::make(
        DatabaseError::InvalidArgument, source,
        QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in "
                       "conflict with one another: %1 at position %2 of the filter \"%3\".")
            .arg(what).arg(position + 1).arg(filter));
}

QList<Token> tokenize(const QString &filter)
{
    QList<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = filter.size();
    while (true) {
        while (i < n && filter.at(i).isSpace())
            ++i;
        Token token;
        token.position = i;
        if (i >= n) {
            tokens.append(token);
            return tokens;
        }
        const QChar c = filter.at(i);
        if (c == u'[') {
            const qsizetype end = filter.indexOf(u']', i + 1);
            if (end < 0)
                syntaxError(filter, i, QStringLiteral("a field name without its closing ]"));
            token.kind = Token::Name;
            token.text = filter.mid(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == u'\'') {
            token.kind = Token::Text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (filter.at(i) == u'\'') {
                    if (i + 1 < n && filter.at(i + 1) == u'\'') {
                        token.text += u'\'';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                token.text += filter.at(i++);
            }
            if (!closed)
                syntaxError(filter, token.position, QStringLiteral("a text without its closing '"));
        } else if (c == u'#') {
            const qsizetype end = filter.indexOf(u'#', i + 1);
            if (end < 0)
                syntaxError(filter, i, QStringLiteral("a date without its closing #"));
            token.kind = Token::Date;
            token.text = filter.mid(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == u'(' || c == u')') {
            token.kind = c == u'(' ? Token::Open : Token::Close;
            ++i;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            token.kind = Token::Operator;
            token.text = c;
            ++i;
            if (i < n && (filter.at(i) == u'=' || (c == u'<' && filter.at(i) == u'>')))
                token.text += filter.at(i++);
        } else if (c.isDigit() || c == u'-' || c == u'.') {
            token.kind = Token::Number;
            token.text += c;
            ++i;
            while (i < n && (filter.at(i).isDigit() || filter.at(i) == u'.'
                             || filter.at(i) == u'e' || filter.at(i) == u'E'))
                token.text += filter.at(i++);
        } else if (c.isLetter() || c == u'_') {
            token.kind = Token::Word;
            while (i < n && (filter.at(i).isLetterOrNumber() || filter.at(i) == u'_'))
                token.text += filter.at(i++);
        } else {
            syntaxError(filter, i, QStringLiteral("the character '%1'").arg(c));
        }
        tokens.append(token);
    }
}

// A LIKE pattern: * and % stand for any run of characters, ? for one character.
class LikePattern
{
public:
    explicit LikePattern(const QString &pattern)
    {
        for (QChar c : pattern)
            m_pattern += c == u'%' ? QChar(u'*') : c.toCaseFolded();
        const bool hasSingle = m_pattern.contains(u'?');
        const QString inner = m_pattern.mid(1, m_pattern.size() - 2);
        if (!hasSingle && !m_pattern.contains(u'*')) {
            m_kind = Exact;
            m_literal = m_pattern;
        } else if (!hasSingle && m_pattern.size() >= 2 && m_pattern.startsWith(u'*')
                   && m_pattern.endsWith(u'*') && !inner.contains(u'*')) {
            m_kind = Contains;
            m_literal = inner;
        } else if (!hasSingle && m_pattern.endsWith(u'*')
                   && m_pattern.indexOf(u'*') == m_pattern.size() - 1) {
            m_kind = Prefix;
            m_literal = m_pattern.chopped(1);
        }
    }

    bool matches(QStringView text) const
    {
        switch (m_kind) {
        case Exact:
            return text.compare(m_literal, Qt::CaseInsensitive) == 0;
        case Contains:
            return text.contains(m_literal, Qt::CaseInsensitive);
        case Prefix:
            return text.startsWith(m_literal, Qt::CaseInsensitive);
        case General:
            break;
        }
        return glob(text);
    }

private:
    bool glob(QStringView text) const
    {
        // Iterative wildcard match with backtracking to the last *.
        qsizetype p = 0, t = 0, star = -1, resume = 0;
        while (t < text.size()) {
            if (p < m_pattern.size() && m_pattern.at(p) == u'*') {
                star = p++;
                resume = t;
            } else if (p < m_pattern.size()
                       && (m_pattern.at(p) == u'?' || m_pattern.at(p) == text.at(t).toCaseFolded())) {
                ++p;
                ++t;
            } else if (star >= 0) {
                p = star + 1;
                t = ++resume;
            } else {
                return false;
            }
        }
        while (p < m_pattern.size() && m_pattern.at(p) == u'*')
            ++p;
        return p == m_pattern.size();
    }

    enum Kind { Exact, Contains, Prefix, General } m_kind = General;
    QString m_pattern;
    QString m_literal;
};

QString textOf(const QVariant &value, RecordsetField::Type type)
{
    if (type == RecordsetField::Type::Bool)
        return value.toLongLong() != 0 ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

} // namespace

struct RecordsetFilter::Node
{
    enum Kind { And, Or, Compare } kind = Compare;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;

    int field = -1;
    RecordsetField::Type type = RecordsetField::Type::Variant;
    Op op = Op::Equal;
    bool literalNull = false;
    bool numeric = false;   // compare as numbers
    double number = 0;
    QString text;           // text compare (dates in their stored form, compared exactly)
    bool exactText = false;
    std::unique_ptr<LikePattern> like;

    bool evaluate(const Row &row) const
    {
        switch (kind) {
        case And:
            return left->evaluate(row) && right->evaluate(row);
        case Or:
            return left->evaluate(row) || right->evaluate(row);
        case Compare:
            break;
        }
        const QVariant value = row.value(field);
        if (literalNull) {
            const bool isNull = value.isNull();
            return op == Op::Equal ? isNull : op == Op::NotEqual ? !isNull : false;
        }
        if (value.isNull())
            return false;
        if (like)
            return like->matches(textOf(value, type));
        int order;
        if (numeric) {
            bool ok = false;
            const double v = value.toDouble(&ok);
            if (!ok)
                return false;
            order = v < number ? -1 : v > number ? 1 : 0;
        } else {
            const QString v = value.toString();
            order = exactText ? v.compare(text) : v.compare(text, Qt::CaseInsensitive);
        }
        switch (op) {
        case Op::Equal: return order == 0;
        case Op::NotEqual: return order != 0;
        case Op::Less: return order < 0;
        case Op::Greater: return order > 0;
        case Op::LessEqual: return order <= 0;
        case Op::GreaterEqual: return order >= 0;
        case Op::Like: break;
        }
        return false;
    }

    void collect(QList<int> &fields) const
    {
        if (kind == Compare) {
            if (!fields.contains(field))
                fields.append(field);
            return;
        }
        left->collect(fields);
        right->collect(fields);
    }
};

namespace {

class Parser
{
public:
    Parser(const QString &filter, const QList<RecordsetField> &fields, const QLocale &locale)
        : m_filter(filter), m_fields(fields), m_locale(locale), m_tokens(tokenize(filter))
    {}

    std::unique_ptr<RecordsetFilter::Node> parse()
    {
        auto node = orTerm();
        if (peek().kind != Token::End)
            syntaxError(m_filter, peek().position, QStringLiteral("unexpected text"));
        return node;
    }

private:
    using Node = RecordsetFilter::Node;

    const Token &peek() const { return m_tokens.at(m_next); }
    const Token &take() { return m_tokens.at(m_next++); }
    bool isWord(const char *word) const
    {
        return peek().kind == Token::Word
               && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    std::unique_ptr<Node> join(Node::Kind kind, std::unique_ptr<Node> left,
                               std::unique_ptr<Node> right)
    {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    std::unique_ptr<Node> orTerm()
    {
        auto node = andTerm();
        while (isWord("OR")) {
            take();
            node = join(Node::Or, std::move(node), andTerm());
        }
        return node;
    }

    std::unique_ptr<Node> andTerm()
    {
        auto node = factor();
        while (isWord("AND")) {
            take();
            node = join(Node::And, std::move(node), factor());
        }
        return node;
    }

    std::unique_ptr<Node> factor()
    {
        if (peek().kind == Token::Open) {
            take();
            auto node = orTerm();
            if (peek().kind != Token::Close)
                syntaxError(m_filter, peek().position, QStringLiteral("a missing )"));
            take();
            return node;
        }
        return comparison();
    }

    int fieldIndex(const Token &token) const
    {
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_fields.at(i).name.compare(token.text, Qt::CaseInsensitive) == 0)
                return i;
        }
        throw DatabaseError::make(DatabaseError::ItemNotFound, source,
                                  QStringLiteral("The filter \"%1\" names the field [%2], which "
                                                 "the list does not have.")
                                      .arg(m_filter, token.text));
    }

    std::unique_ptr<Node> comparison()
    {
        const Token &name = take();
        if (name.kind != Token::Name && name.kind != Token::Word)
            syntaxError(m_filter, name.position, QStringLiteral("a missing field name"));
        auto node = std::make_unique<Node>();
        node->field = fieldIndex(name);
        node->type = m_fields.at(node->field).type;

        if (isWord("LIKE")) {
            take();
            node->op = Op::Like;
        } else if (peek().kind == Token::Operator) {
            static const QHash<QString, Op> ops = {
                {QStringLiteral("="), Op::Equal}, {QStringLiteral("<>"), Op::NotEqual},
                {QStringLiteral("<"), Op::Less}, {QStringLiteral(">"), Op::Greater},
                {QStringLiteral("<="), Op::LessEqual}, {QStringLiteral(">="), Op::GreaterEqual}};
            node->op = ops.value(take().text, Op::Equal);
        } else {
            syntaxError(m_filter, peek().position, QStringLiteral("a missing comparison"));
        }
        value(*node, take());
        return node;
    }

    void value(Node &node, const Token &token)
    {
        using Type = RecordsetField::Type;
        const bool word = token.kind == Token::Word;
        if (word && token.text.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0) {
            if (node.op != Op::Equal && node.op != Op::NotEqual)
                syntaxError(m_filter, token.position, QStringLiteral("NULL compared by order"));
            node.literalNull = true;
            return;
        }
        const bool isTrue = word && token.text.compare(QLatin1String("TRUE"),
                                                       Qt::CaseInsensitive) == 0;
        const bool isFalse = word && token.text.compare(QLatin1String("FALSE"),
                                                        Qt::CaseInsensitive) == 0;
        if (token.kind != Token::Text && token.kind != Token::Date && token.kind != Token::Number
            && !isTrue && !isFalse) {
            syntaxError(m_filter, token.position, QStringLiteral("a missing value"));
        }
        if (node.op == Op::Like) {
            if (token.kind != Token::Text)
                syntaxError(m_filter, token.position, QStringLiteral("LIKE without a 'pattern'"));
            node.like = std::make_unique<LikePattern>(token.text);
            return;
        }
        switch (node.type) {
        case Type::Bool:
            node.numeric = true;
            if (isTrue || isFalse)
                node.number = isTrue ? 1 : 0;
            else if (token.kind == Token::Text
                     && token.text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                node.number = 1;
            else if (token.kind == Token::Text
                     && token.text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                node.number = 0;
            else
                node.number = number(token) != 0 ? 1 : 0;
            // Any non-zero yes/no value means yes.
            if (node.number != 0 && (node.op == Op::Equal || node.op == Op::NotEqual)) {
                node.op = node.op == Op::Equal ? Op::NotEqual : Op::Equal;
                node.number = 0;
            }
            return;
        case Type::Integer:
        case Type::Real:
            node.numeric = true;
            node.number = isTrue ? -1 : isFalse ? 0 : number(token);
            return;
        case Type::DateTime: {
            if (token.kind != Token::Date && token.kind != Token::Text)
                syntaxError(m_filter, token.position, QStringLiteral("a date that is no date"));
            const QDateTime date = SqlDialect::parseDateLiteral(token.text, m_locale);
            if (!date.isValid())
                syntaxError(m_filter, token.position, QStringLiteral("a date that is no date"));
            node.text = SqlDialect::dateTimeToStorage(date);
            node.exactText = true;
            return;
        }
        case Type::Text:
        case Type::Memo:
            node.text = token.text;
            return;
        case Type::Variant:
            if (token.kind == Token::Number) {
                node.numeric = true;
                node.number = number(token);
            } else {
                node.text = token.text;
            }
            return;
        }
    }

    double number(const Token &token) const
    {
        bool ok = false;
        const double result = token.text.toDouble(&ok);
        if (!ok)
            syntaxError(m_filter, token.position, QStringLiteral("'%1' is no number")
                                                      .arg(token.text));
        return result;
    }

    const QString &m_filter;
    const QList<RecordsetField> &m_fields;
    const QLocale &m_locale;
    QList<Token> m_tokens;
    qsizetype m_next = 0;
};

} // namespace

RecordsetFilter::RecordsetFilter(const QString &text, const QList<RecordsetField> &fields,
                                 const QLocale &locale)
    : m_root(Parser(text, fields, locale).parse())
{}

RecordsetFilter::~RecordsetFilter() = default;
RecordsetFilter::RecordsetFilter(RecordsetFilter &&) noexcept = default;
RecordsetFilter &RecordsetFilter::operator=(RecordsetFilter &&) noexcept = default;

bool RecordsetFilter::matches(const Row &row) const
{
    return m_root->evaluate(row);
}

QList<int> RecordsetFilter::fieldsUsed() const
{
    QList<int> fields;
    m_root->collect(fields);
    return fields;
}

QString RecordsetFilter::quoted(const QString &text)
{
    QString result = text;
    result.replace(u'\'', QLatin1String("''"));
    return u'\'' + result + u'\'';
}
