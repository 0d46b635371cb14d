#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace velmora::test {

// The PostgreSQL server the test command starts (tests/support/pg_server.sh).
QString postgresHost();
int postgresPort();

// A fresh database of its own for one test, on either backend, dropped again
// when the object goes. A PostgreSQL server that cannot be reached fails the
// test: database tests never skip a backend.
class TestDatabase {
public:
    explicit TestDatabase(db::Backend backend, bool withSchema = true);
    ~TestDatabase();

    db::Backend backend() const { return m_backend; }
    db::Connection &connection() { return *m_connection; }
    // A second, independent connection to the same database (another workstation).
    std::unique_ptr<db::Connection> openAnother() const;
    // For the administrator tool: sqlite:PATH or a libpq URI.
    const QString &target() const { return m_target; }
    // The database's name; an embedded one is the file Baze/<name>.db of programFolder().
    const QString &name() const { return m_name; }
    QString programFolder() const { return m_dir.path() + u'/'; }
    QString embeddedFolder() const { return m_dir.filePath(QStringLiteral("Baze")); }
    // The program's connection string for it (the data modules open it).
    QString connectionString() const;
    // Points Globals at this database, as a login to it would.
    void makeCurrent() const;

private:
    db::Backend m_backend;
    QString m_name;
    QString m_target;
    QTemporaryDir m_dir;
    std::unique_ptr<db::Connection> m_connection;
};

// "sqlite" and "postgres" rows of a test's initTestCase_data().
void addBackendRows();
db::Backend currentBackend();

} // namespace velmora::test
