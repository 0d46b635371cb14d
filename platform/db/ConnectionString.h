#pragma once

#include "Connection.h"

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

namespace velmora::db {

// The program's connection strings keep the "key=value;..." form of the
// original, with a provider of ours:
//   Provider=VelmoraSQLite;...;Initial Catalog=Odeljenje;Data Source=.
//   Provider=VelmoraPG;...;User ID=lekar;Password=...;Initial Catalog=odeljenje;Data Source=srv:5432
// A value with a ";", a quote or surrounding spaces is enclosed in double quotes
// (doubled inside), so typed names never change the string's structure.
class ConnectionString {
public:
    static const QString kSqliteProvider;
    static const QString kPostgresProvider;

    ConnectionString() = default;
    static ConnectionString parse(const QString &text);

    // Appends in order; the order is kept when the string is built.
    ConnectionString &add(const QString &key, const QString &value);
    QString value(const QString &key) const; // keys compare without case
    bool contains(const QString &key) const;
    QString toString() const;

    // "." and "(local)" name the embedded backend, everything else a
    // PostgreSQL host (optionally host:port).
    static bool isEmbeddedServer(const QString &server);

    // The libpq connection string for a VelmoraPG string; values are quoted.
    QString toLibpq() const;

private:
    QList<QPair<QString, QString>> m_parts;
};

// Opens the database a connection string names. Embedded databases are the
// files "<name>.db" in `embeddedFolder`; throws DbError.
std::unique_ptr<Connection> openConnection(const QString &connectionString, const QString &embeddedFolder);

// Opens a database given as "sqlite:PATH" or as a libpq URI or key=value string
// (the administrator tool's targets). `createEmbedded` creates a missing file.
std::unique_ptr<Connection> openTarget(const QString &target, bool createEmbedded);

// libpq's quoting of one value: 'text' with \ and ' escaped.
QString libpqQuote(const QString &value);

} // namespace velmora::db
