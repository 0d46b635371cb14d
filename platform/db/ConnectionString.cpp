#include "ConnectionString.h"

#include "PgConnection.h"
#include "SqliteConnection.h"

#include <QDir>

namespace velmora::db {

const QString ConnectionString::kSqliteProvider = QStringLiteral("VelmoraSQLite");
const QString ConnectionString::kPostgresProvider = QStringLiteral("VelmoraPG");

ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString cs;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype eq = text.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && text.at(i) == u' ')
            ++i;
        QString value;
        if (i < n && (text.at(i) == u'"' || text.at(i) == u'\'')) {
            const QChar quote = text.at(i++);
            while (i < n) {
                if (text.at(i) == quote) {
                    if (i + 1 < n && text.at(i + 1) == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text.at(i++);
            }
            const qsizetype semi = text.indexOf(u';', i);
            i = semi < 0 ? n : semi + 1;
        } else {
            const qsizetype semi = text.indexOf(u';', i);
            value = text.mid(i, (semi < 0 ? n : semi) - i).trimmed();
            i = semi < 0 ? n : semi + 1;
        }
        if (!key.isEmpty())
            cs.add(key, value);
    }
    return cs;
}

ConnectionString &ConnectionString::add(const QString &key, const QString &value)
{
    m_parts.append({key, value});
    return *this;
}

QString ConnectionString::value(const QString &key) const
{
    for (const auto &part : m_parts) {
        if (part.first.compare(key, Qt::CaseInsensitive) == 0)
            return part.second;
    }
    return QString();
}

bool ConnectionString::contains(const QString &key) const
{
    for (const auto &part : m_parts) {
        if (part.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString ConnectionString::toString() const
{
    QStringList parts;
    for (const auto &part : m_parts) {
        QString value = part.second;
        const bool quote = value.contains(u';') || value.contains(u'"') || value.contains(u'\'')
                           || value != value.trimmed();
        if (quote)
            value = u'"' + value.replace(u'"', QStringLiteral("\"\"")) + u'"';
        parts << part.first + u'=' + value;
    }
    return parts.join(u';');
}

bool ConnectionString::isEmbeddedServer(const QString &server)
{
    const QString s = server.trimmed();
    return s == QLatin1String(".") || s.compare(QLatin1String("(local)"), Qt::CaseInsensitive) == 0;
}

QString libpqQuote(const QString &value)
{
    QString v = value;
    v.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + v + u'\'';
}

QString ConnectionString::toLibpq() const
{
    QStringList parts;
    const QString source = value(QStringLiteral("Data Source")).trimmed();
    if (!source.isEmpty()) {
        // host:port, or a socket folder (a path)
        // host:port; the host may be a socket folder (/run/postgresql:5432)
        const qsizetype colon = source.lastIndexOf(u':');
        bool digits = colon > 0 && colon + 1 < source.size();
        for (qsizetype i = colon + 1; digits && i < source.size(); ++i)
            digits = source.at(i).isDigit();
        if (digits && !source.startsWith(u'[')) {
            parts << QStringLiteral("host=") + libpqQuote(source.left(colon));
            parts << QStringLiteral("port=") + libpqQuote(source.mid(colon + 1));
        } else {
            parts << QStringLiteral("host=") + libpqQuote(source);
        }
    }
    const QString user = value(QStringLiteral("User ID"));
    if (!user.isEmpty())
        parts << QStringLiteral("user=") + libpqQuote(user);
    if (contains(QStringLiteral("Password")))
        parts << QStringLiteral("password=") + libpqQuote(value(QStringLiteral("Password")));
    const QString database = value(QStringLiteral("Initial Catalog"));
    if (!database.isEmpty())
        parts << QStringLiteral("dbname=") + libpqQuote(database);
    parts << QStringLiteral("connect_timeout='10'") << QStringLiteral("application_name='Velmora'");
    return parts.join(u' ');
}

std::unique_ptr<Connection> openConnection(const QString &connectionString, const QString &embeddedFolder)
{
    const ConnectionString cs = ConnectionString::parse(connectionString);
    const QString provider = cs.value(QStringLiteral("Provider"));
    if (provider.compare(ConnectionString::kSqliteProvider, Qt::CaseInsensitive) == 0
        || ConnectionString::isEmbeddedServer(cs.value(QStringLiteral("Data Source")))) {
        const QString name = cs.value(QStringLiteral("Initial Catalog"));
        if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
            throw DbError(QStringLiteral("Neispravan naziv baze: '%1'").arg(name));
        return std::make_unique<SqliteConnection>(QDir(embeddedFolder).filePath(name + QStringLiteral(".db")),
                                                  SqliteConnection::OpenMode::Existing);
    }
    return std::make_unique<PgConnection>(cs.toLibpq());
}

std::unique_ptr<Connection> openTarget(const QString &target, bool createEmbedded)
{
    if (target.startsWith(QLatin1String("sqlite:"))) {
        return std::make_unique<SqliteConnection>(target.mid(7), createEmbedded ? SqliteConnection::OpenMode::CreateIfMissing
                                                                                : SqliteConnection::OpenMode::Existing);
    }
    return std::make_unique<PgConnection>(target);
}

} // namespace velmora::db
