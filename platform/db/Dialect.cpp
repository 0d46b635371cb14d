#include "Dialect.h"

#include <QDate>

namespace velmora::db::dialect {
namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// Reads a literal or quoted name that ends with `close`, where a doubled
// `close` stands for itself. Returns the end (one past), or the text's end
// with `complete` false.
qsizetype readQuoted(const QString &sql, qsizetype from, QChar close, bool *complete)
{
    qsizetype i = from;
    while (i < sql.size()) {
        if (sql.at(i) == close) {
            if (i + 1 < sql.size() && sql.at(i + 1) == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    *complete = false;
    return sql.size();
}

class Rewriter {
public:
    Rewriter(const QString &sql, Backend backend)
        : m_sql(sql)
        , m_backend(backend)
        , m_tokens(tokenize(sql))
    {
    }

    QString run()
    {
        QString out;
        out.reserve(m_sql.size() + 16);
        emitRange(0, m_tokens.size(), out);
        return out;
    }

private:
    QStringView text(qsizetype index) const
    {
        const Token &t = m_tokens[index];
        return QStringView(m_sql).mid(t.begin, t.length);
    }
    bool isWord(qsizetype index, QLatin1String word) const
    {
        return index >= 0 && index < m_tokens.size() && m_tokens[index].kind == TokenKind::Word
               && text(index).compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isPunct(qsizetype index, QChar c) const
    {
        return index >= 0 && index < m_tokens.size() && m_tokens[index].kind == TokenKind::Punct && text(index).size() == 1
               && text(index).at(0) == c;
    }
    bool isStringLike(qsizetype index) const
    {
        return index >= 0 && index < m_tokens.size()
               && (m_tokens[index].kind == TokenKind::String || m_tokens[index].kind == TokenKind::NString);
    }
    // Skips spaces and comments forward.
    qsizetype next(qsizetype index) const
    {
        while (index < m_tokens.size()
               && (m_tokens[index].kind == TokenKind::Space || m_tokens[index].kind == TokenKind::Comment))
            ++index;
        return index;
    }
    qsizetype previous(qsizetype index) const
    {
        while (index >= 0 && (m_tokens[index].kind == TokenKind::Space || m_tokens[index].kind == TokenKind::Comment))
            --index;
        return index;
    }
    // The token after the parenthesis that closes the one at `open`, or the end.
    qsizetype matchingClose(qsizetype open, qsizetype end) const
    {
        int depth = 0;
        for (qsizetype i = open; i < end; ++i) {
            if (isPunct(i, u'('))
                ++depth;
            else if (isPunct(i, u')') && --depth == 0)
                return i;
        }
        return end;
    }

    void emitRange(qsizetype from, qsizetype to, QString &out)
    {
        // A pending TOP n of this statement level, appended as LIMIT n after its
        // last token (before trailing comments, which would swallow it).
        QString limit;
        qsizetype limitAt = out.size();
        for (qsizetype i = from; i < to; ++i) {
            const Token &t = m_tokens[i];
            if (i > from && !limit.isEmpty() && isSignificant(i - 1))
                limitAt = out.size();
            switch (t.kind) {
            case TokenKind::NString:
                // N'...' is a plain literal in both backends; one right after
                // another literal must not join it as a doubled quote.
                if (out.endsWith(u'\''))
                    out += u' ';
                out += text(i).mid(1);
                break;
            case TokenKind::BracketName:
                out += bracketName(i);
                break;
            case TokenKind::Parameter:
                if (m_backend == Backend::PostgreSQL) {
                    out += QStringLiteral("$%1").arg(++m_parameter);
                    if (i + 1 < to && (m_tokens[i + 1].kind == TokenKind::Number || m_tokens[i + 1].kind == TokenKind::Word))
                        out += u' '; // $1 followed by 2 is not $12
                } else {
                    out += u'?';
                }
                break;
            case TokenKind::Punct:
                if (isPunct(i, u'(') && m_depth < kMaxDepth) {
                    // (SERIALIZABLE): the table hint has no equivalent and is dropped.
                    const qsizetype word = next(i + 1);
                    const qsizetype close = next(word + 1);
                    if (isWord(word, QLatin1String("SERIALIZABLE")) && isPunct(close, u')')) {
                        out += u' '; // keeps its neighbours apart
                        i = close;
                        break;
                    }
                    const qsizetype end = matchingClose(i, to);
                    out += u'(';
                    ++m_depth;
                    emitRange(i + 1, end, out);
                    --m_depth;
                    if (end < to)
                        out += u')';
                    i = end;
                    break;
                }
                if (isPunct(i, u'+') && (isStringLike(previous(i - 1)) || isStringLike(next(i + 1)))) {
                    out += QStringLiteral("||");
                    break;
                }
                if (isPunct(i, u';') && !limit.isEmpty()) {
                    out.insert(limitAt, limit);
                    limit.clear();
                }
                out += text(i);
                break;
            case TokenKind::Word:
                if (isWord(i, QLatin1String("ISNULL")) && isPunct(next(i + 1), u'(')) {
                    out += QStringLiteral("COALESCE");
                    break;
                }
                if (isWord(i, QLatin1String("TOP"))) {
                    const qsizetype count = next(i + 1);
                    const qsizetype before = previous(i - 1);
                    const bool afterSelect = isWord(before, QLatin1String("SELECT")) || isWord(before, QLatin1String("DISTINCT"));
                    if (afterSelect && count < to && m_tokens[count].kind == TokenKind::Number) {
                        limit = QStringLiteral(" LIMIT ") + text(count).toString();
                        i = count;
                        // Keep one space between SELECT and what follows.
                        if (count + 1 < to && m_tokens[count + 1].kind == TokenKind::Space)
                            ++i;
                        break;
                    }
                }
                if (isWord(i, QLatin1String("CONVERT")) && convertDate(i, to, out, &i))
                    break;
                if (m_backend == Backend::SQLite && isWord(i, QLatin1String("CAST")) && strictIntegerCast(i, to, out, &i))
                    break;
                out += text(i);
                break;
            default:
                out += text(i);
                break;
            }
        }
        if (!limit.isEmpty()) {
            if (to > from && isSignificant(to - 1))
                limitAt = out.size();
            out.insert(limitAt, limit);
        }
    }

    // A token after which LIMIT may follow: not a space, a comment or an unterminated literal.
    bool isSignificant(qsizetype index) const
    {
        const Token &t = m_tokens[index];
        switch (t.kind) {
        case TokenKind::Space:
        case TokenKind::Comment:
            return false;
        case TokenKind::String:
        case TokenKind::NString:
        case TokenKind::QuotedName:
        case TokenKind::BracketName:
            return t.complete;
        default:
            return true;
        }
    }

    // CAST(x AS int): SQLite would turn a text that is no number into 0; the
    // program's own function fails as a server does.
    bool strictIntegerCast(qsizetype at, qsizetype to, QString &out, qsizetype *last)
    {
        const qsizetype open = next(at + 1);
        if (!isPunct(open, u'(') || m_depth >= kMaxDepth)
            return false;
        const qsizetype close = matchingClose(open, to);
        if (close >= to)
            return false;
        const qsizetype type = previous(close - 1);
        const qsizetype as = previous(type - 1);
        if (!(isWord(type, QLatin1String("int")) || isWord(type, QLatin1String("integer"))) || !isWord(as, QLatin1String("AS"))
            || as <= open)
            return false;
        out += QStringLiteral("velmora_int(");
        ++m_depth;
        emitRange(open + 1, previous(as - 1) + 1, out);
        --m_depth;
        out += u')';
        *last = close;
        return true;
    }

    // CONVERT(smalldatetime|datetime, 'dd.mm.yyyy', 104) becomes a date literal.
    bool convertDate(qsizetype at, qsizetype to, QString &out, qsizetype *last)
    {
        const qsizetype open = next(at + 1);
        const qsizetype type = next(open + 1);
        const qsizetype comma1 = next(type + 1);
        const qsizetype value = next(comma1 + 1);
        const qsizetype comma2 = next(value + 1);
        const qsizetype style = next(comma2 + 1);
        const qsizetype close = next(style + 1);
        if (close >= to || !isPunct(open, u'(') || !(isWord(type, QLatin1String("smalldatetime")) || isWord(type, QLatin1String("datetime")))
            || !isPunct(comma1, u',') || !isStringLike(value) || !isPunct(comma2, u',')
            || m_tokens[style].kind != TokenKind::Number || text(style) != u"104" || !isPunct(close, u')'))
            return false;
        QStringView literal = text(value);
        if (m_tokens[value].kind == TokenKind::NString)
            literal = literal.mid(1);
        const QString inner = literal.mid(1, literal.size() - 2).toString().trimmed();
        const QString datePart = inner.section(u' ', 0, 0);
        const QDate date = QDate::fromString(datePart, QStringLiteral("d.M.yyyy"));
        if (!date.isValid())
            return false;
        QTime time(0, 0);
        const QString timePart = inner.section(u' ', 1);
        if (!timePart.isEmpty()) {
            time = QTime::fromString(timePart, QStringLiteral("H:mm:ss"));
            if (!time.isValid())
                time = QTime::fromString(timePart, QStringLiteral("H:mm"));
            if (!time.isValid())
                return false;
        }
        out += dateTimeLiteral(QDateTime(date, time), m_backend);
        *last = close;
        return true;
    }

    QString bracketName(qsizetype index) const
    {
        const QStringView token = text(index);
        // An unterminated name keeps all it has.
        const qsizetype inner = m_tokens[index].complete ? token.size() - 2 : token.size() - 1;
        const QString name = token.mid(1, inner).toString().replace(QStringLiteral("]]"), QStringLiteral("]"));
        if (m_backend == Backend::PostgreSQL && isPlainName(name))
            return name; // folds as the schema's unquoted names do
        return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
    }

    const QString &m_sql;
    Backend m_backend;
    QList<Token> m_tokens;
    int m_parameter = 0;
    // Deeper nesting is copied flat: no statement of the program comes near it.
    static constexpr int kMaxDepth = 64;
    int m_depth = 0;
};

} // namespace

QList<Token> tokenize(const QString &sql)
{
    QList<Token> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        const qsizetype start = i;
        TokenKind kind = TokenKind::Punct;
        bool complete = true;
        if (c.isSpace()) {
            while (i < n && sql.at(i).isSpace())
                ++i;
            kind = TokenKind::Space;
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            while (i < n && sql.at(i) != u'\n')
                ++i;
            kind = TokenKind::Comment;
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            complete = end >= 0;
            kind = TokenKind::Comment;
        } else if (c == u'\'') {
            i = readQuoted(sql, i + 1, u'\'', &complete);
            kind = TokenKind::String;
        } else if ((c == u'N' || c == u'n') && i + 1 < n && sql.at(i + 1) == u'\'') {
            i = readQuoted(sql, i + 2, u'\'', &complete);
            kind = TokenKind::NString;
        } else if (c == u'"') {
            i = readQuoted(sql, i + 1, u'"', &complete);
            kind = TokenKind::QuotedName;
        } else if (c == u'[') {
            i = readQuoted(sql, i + 1, u']', &complete);
            kind = TokenKind::BracketName;
        } else if (c == u'?') {
            ++i;
            kind = TokenKind::Parameter;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql.at(i + 1).isDigit())) {
            while (i < n && (sql.at(i).isDigit() || sql.at(i) == u'.'))
                ++i;
            kind = TokenKind::Number;
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(sql.at(i)))
                ++i;
            kind = TokenKind::Word;
        } else {
            ++i;
        }
        tokens.append(Token{kind, start, i - start, complete});
    }
    return tokens;
}

QString rewrite(const QString &sql, Backend backend)
{
    return Rewriter(sql, backend).run();
}

bool isPlainName(const QString &name)
{
    if (name.isEmpty() || name.at(0).isDigit())
        return false;
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() || c == u'_') || c.unicode() > 127)
            return false;
    }
    return true;
}

QString quoteIdentifier(const QString &name, Backend backend)
{
    QString inner = backend == Backend::PostgreSQL && isPlainName(name) ? name.toLower() : name;
    return u'"' + inner.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString quoteString(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString dateTimeLiteral(const QDateTime &dateTime, Backend backend)
{
    const QString text = quoteString(dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    return backend == Backend::PostgreSQL ? QStringLiteral("TIMESTAMP ") + text : text;
}

} // namespace velmora::db::dialect
