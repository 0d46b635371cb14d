#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QStringList>

#include <memory>

// What the login window needs of the servers and databases: the connection
// strings it builds, opening a database for one login try, the access check
// and the three lists. No window code here.
namespace velmora::login {

// "." and "(local)" are the embedded backend, anything else a PostgreSQL host.
QString providerFor(const QString &server);

// Built anew for every attempt, in the original order of their parts; values
// with ";" or quotes are quoted, so a typed name never changes the structure.
QString sqlAuthString(const QString &server, const QString &user, const QString &password, const QString &database);
QString windowsAuthString(const QString &server, const QString &database);
// The administrator connection the lists use when none is stored.
QString adminDefault(const QString &server);
// The clinic list's connection: the administrator's, on the typed database.
QString clinicListString(const QString &adminConnectionString, const QString &server, const QString &database);

// Where the embedded databases live: Baze/ in the program folder.
QString embeddedFolder(const QString &programFolder);
QString embeddedPath(const QString &programFolder, const QString &database);
bool isEmbedded(const QString &connectionString);

// Opens the database of a connection string for one login try. Embedded and
// "SQL" mode: the database's own user table checks the name and password.
// Throws DbError on any failure.
std::unique_ptr<db::Connection> open(const QString &connectionString, const QString &programFolder);

// Whether the user may use the database the connection is open on.
bool accessAllowed(db::Connection &connection, const QString &user);

// After a failed SQL-mode login to PostgreSQL: true when the name and password
// are right but the database refuses the role (or does not exist).
bool refusedByDatabase(const QString &connectionString);

// The lists of the server panel. Errors propagate (the clinic list's caller ignores them).
QStringList serverList(const QString &adminConnectionString);
QStringList databaseList(const QString &adminConnectionString, const QString &programFolder);
QStringList clinicList(const QString &clinicConnectionString, const QString &programFolder);

} // namespace velmora::login
