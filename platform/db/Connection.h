#pragma once

#include "DbError.h"
#include "Types.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace velmora::db {

// One open database, embedded or on a server. Statements are written in the
// program's dialect (see Dialect.h) and rewritten for the backend; values are
// bound as parameters (?). Every statement commits on its own.
class Connection {
public:
    virtual ~Connection() = default;

    virtual Backend backend() const = 0;
    // The database's name as the login shows it.
    virtual QString databaseName() const = 0;

    void query(const QString &sql, const Params &params, RowSink &sink);
    // Rows changed by an insert, update or delete.
    qint64 execute(const QString &sql, const Params &params = {});
    // Several statements separated by ";", in the backend's own SQL (schema scripts).
    virtual void executeScript(const QString &script) = 0;

    // Small results as values: rows of cells.
    QList<QVariantList> selectRows(const QString &sql, const Params &params = {}, QList<ColumnInfo> *columns = nullptr);
    // The first cell of the first row; NULL when there is no row.
    QVariant selectValue(const QString &sql, const Params &params = {});

    // The catalogue. Table names compare without case.
    virtual QStringList tables() = 0;
    // Primary-key columns in key order; empty when the table has none.
    QStringList primaryKey(const QString &table);
    // Empty when there is no such table.
    QList<TableColumn> tableColumns(const QString &table);

    QString quoteIdentifier(const QString &name) const;

    // Statements that run longer fail with a time-out error.
    virtual void setTimeout(int seconds) = 0;

    // Statements in the backend's own SQL, as rewrite() produced them.
    virtual void queryNative(const QString &sql, const Params &params, RowSink &sink) = 0;
    virtual qint64 executeNative(const QString &sql, const Params &params) = 0;

protected:
    virtual QStringList loadPrimaryKey(const QString &table) = 0;
    virtual QList<TableColumn> loadTableColumns(const QString &table) = 0;

private:
    // The catalogue of a running program does not change: read once per table.
    QHash<QString, QStringList> m_primaryKeys;
    QHash<QString, QList<TableColumn>> m_columns;
};

// Collects a small result as values.
class VariantRows : public RowSink {
public:
    QList<ColumnInfo> columnInfo;
    QList<QVariantList> rows;

    void columns(const QList<ColumnInfo> &columns) override;
    void nullValue(int column) override;
    void integerValue(int column, qint64 value) override;
    void floatValue(int column, double value) override;
    void textValue(int column, std::string_view utf8) override;
    void dateTimeValue(int column, qint64 storedMsecs) override;
    void endRow() override;

private:
    QVariantList m_row;
};

} // namespace velmora::db
