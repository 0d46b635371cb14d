#pragma once

#include "platform/db/Connection.h"

#include <QString>

namespace velmora::database {

// Who may use a database. On the embedded backend the database keeps its own
// users (table _korisnici: name, salted Argon2id hash, access flag); on
// PostgreSQL the users are the server's login roles.
namespace users {

// Adds the user, or gives an existing one a new password. PostgreSQL: a login
// role with the right to connect to the database. Names and passwords travel
// as bound parameters or quoted by the server, never as SQL syntax.
void addOrReset(db::Connection &connection, const QString &name, const QString &password);

// Embedded backend: whether the name and password match a user of the database.
bool verify(db::Connection &connection, const QString &name, const QString &password);

// Whether the user may use the database: the embedded user's access flag, or
// the PostgreSQL role's right to connect. An unknown user has none.
bool hasAccess(db::Connection &connection, const QString &name);

QString hashPassword(const QString &password);
bool matchesHash(const QString &hash, const QString &password);

} // namespace users
} // namespace velmora::database
