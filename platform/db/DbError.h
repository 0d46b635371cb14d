#pragma once

#include <QString>

#include <stdexcept>

namespace velmora::db {

// The one error of the database layer, carrying the server's own words.
class DbError : public std::runtime_error {
public:
    DbError(const QString &message, const QString &sql = QString(), const QString &code = QString());

    const QString &message() const { return m_message; }
    const QString &sql() const { return m_sql; }   // the statement as sent, for the log
    const QString &code() const { return m_code; } // SQLSTATE or SQLite extended code

private:
    QString m_message;
    QString m_sql;
    QString m_code;
};

// A delete that other rows still refer to. Its message begins with "DELETE",
// which the application error handler turns into "Ne mozete obrisati ovaj podatak".
DbError referencedDeleteError(const QString &serverMessage, const QString &sql, const QString &code);

// True when the statement's first word is DELETE.
bool isDeleteStatement(const QString &sql);

} // namespace velmora::db
