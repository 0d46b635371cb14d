#pragma once

#include "Connection.h"

#include <QHash>
#include <QPair>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace velmora::db {

// The server backend: PostgreSQL through libpq, rows streamed in single-row
// mode straight into the caller's sink.
class PgConnection : public Connection {
public:
    // A libpq connection string ("host=... dbname=...") or URI; throws DbError.
    explicit PgConnection(const QString &conninfo);
    ~PgConnection() override;

    Backend backend() const override { return Backend::PostgreSQL; }
    QString databaseName() const override;
    QString userName() const;
    PGconn *handle() const { return m_conn; }

    void executeScript(const QString &script) override;
    QStringList tables() override;
    void setTimeout(int seconds) override;

    void queryNative(const QString &sql, const Params &params, RowSink &sink) override;
    qint64 executeNative(const QString &sql, const Params &params) override;

    // Native statements with $n parameters, for the catalogue.
    QList<QVariantList> selectNative(const QString &sql, const Params &params = {});

protected:
    QStringList loadPrimaryKey(const QString &table) override;
    QList<TableColumn> loadTableColumns(const QString &table) override;

private:
    [[noreturn]] void fail(PGresult *result, const QString &sql) const;
    void resolveBaseNames(const QList<unsigned> &tables);
    QString regclassText(const QString &table) const;

    PGconn *m_conn = nullptr;
    // (table oid, column number) -> column name; table oid -> table name
    QHash<unsigned, QString> m_tableNames;
    QHash<QPair<unsigned, int>, QString> m_columnNames;
};

} // namespace velmora::db
