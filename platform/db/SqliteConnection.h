#pragma once

#include "Connection.h"

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::db {

// The embedded backend: one database file, reached through the sqlite3 C API.
class SqliteConnection : public Connection {
public:
    enum class OpenMode { Existing, CreateIfMissing };
    // Throws DbError when the file cannot be opened (or does not exist and
    // may not be created).
    SqliteConnection(const QString &path, OpenMode mode);
    ~SqliteConnection() override;

    Backend backend() const override { return Backend::SQLite; }
    QString databaseName() const override;
    const QString &path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    void executeScript(const QString &script) override;
    QStringList tables() override;
    void setTimeout(int seconds) override;

    void queryNative(const QString &sql, const Params &params, RowSink &sink) override;
    qint64 executeNative(const QString &sql, const Params &params) override;

protected:
    QStringList loadPrimaryKey(const QString &table) override;
    QList<TableColumn> loadTableColumns(const QString &table) override;

private:
    sqlite3_stmt *prepare(const QString &sql, const Params &params);
    [[noreturn]] void fail(const QString &sql, int code) const;
    void startClock();

    QString m_path;
    sqlite3 *m_db = nullptr;
    int m_timeoutSeconds = 120;
    qint64 m_deadline = 0;
    friend int progressHandler(void *);
};

} // namespace velmora::db
