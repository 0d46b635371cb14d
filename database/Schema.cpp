#include "Schema.h"

namespace velmora::database {

bool hasProgramTables(db::Connection &connection)
{
    return connection.tables().contains(QStringLiteral("pacijent"), Qt::CaseInsensitive);
}

void createSchema(db::Connection &connection)
{
    if (!connection.tables().isEmpty())
        throw db::DbError(QStringLiteral("Baza podataka %1 već sadrži tabele; šema se pravi samo u praznoj bazi.")
                              .arg(connection.databaseName()));
    // One transaction: a failed script leaves the database as empty as it was.
    const QString script = QString::fromUtf8(schemaScript(connection.backend()));
    try {
        connection.executeScript(QStringLiteral("BEGIN;\n") + script + QStringLiteral("\nCOMMIT;"));
    } catch (const db::DbError &) {
        try {
            connection.executeScript(QStringLiteral("ROLLBACK"));
        } catch (const db::DbError &) {
            // no transaction was left open
        }
        throw;
    }
}

} // namespace velmora::database
