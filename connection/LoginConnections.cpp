#include "LoginConnections.h"

#include "database/Users.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/PgConnection.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::login {
namespace {

using db::ConnectionString;

const QString kPersist = QStringLiteral("Persist Security Info");

} // namespace

QString providerFor(const QString &server)
{
    return ConnectionString::isEmbeddedServer(server) ? ConnectionString::kSqliteProvider : ConnectionString::kPostgresProvider;
}

QString sqlAuthString(const QString &server, const QString &user, const QString &password, const QString &database)
{
    ConnectionString cs;
    cs.add(QStringLiteral("Provider"), providerFor(server)).add(kPersist, QStringLiteral("False")).add(QStringLiteral("User ID"), user);
    if (!password.isEmpty())
        cs.add(QStringLiteral("Password"), password);
    cs.add(QStringLiteral("Initial Catalog"), database).add(QStringLiteral("Data Source"), server);
    return cs.toString();
}

QString windowsAuthString(const QString &server, const QString &database)
{
    ConnectionString cs;
    cs.add(QStringLiteral("Provider"), providerFor(server))
        .add(QStringLiteral("Integrated Security"), QStringLiteral("SSPI"))
        .add(kPersist, QStringLiteral("False"))
        .add(QStringLiteral("Initial Catalog"), database)
        .add(QStringLiteral("Data Source"), server);
    return cs.toString();
}

QString adminDefault(const QString &server)
{
    // The server's administrator and its maintenance database.
    const bool embedded = ConnectionString::isEmbeddedServer(server);
    ConnectionString cs;
    cs.add(QStringLiteral("Provider"), providerFor(server))
        .add(kPersist, QStringLiteral("False"))
        .add(QStringLiteral("User ID"), embedded ? QStringLiteral("sa") : QStringLiteral("postgres"))
        .add(QStringLiteral("Initial Catalog"), embedded ? QStringLiteral("master") : QStringLiteral("postgres"))
        .add(QStringLiteral("Data Source"), server);
    return cs.toString();
}

QString clinicListString(const QString &adminConnectionString, const QString &server, const QString &database)
{
    const ConnectionString admin = ConnectionString::parse(adminConnectionString);
    ConnectionString cs;
    cs.add(QStringLiteral("Provider"), providerFor(server)).add(kPersist, QStringLiteral("False"));
    if (admin.contains(QStringLiteral("Integrated Security")))
        cs.add(QStringLiteral("Integrated Security"), admin.value(QStringLiteral("Integrated Security")));
    else
        cs.add(QStringLiteral("User ID"), admin.value(QStringLiteral("User ID")));
    if (admin.contains(QStringLiteral("Password")))
        cs.add(QStringLiteral("Password"), admin.value(QStringLiteral("Password")));
    cs.add(QStringLiteral("Initial Catalog"), database).add(QStringLiteral("Data Source"), server);
    return cs.toString();
}

QString embeddedFolder(const QString &programFolder)
{
    return programFolder + QStringLiteral("Baze/");
}

QString embeddedPath(const QString &programFolder, const QString &database)
{
    return embeddedFolder(programFolder) + database + QStringLiteral(".db");
}

bool isEmbedded(const QString &connectionString)
{
    const ConnectionString cs = ConnectionString::parse(connectionString);
    return cs.value(QStringLiteral("Provider")).compare(ConnectionString::kSqliteProvider, Qt::CaseInsensitive) == 0
           || ConnectionString::isEmbeddedServer(cs.value(QStringLiteral("Data Source")));
}

std::unique_ptr<db::Connection> open(const QString &connectionString, const QString &programFolder)
{
    const ConnectionString cs = ConnectionString::parse(connectionString);
    auto connection = db::openConnection(connectionString, embeddedFolder(programFolder));
    if (!isEmbedded(connectionString))
        return connection;
    const QString database = cs.value(QStringLiteral("Initial Catalog"));
    if (cs.contains(QStringLiteral("Integrated Security"))) {
        // The system user who can read and write the file is let in.
        if (!QFileInfo(embeddedPath(programFolder, database)).isWritable())
            throw db::DbError(QStringLiteral("Datoteka baze %1 nije dostupna za upis").arg(database));
        return connection;
    }
    if (!database::users::verify(*connection, cs.value(QStringLiteral("User ID")), cs.value(QStringLiteral("Password"))))
        throw db::DbError(QStringLiteral("Login failed for user '%1'.").arg(cs.value(QStringLiteral("User ID"))));
    return connection;
}

bool accessAllowed(db::Connection &connection, const QString &user)
{
    return database::users::hasAccess(connection, user);
}

bool refusedByDatabase(const QString &connectionString)
{
    if (isEmbedded(connectionString))
        return false;
    ConnectionString cs = ConnectionString::parse(connectionString);
    const QString database = cs.value(QStringLiteral("Initial Catalog"));
    ConnectionString maintenance;
    for (const char *key : {"Provider", "Persist Security Info", "User ID", "Password"}) {
        if (cs.contains(QString::fromLatin1(key)))
            maintenance.add(QString::fromLatin1(key), cs.value(QString::fromLatin1(key)));
    }
    maintenance.add(QStringLiteral("Initial Catalog"), QStringLiteral("postgres")).add(QStringLiteral("Data Source"), cs.value(QStringLiteral("Data Source")));
    try {
        db::PgConnection probe(maintenance.toLibpq());
        const QVariant right = probe.selectValue(
            QStringLiteral("SELECT has_database_privilege(d.datname, 'CONNECT') FROM pg_database d WHERE d.datname = ?"), {database});
        return !right.isValid() || right.toLongLong() == 0;
    } catch (const db::DbError &) {
        return false; // the name or the password is wrong after all
    }
}

QStringList serverList(const QString &adminConnectionString)
{
    QStringList servers{QStringLiteral(".")};
    const QString server = ConnectionString::parse(adminConnectionString).value(QStringLiteral("Data Source")).trimmed();
    if (!server.isEmpty() && !ConnectionString::isEmbeddedServer(server))
        servers << server;
    return servers;
}

QStringList databaseList(const QString &adminConnectionString, const QString &programFolder)
{
    if (isEmbedded(adminConnectionString)) {
        QStringList names;
        for (const QFileInfo &file : QDir(embeddedFolder(programFolder)).entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Name))
            names << file.completeBaseName();
        return names;
    }
    db::PgConnection admin(ConnectionString::parse(adminConnectionString).toLibpq());
    QStringList names;
    for (const QVariantList &row : admin.selectNative(QStringLiteral(
             "SELECT datname::text FROM pg_database WHERE NOT datistemplate AND datname <> 'postgres' ORDER BY oid")))
        names << row.value(0).toString();
    return names;
}

QStringList clinicList(const QString &clinicConnectionString, const QString &programFolder)
{
    const auto connection = db::openConnection(clinicConnectionString, embeddedFolder(programFolder));
    QList<db::ColumnInfo> columns;
    const QList<QVariantList> rows = connection->selectRows(QStringLiteral("select * from Klinike"), {}, &columns);
    int name = -1;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(QLatin1String("Naziv_klinike"), Qt::CaseInsensitive) == 0)
            name = i;
    }
    QStringList clinics;
    for (const QVariantList &row : rows)
        clinics << row.value(name).toString();
    return clinics;
}

} // namespace velmora::login
