#include "FilterExpression.h"

#include "ColumnStore.h"
#include "DatasetError.h"
#include "TextFold.h"
#include "platform/db/Dialect.h"

#include <QDateTime>

#include <cstring>

namespace velmora::data {

struct FilterExpression::Node {
    virtual ~Node() = default;
    virtual bool eval(size_t row) const = 0;
};

namespace {

using Node = FilterExpression::Node;

struct And : Node {
    std::unique_ptr<Node> a, b;
    bool eval(size_t row) const override { return a->eval(row) && b->eval(row); }
};
struct Or : Node {
    std::unique_ptr<Node> a, b;
    bool eval(size_t row) const override { return a->eval(row) || b->eval(row); }
};
struct Not : Node {
    std::unique_ptr<Node> a;
    bool eval(size_t row) const override { return !a->eval(row); }
};
struct IsNull : Node {
    const ColumnStore *column;
    bool negate;
    bool eval(size_t row) const override { return column->isNull(row) != negate; }
};

// % and _ over folded UTF-8; _ stands for one byte-sequence character.
bool likeMatch(std::string_view text, std::string_view pattern)
{
    size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
    auto charLen = [](std::string_view s, size_t i) -> size_t {
        const auto b = static_cast<unsigned char>(s[i]);
        return b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 1;
    };
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && pattern[p] == '_') {
            t += charLen(text, t);
            ++p;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}

struct Like : Node {
    const ColumnStore *column;
    std::string pattern; // folded
    enum class Shape { Prefix, Contains, General } shape = Shape::General;
    std::string literal; // for Prefix and Contains
    bool eval(size_t row) const override
    {
        if (column->isNull(row))
            return false;
        const std::string_view t = column->foldedText(row);
        switch (shape) {
        case Shape::Prefix:
            return t.size() >= literal.size() && std::memcmp(t.data(), literal.data(), literal.size()) == 0;
        case Shape::Contains:
            return t.find(literal) != std::string_view::npos;
        case Shape::General:
            break;
        }
        return likeMatch(t, pattern);
    }
};

enum class Op { Eq, Ne, Lt, Gt, Le, Ge };

template <class T>
bool compareWith(Op op, const T &a, const T &b)
{
    switch (op) {
    case Op::Eq: return a == b;
    case Op::Ne: return a != b;
    case Op::Lt: return a < b;
    case Op::Gt: return a > b;
    case Op::Le: return a <= b;
    case Op::Ge: return a >= b;
    }
    return false;
}

struct CompareInteger : Node {
    const ColumnStore *column;
    Op op;
    qint64 value;
    bool eval(size_t row) const override { return !column->isNull(row) && compareWith(op, column->integer(row), value); }
};
struct CompareReal : Node {
    const ColumnStore *column;
    Op op;
    double value;
    bool eval(size_t row) const override { return !column->isNull(row) && compareWith(op, column->real(row), value); }
};
struct CompareText : Node {
    const ColumnStore *column;
    Op op;
    std::string value; // folded
    bool eval(size_t row) const override
    {
        return !column->isNull(row) && compareWith(op, column->foldedText(row), std::string_view(value));
    }
};
struct Constant : Node {
    bool value;
    bool eval(size_t) const override { return value; }
};

class Parser {
public:
    Parser(const QString &text, const FilterExpression::Resolver &resolver)
        : m_text(text)
        , m_resolver(resolver)
    {
        for (const db::dialect::Token &t : db::dialect::tokenize(text)) {
            if (t.kind != db::dialect::TokenKind::Space && t.kind != db::dialect::TokenKind::Comment)
                m_tokens.push_back(t);
        }
    }

