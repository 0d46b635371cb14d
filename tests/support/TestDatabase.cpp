#include "TestDatabase.h"

#include "database/Schema.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/PgConnection.h"
#include "platform/db/SqliteConnection.h"

#include "app/Globals.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

namespace velmora::test {
namespace {

int serial = 0;

QString adminConninfo()
{
    return QStringLiteral("host=%1 port=%2 user=postgres dbname=postgres connect_timeout=5").arg(postgresHost()).arg(postgresPort());
}

} // namespace

QString postgresHost()
{
    return qEnvironmentVariable("VELMORA_TEST_PG_HOST", QStringLiteral("127.0.0.1"));
}

int postgresPort()
{
    return qEnvironmentVariableIntValue("VELMORA_TEST_PG_PORT") ? qEnvironmentVariableIntValue("VELMORA_TEST_PG_PORT") : 54329;
}

TestDatabase::TestDatabase(db::Backend backend, bool withSchema)
    : m_backend(backend)
{
    m_name = QStringLiteral("vt_%1_%2_%3").arg(QCoreApplication::applicationName().toLower()).arg(QCoreApplication::applicationPid()).arg(++serial);
    if (backend == db::Backend::SQLite) {
        QDir(m_dir.path()).mkpath(QStringLiteral("Baze"));
        const QString path = m_dir.filePath(QStringLiteral("Baze/") + m_name + QStringLiteral(".db"));
        m_target = QStringLiteral("sqlite:") + path;
        m_connection = std::make_unique<db::SqliteConnection>(path, db::SqliteConnection::OpenMode::CreateIfMissing);
    } else {
        db::PgConnection admin(adminConninfo());
        admin.executeScript(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_name));
        admin.executeScript(QStringLiteral("CREATE DATABASE %1").arg(m_name));
        m_target = QStringLiteral("postgresql://postgres@%1:%2/%3").arg(postgresHost()).arg(postgresPort()).arg(m_name);
        m_connection = std::make_unique<db::PgConnection>(m_target);
    }
    if (withSchema)
        database::createSchema(*m_connection);
}

TestDatabase::~TestDatabase()
{
    m_connection.reset();
    if (m_backend == db::Backend::PostgreSQL) {
        try {
            db::PgConnection admin(adminConninfo());
            admin.executeScript(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
        } catch (const db::DbError &error) {
            qWarning("could not drop %s: %s", qPrintable(m_name), error.what());
        }
    }
}

std::unique_ptr<db::Connection> TestDatabase::openAnother() const
{
    return db::openTarget(m_target, false);
}

QString TestDatabase::connectionString() const
{
    db::ConnectionString cs;
    if (m_backend == db::Backend::SQLite) {
        cs.add(QStringLiteral("Provider"), db::ConnectionString::kSqliteProvider)
            .add(QStringLiteral("Persist Security Info"), QStringLiteral("False"))
            .add(QStringLiteral("Initial Catalog"), m_name)
            .add(QStringLiteral("Data Source"), QStringLiteral("."));
    } else {
        cs.add(QStringLiteral("Provider"), db::ConnectionString::kPostgresProvider)
            .add(QStringLiteral("Persist Security Info"), QStringLiteral("False"))
            .add(QStringLiteral("User ID"), QStringLiteral("postgres"))
            .add(QStringLiteral("Initial Catalog"), m_name)
            .add(QStringLiteral("Data Source"), QStringLiteral("%1:%2").arg(postgresHost()).arg(postgresPort()));
    }
    return cs.toString();
}

void TestDatabase::makeCurrent() const
{
    Globals.ProgramFolder = programFolder();
    Globals.ConnectionString = connectionString();
    Globals.DatabaseName = m_name;
    Globals.Connection = m_connection.get();
}

void addBackendRows()
{
    QTest::addColumn<db::Backend>("backend");
    QTest::newRow("sqlite") << db::Backend::SQLite;
    QTest::newRow("postgres") << db::Backend::PostgreSQL;
}

db::Backend currentBackend()
{
    return *static_cast<db::Backend *>(QTest::qGlobalData("backend", qMetaTypeId<db::Backend>()));
}

} // namespace velmora::test
