#include "DbError.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcDatabaseErrors, "velmora.db.errors", QtWarningMsg)

namespace velmora::db {

DbError::DbError(const QString &message, const QString &sql, const QString &code)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_sql(sql)
    , m_code(code)
{
    // QT_LOGGING_RULES="velmora.db.errors.debug=true" logs every error with its statement.
    qCDebug(lcDatabaseErrors).noquote() << message << "|" << code << "|" << sql;
}

DbError referencedDeleteError(const QString &serverMessage, const QString &sql, const QString &code)
{
    return DbError(QStringLiteral("DELETE refused: other rows refer to this row (%1)").arg(serverMessage), sql, code);
}

bool isDeleteStatement(const QString &sql)
{
    const QString trimmed = sql.trimmed();
    return trimmed.startsWith(QLatin1String("delete"), Qt::CaseInsensitive)
           && (trimmed.size() == 6 || !trimmed.at(6).isLetterOrNumber());
}

} // namespace velmora::db
