#pragma once

#include "Types.h"

#include <QList>
#include <QString>

namespace velmora::db {

// The program's statements keep the shapes of the SQL Server dialect they were
// written in: [names with spaces], N'...', ISNULL(a,b), TOP n, the
// (SERIALIZABLE) table hint, CONVERT(smalldatetime, 'dd.mm.yyyy', 104),
// + between strings, and ? for a bound parameter. rewrite() turns them into the
// backend's SQL token by token; the inside of string literals and quoted names
// is never touched.
namespace dialect {

enum class TokenKind { Space, Comment, Word, Number, String, NString, QuotedName, BracketName, Parameter, Punct };

struct Token {
    TokenKind kind;
    qsizetype begin;
    qsizetype length;
    bool complete = true; // false for a literal, name or comment the text ends inside
};

// Never fails: text it cannot read (an unterminated literal, a stray
// character) becomes a token of its own that is copied as it stands.
QList<Token> tokenize(const QString &sql);

QString rewrite(const QString &sql, Backend backend);

// A name as the backend spells it: the schema creates plain names unquoted,
// which PostgreSQL folds to lower case, and names with spaces quoted as written.
QString quoteIdentifier(const QString &name, Backend backend);
// 'text' with every apostrophe doubled.
QString quoteString(const QString &text);
// The canonical stored form of a date-time literal.
QString dateTimeLiteral(const QDateTime &dateTime, Backend backend);
// Names made only of letters, digits and "_" (not starting with a digit).
bool isPlainName(const QString &name);

} // namespace dialect
} // namespace velmora::db
