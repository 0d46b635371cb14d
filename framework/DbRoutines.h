#pragma once

#include <QString>
#include <QVariant>

namespace velmora {

namespace data {
class Dataset;
}

// Small self-contained database jobs the whole program uses. Each runs one
// statement on Globals.Connection, or one procedure of the shared data
// module, and closes what it opened before it returns, also on an error.
// Conditions are inserted as they are: callers quote the values in them.

// One more than the highest key within the condition (the whole table without
// one), or 1: SELECT ISNULL(MAX(CAST(key AS int))+1, 1) AS maxa FROM table (SERIALIZABLE)
int NextKey(const QString &table, const QString &keyColumn, const QString &condition);

// The named column of the first row of SELECT selectList [FROM table] [WHERE condition]; NULL without a row.
QVariant SelectValue(const QString &resultColumn, const QString &selectList, const QString &table, const QString &condition);

// Whether SELECT column AS Polje FROM table [WHERE condition] has a row.
bool RowExists(const QString &column, const QString &table, const QString &condition);

// The named column of the first row that sp_Nadji returns; NULL without a row.
QVariant FindValue(const QString &resultColumn, const QString &what, const QString &from, const QString &condition);

// Whether the column of the dataset's result must be filled; false, without
// asking the server, when no result column comes from a column of that name.
bool IsRequiredColumn(const data::Dataset *dataset, const QString &columnName);

inline QVariant IfThenVar(bool condition, const QVariant &ifTrue, const QVariant &ifFalse)
{
    return condition ? ifTrue : ifFalse;
}

} // namespace velmora