    std::unique_ptr<Node> parse()
    {
        auto node = parseOr();
        if (m_pos != m_tokens.size())
            error(QStringLiteral("unexpected '%1'").arg(tokenText(m_pos)));
        return node;
    }

private:
    [[noreturn]] void error(const QString &what) const
    {
        throw DatasetError(QStringLiteral("Filter se ne može primeniti (%1): %2").arg(what, m_text));
    }
    QString tokenText(size_t i) const
    {
        return i < m_tokens.size() ? m_text.mid(m_tokens[i].begin, m_tokens[i].length) : QString();
    }
    bool word(const char *w) const
    {
        return m_pos < m_tokens.size() && m_tokens[m_pos].kind == db::dialect::TokenKind::Word
               && tokenText(m_pos).compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool punct(const char *p) const { return m_pos < m_tokens.size() && tokenText(m_pos) == QLatin1String(p); }

    std::unique_ptr<Node> parseOr()
    {
        auto left = parseAnd();
        while (word("OR")) {
            ++m_pos;
            auto node = std::make_unique<Or>();
            node->a = std::move(left);
            node->b = parseAnd();
            left = std::move(node);
        }
        return left;
    }
    std::unique_ptr<Node> parseAnd()
    {
        auto left = parseNot();
        while (word("AND")) {
            ++m_pos;
            auto node = std::make_unique<And>();
            node->a = std::move(left);
            node->b = parseNot();
            left = std::move(node);
        }
        return left;
    }
    std::unique_ptr<Node> parseNot()
    {
        if (word("NOT")) {
            ++m_pos;
            auto node = std::make_unique<Not>();
            node->a = parseNot();
            return node;
        }
        if (punct("(")) {
            if (++m_depth > 64)
                error(QStringLiteral("too deep"));
            ++m_pos;
            auto inner = parseOr();
            if (!punct(")"))
                error(QStringLiteral("missing ')'"));
            ++m_pos;
            --m_depth;
            return inner;
        }
        return parseComparison();
    }

    const ColumnStore *parseField()
    {
        if (m_pos >= m_tokens.size())
            error(QStringLiteral("a field name is missing"));
        const auto &t = m_tokens[m_pos];
        QString name = tokenText(m_pos);
        if (t.kind == db::dialect::TokenKind::BracketName || t.kind == db::dialect::TokenKind::QuotedName)
            name = name.mid(1, name.size() - 2);
        else if (t.kind != db::dialect::TokenKind::Word)
            error(QStringLiteral("'%1' is not a field name").arg(name));
        ++m_pos;
        const ColumnStore *column = m_resolver(name);
        if (!column)
            error(QStringLiteral("unknown field '%1'").arg(name));
        return column;
    }

    // A literal value: 'text', N'text', a number (with "." or ","), or -number.
    QVariant parseValue()
    {
        if (m_pos >= m_tokens.size())
            error(QStringLiteral("a value is missing"));
        const auto &t = m_tokens[m_pos];
        QString text = tokenText(m_pos);
        if (t.kind == db::dialect::TokenKind::String || t.kind == db::dialect::TokenKind::NString) {
            if (t.kind == db::dialect::TokenKind::NString)
                text = text.mid(1);
            if (text.size() < 2 || !text.endsWith(u'\''))
                error(QStringLiteral("unterminated text"));
            ++m_pos;
            return text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        }
        QString sign;
        if (punct("-")) {
            sign = QStringLiteral("-");
            ++m_pos;
        }
        if (m_pos < m_tokens.size() && m_tokens[m_pos].kind == db::dialect::TokenKind::Number) {
            QString number = sign + tokenText(m_pos++);
            if (punct(",") && m_pos + 1 < m_tokens.size() && m_tokens[m_pos + 1].kind == db::dialect::TokenKind::Number) {
                number += u'.' + tokenText(m_pos + 1);
                m_pos += 2;
            }
            bool ok = false;
            const qint64 n = number.toLongLong(&ok);
            if (ok)
                return n;
            const double d = number.toDouble(&ok);
            if (ok)
                return d;
        }
        error(QStringLiteral("'%1' is not a value").arg(text));
    }

    std::unique_ptr<Node> parseComparison()
    {
        const ColumnStore *column = parseField();
        if (word("IS")) {
            ++m_pos;
            auto node = std::make_unique<IsNull>();
            node->column = column;
            node->negate = false;
            if (word("NOT")) {
                node->negate = true;
                ++m_pos;
            }
            if (!word("NULL"))
                error(QStringLiteral("NULL expected"));
            ++m_pos;
            return node;
        }
        if (word("LIKE")) {
            ++m_pos;
            const QVariant pattern = parseValue();
            auto node = std::make_unique<Like>();
            node->column = column;
            node->pattern = folded(pattern.toString().toStdString());
            // Stars are accepted for % as in the original client cursor.
            std::replace(node->pattern.begin(), node->pattern.end(), '*', '%');
            const std::string &p = node->pattern;
            if (!p.empty() && p.back() == '%' && p.find_first_of("%_") == p.size() - 1) {
                node->shape = Like::Shape::Prefix;
                node->literal = p.substr(0, p.size() - 1);
            } else if (p.size() >= 2 && p.front() == '%' && p.back() == '%' && p.find_first_of("%_", 1) == p.size() - 1) {
                node->shape = Like::Shape::Contains;
                node->literal = p.substr(1, p.size() - 2);
            }
            return node;
        }
        Op op;
        if (punct("="))
            op = Op::Eq;
        else if (punct("<") || punct(">") || punct("!")) {
            const QString first = tokenText(m_pos);
            const QString second = tokenText(m_pos + 1);
            if (first == u"<" && second == u">") op = Op::Ne;
            else if (first == u"!" && second == u"=") op = Op::Ne;
            else if (first == u"<" && second == u"=") op = Op::Le;
            else if (first == u">" && second == u"=") op = Op::Ge;
            else if (first == u"<") op = Op::Lt;
            else if (first == u">") op = Op::Gt;
            else error(QStringLiteral("unknown operator"));
            if (op == Op::Ne || op == Op::Le || op == Op::Ge)
                ++m_pos;
        } else {
            error(QStringLiteral("an operator is missing after the field name"));
        }
        ++m_pos;
        const QVariant value = parseValue();
        switch (column->storage()) {
        case ColumnStore::Storage::Integer: {
            const QVariant v = column->coerce(value);
            if (!v.isValid()) {
                auto never = std::make_unique<Constant>();
                never->value = op == Op::Ne;
                return never;
            }
            auto node = std::make_unique<CompareInteger>();
            node->column = column;
            node->op = op;
            node->value = column->info().type == db::ColumnType::DateTime ? db::toStoredMsecs(v.toDateTime()) : v.toLongLong();
            return node;
        }
        case ColumnStore::Storage::Real: {
            auto node = std::make_unique<CompareReal>();
            node->column = column;
            node->op = op;
            node->value = column->coerce(value).toDouble();
            return node;
        }
        case ColumnStore::Storage::Text:
            break;
        }
        auto node = std::make_unique<CompareText>();
        node->column = column;
        node->op = op;
        node->value = folded(value.toString().toStdString());
        return node;
    }

    const QString &m_text;
    const FilterExpression::Resolver &m_resolver;
    std::vector<db::dialect::Token> m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace

FilterExpression::FilterExpression(const QString &text, const Resolver &resolver)
    : m_root(Parser(text, resolver).parse())
{
}

FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression &&) noexcept = default;

bool FilterExpression::matches(size_t row) const
{
    return m_root->eval(row);
}

} // namespace velmora::data
