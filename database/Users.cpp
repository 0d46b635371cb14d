#include "Users.h"

#include <sodium.h>

#include <stdexcept>

namespace velmora::database::users {
namespace {

void initSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw db::DbError(QStringLiteral("libsodium se ne može pokrenuti"));
}

void ensureUserTable(db::Connection &connection)
{
    connection.executeScript(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS _korisnici (KORISNIK NVARCHAR(128) NOT NULL COLLATE NOCASE, LOZINKA NVARCHAR(255) NOT NULL, "
        "PRISTUP BIT NOT NULL DEFAULT 1, CONSTRAINT PK__korisnici PRIMARY KEY (KORISNIK))"));
}

} // namespace

QString hashPassword(const QString &password)
{
    initSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), quint64(utf8.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw db::DbError(QStringLiteral("Nema dovoljno memorije za heš lozinke"));
    return QString::fromLatin1(hash);
}

bool matchesHash(const QString &hash, const QString &password)
{
    initSodium();
    const QByteArray stored = hash.toLatin1();
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

void addOrReset(db::Connection &connection, const QString &name, const QString &password)
{
    if (name.trimmed().isEmpty())
        throw db::DbError(QStringLiteral("Ime korisnika je obavezno."));
    if (connection.backend() == db::Backend::SQLite) {
        ensureUserTable(connection);
        const QString hash = hashPassword(password);
        if (connection.execute(QStringLiteral("UPDATE _korisnici SET LOZINKA = ?, PRISTUP = 1 WHERE KORISNIK = ?"), {hash, name}) == 0)
            connection.execute(QStringLiteral("INSERT INTO _korisnici (KORISNIK, LOZINKA, PRISTUP) VALUES (?, ?, 1)"), {name, hash});
        return;
    }
    // The server quotes the name and the password itself (format %I and %L).
    const bool exists = connection.selectValue(QStringLiteral("SELECT COUNT(*) FROM pg_roles WHERE rolname = ?"), {name}).toInt() > 0;
    const QString statement =
        connection.selectValue(exists ? QStringLiteral("SELECT format('ALTER ROLE %I LOGIN PASSWORD %L', CAST(? AS text), CAST(? AS text))")
                                      : QStringLiteral("SELECT format('CREATE ROLE %I LOGIN PASSWORD %L', CAST(? AS text), CAST(? AS text))"),
                               {name, password})
            .toString();
    connection.executeScript(statement);
    const QString grant = connection.selectValue(QStringLiteral("SELECT format('GRANT CONNECT ON DATABASE %I TO %I', current_database(), CAST(? AS text))"),
                                                 {name})
                              .toString();
    connection.executeScript(grant);
    const QString tables = connection.selectValue(QStringLiteral(
                                                      "SELECT format('GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %I TO %I', "
                                                      "current_schema(), CAST(? AS text))"),
                                                  {name})
                               .toString();
    connection.executeScript(tables);
}

bool verify(db::Connection &connection, const QString &name, const QString &password)
{
    if (!connection.tables().contains(QStringLiteral("_korisnici"), Qt::CaseInsensitive))
        return false;
    const QVariant hash = connection.selectValue(QStringLiteral("SELECT LOZINKA FROM _korisnici WHERE KORISNIK = ?"), {name});
    return hash.isValid() && matchesHash(hash.toString(), password);
}

bool hasAccess(db::Connection &connection, const QString &name)
{
    if (connection.backend() == db::Backend::SQLite) {
        if (!connection.tables().contains(QStringLiteral("_korisnici"), Qt::CaseInsensitive))
            return false;
        return connection.selectValue(QStringLiteral("SELECT PRISTUP FROM _korisnici WHERE KORISNIK = ?"), {name}).toInt() == 1;
    }
    const QVariant right = connection.selectValue(
        QStringLiteral("SELECT has_database_privilege(r.rolname, current_database(), 'CONNECT') FROM pg_roles r WHERE r.rolname = ?"), {name});
    return right.isValid() && right.toLongLong() != 0;
}

} // namespace velmora::database::users
