#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <string_view>

namespace velmora::db {

enum class Backend { SQLite, PostgreSQL };

// What a result column holds. Flags are integers 0 and 1; dates are date-times
// of which the program uses the date part.
enum class ColumnType { Integer, SmallInt, Float, Text, LongText, DateTime, Boolean, Unknown };

struct ColumnInfo {
    QString name;
    ColumnType type = ColumnType::Unknown;
    QString baseTable;   // the table the column comes from; empty for an expression
    QString baseColumn;  // its name in that table
    int length = 0;      // declared maximum length of a text column; 0 when unbounded
};

// A table column as the catalogue declares it.
struct TableColumn {
    QString name;
    ColumnType type = ColumnType::Unknown;
    bool notNull = false;
    QString defaultText;  // the declared default, as the catalogue reports it; empty when none
    bool hasDefault = false;
    int length = 0;
};

// Date-times travel as milliseconds since 1970-01-01 00:00, read as a wall-clock
// time: no time zone is involved anywhere in the program.
inline qint64 toStoredMsecs(const QDateTime &dt)
{
    return QDateTime(dt.date(), dt.time(), Qt::UTC).toMSecsSinceEpoch();
}
inline QDateTime fromStoredMsecs(qint64 msecs)
{
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
    return QDateTime(utc.date(), utc.time());
}

// Receives a result row by row, cell by cell, without an intermediate copy.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void columns(const QList<ColumnInfo> &columns) = 0;
    virtual void nullValue(int column) = 0;
    virtual void integerValue(int column, qint64 value) = 0;
    virtual void floatValue(int column, double value) = 0;
    virtual void textValue(int column, std::string_view utf8) = 0;
    virtual void dateTimeValue(int column, qint64 storedMsecs) = 0;
    virtual void endRow() = 0;
};

// Parameters are bound, never spliced into the statement text.
using Params = QList<QVariant>;

} // namespace velmora::db
