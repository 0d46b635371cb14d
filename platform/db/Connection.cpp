#include "Connection.h"

#include "Dialect.h"

namespace velmora::db {

void Connection::query(const QString &sql, const Params &params, RowSink &sink)
{
    queryNative(dialect::rewrite(sql, backend()), params, sink);
}

qint64 Connection::execute(const QString &sql, const Params &params)
{
    return executeNative(dialect::rewrite(sql, backend()), params);
}

QList<QVariantList> Connection::selectRows(const QString &sql, const Params &params, QList<ColumnInfo> *columns)
{
    VariantRows result;
    query(sql, params, result);
    if (columns)
        *columns = result.columnInfo;
    return result.rows;
}

QVariant Connection::selectValue(const QString &sql, const Params &params)
{
    const QList<QVariantList> rows = selectRows(sql, params);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

QStringList Connection::primaryKey(const QString &table)
{
    const QString key = table.toLower();
    auto it = m_primaryKeys.constFind(key);
    if (it == m_primaryKeys.constEnd())
        it = m_primaryKeys.insert(key, loadPrimaryKey(table));
    return *it;
}

QList<TableColumn> Connection::tableColumns(const QString &table)
{
    const QString key = table.toLower();
    auto it = m_columns.constFind(key);
    if (it == m_columns.constEnd()) {
        const QList<TableColumn> columns = loadTableColumns(table);
        if (columns.isEmpty())
            return columns; // a table created later is found then
        it = m_columns.insert(key, columns);
    }
    return *it;
}

QString Connection::quoteIdentifier(const QString &name) const
{
    return dialect::quoteIdentifier(name, backend());
}

void VariantRows::columns(const QList<ColumnInfo> &columns)
{
    columnInfo = columns;
    m_row.clear();
    m_row.resize(columns.size());
}

void VariantRows::nullValue(int column)
{
    m_row[column] = QVariant();
}

void VariantRows::integerValue(int column, qint64 value)
{
    m_row[column] = value;
}

void VariantRows::floatValue(int column, double value)
{
    m_row[column] = value;
}

void VariantRows::textValue(int column, std::string_view utf8)
{
    m_row[column] = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

void VariantRows::dateTimeValue(int column, qint64 storedMsecs)
{
    m_row[column] = fromStoredMsecs(storedMsecs);
}

void VariantRows::endRow()
{
    rows.append(m_row);
}

} // namespace velmora::db
