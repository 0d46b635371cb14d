#include "SqliteConnection.h"

#include "DateText.h"
#include "Dialect.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sqlite3.h>

namespace velmora::db {
namespace {

QElapsedTimer &clock()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}

struct DeclaredType {
    ColumnType type = ColumnType::Unknown;
    int length = 0;
};

DeclaredType declaredType(const char *decl)
{
    if (!decl)
        return {};
    const QString text = QString::fromUtf8(decl).toUpper();
    DeclaredType d;
    if (text.contains(QLatin1String("SMALLINT")) || text.contains(QLatin1String("TINYINT")))
        d.type = ColumnType::SmallInt;
    else if (text.contains(QLatin1String("INT")) || text == QLatin1String("BIT"))
        d.type = ColumnType::Integer;
    else if (text.contains(QLatin1String("REAL")) || text.contains(QLatin1String("FLOA")) || text.contains(QLatin1String("DOUB"))
             || text.contains(QLatin1String("NUMERIC")) || text.contains(QLatin1String("DECIMAL")) || text.contains(QLatin1String("MONEY")))
        d.type = ColumnType::Float;
    else if (text.contains(QLatin1String("DATE")) || text.contains(QLatin1String("TIME")))
        d.type = ColumnType::DateTime;
    else if (text == QLatin1String("TEXT") || text == QLatin1String("NTEXT") || text == QLatin1String("CLOB"))
        d.type = ColumnType::LongText;
    else if (text.contains(QLatin1String("CHAR")) || text.contains(QLatin1String("TEXT"))) {
        d.type = ColumnType::Text;
        const qsizetype open = text.indexOf(u'(');
        if (open > 0)
            d.length = text.mid(open + 1, text.indexOf(u')') - open - 1).trimmed().toInt();
    }
    return d;
}

ColumnType storageType(int storage)
{
    switch (storage) {
    case SQLITE_INTEGER: return ColumnType::Integer;
    case SQLITE_FLOAT: return ColumnType::Float;
    default: return ColumnType::Text;
    }
}

} // namespace

// velmora_int(x): x as a whole number, or an error for a text that is none.
void strictInteger(sqlite3_context *context, int, sqlite3_value **values)
{
    sqlite3_value *value = values[0];
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_int64(context, sqlite3_value_int64(value));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_int64(context, sqlite3_int64(sqlite3_value_double(value)));
        return;
    default: {
        const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)));
        bool ok = false;
        const qint64 n = text.trimmed().toLongLong(&ok);
        if (ok && n >= INT32_MIN && n <= INT32_MAX) {
            sqlite3_result_int64(context, n);
            return;
        }
        const QByteArray message =
            QStringLiteral("Conversion failed when converting the value '%1' to data type int.").arg(text).toUtf8();
        sqlite3_result_error(context, message.constData(), int(message.size()));
        return;
    }
    }
}

int progressHandler(void *context)
{
    const auto *connection = static_cast<SqliteConnection *>(context);
    return connection->m_deadline && clock().elapsed() > connection->m_deadline ? 1 : 0;
}

SqliteConnection::SqliteConnection(const QString &path, OpenMode mode)
    : m_path(path)
{
    if (mode == OpenMode::Existing && !QFileInfo::exists(path))
        throw DbError(QStringLiteral("Baza podataka ne postoji: %1").arg(path), QString(), QStringLiteral("SQLITE_CANTOPEN"));
    // One thread uses a connection: no locking inside sqlite3.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (mode == OpenMode::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(QStringLiteral("%1: %2").arg(message, path), QString(), QString::number(rc));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_create_function_v2(m_db, "velmora_int", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, strictInteger, nullptr,
                               nullptr, nullptr);
    sqlite3_progress_handler(m_db, 20000, progressHandler, this);
    setTimeout(120);
    // Two connections of one program share the file: readers never wait for the writer.
    executeScript(QStringLiteral("PRAGMA foreign_keys = ON; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"));
}

SqliteConnection::~SqliteConnection()
{
    sqlite3_close_v2(m_db);
}

QString SqliteConnection::databaseName() const
{
    return QFileInfo(m_path).completeBaseName();
}

void SqliteConnection::setTimeout(int seconds)
{
    m_timeoutSeconds = seconds;
    sqlite3_busy_timeout(m_db, seconds * 1000);
}

void SqliteConnection::startClock()
{
    m_deadline = m_timeoutSeconds > 0 ? clock().elapsed() + qint64(m_timeoutSeconds) * 1000 : 0;
}

void SqliteConnection::fail(const QString &sql, int code) const
{
    QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (code == SQLITE_INTERRUPT)
        message = QStringLiteral("Query timeout expired (%1 s): %2").arg(m_timeoutSeconds).arg(message);
    const QString codeText = QString::number(code);
    if (code == SQLITE_CONSTRAINT_FOREIGNKEY && isDeleteStatement(sql))
        throw referencedDeleteError(message, sql, codeText);
    throw DbError(message, sql, codeText);
}

sqlite3_stmt *SqliteConnection::prepare(const QString &sql, const Params &params)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(sql, rc);
    for (int i = 0; i < params.size(); ++i) {
        const QVariant &value = params[i];
        int bound = SQLITE_OK;
        switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
        case QMetaType::UnknownType:
            bound = sqlite3_bind_null(stmt, i + 1);
            break;
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            bound = sqlite3_bind_int64(stmt, i + 1, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            bound = sqlite3_bind_double(stmt, i + 1, value.toDouble());
            break;
        case QMetaType::QDateTime:
            bound = sqlite3_bind_text(stmt, i + 1, isoDateTimeText(toStoredMsecs(value.toDateTime())).toUtf8().constData(), -1,
                                      SQLITE_TRANSIENT);
            break;
        case QMetaType::QDate:
            bound = sqlite3_bind_text(stmt, i + 1, isoDateTimeText(toStoredMsecs(value.toDate().startOfDay())).toUtf8().constData(),
                                      -1, SQLITE_TRANSIENT);
            break;
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            bound = sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        if (bound != SQLITE_OK) {
            sqlite3_finalize(stmt);
            fail(sql, bound);
        }
    }
    return stmt;
}

void SqliteConnection::queryNative(const QString &sql, const Params &params, RowSink &sink)
{
    sqlite3_stmt *stmt = prepare(sql, params);
    struct Finalizer {
        sqlite3_stmt *s;
        ~Finalizer() { sqlite3_finalize(s); }
    } finalizer{stmt};

    startClock();
    const int count = sqlite3_column_count(stmt);
    QList<ColumnInfo> columns(count);
    for (int i = 0; i < count; ++i) {
        ColumnInfo &c = columns[i];
        c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        const DeclaredType declared = declaredType(sqlite3_column_decltype(stmt, i));
        c.type = declared.type;
        c.length = declared.length;
        if (const char *table = sqlite3_column_table_name(stmt, i))
            c.baseTable = QString::fromUtf8(table);
        if (const char *origin = sqlite3_column_origin_name(stmt, i))
            c.baseColumn = QString::fromUtf8(origin);
    }

    int rc = sqlite3_step(stmt);
    // Expressions carry no declared type: the first row's values tell it.
    for (int i = 0; i < count; ++i) {
        if (columns[i].type == ColumnType::Unknown)
            columns[i].type = rc == SQLITE_ROW ? storageType(sqlite3_column_type(stmt, i)) : ColumnType::Text;
    }
    sink.columns(columns);

    std::vector<ColumnType> types(count);
    for (int i = 0; i < count; ++i)
        types[i] = columns[i].type;

    for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
        for (int i = 0; i < count; ++i) {
            const int storage = sqlite3_column_type(stmt, i);
            switch (storage) {
            case SQLITE_NULL:
                sink.nullValue(i);
                break;
            case SQLITE_INTEGER:
                sink.integerValue(i, sqlite3_column_int64(stmt, i));
                break;
            case SQLITE_FLOAT:
                sink.floatValue(i, sqlite3_column_double(stmt, i));
                break;
            default: {
                const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                const std::string_view text(data, size_t(sqlite3_column_bytes(stmt, i)));
                qint64 msecs = 0;
                if (types[i] == ColumnType::DateTime && parseIsoDateTime(text, &msecs))
                    sink.dateTimeValue(i, msecs);
                else
                    sink.textValue(i, text);
                break;
            }
            }
        }
        sink.endRow();
    }
    m_deadline = 0;
    if (rc != SQLITE_DONE)
        fail(sql, rc);
}

qint64 SqliteConnection::executeNative(const QString &sql, const Params &params)
{
    sqlite3_stmt *stmt = prepare(sql, params);
    struct Finalizer {
        sqlite3_stmt *s;
        ~Finalizer() { sqlite3_finalize(s); }
    } finalizer{stmt};
    startClock();
    int rc = sqlite3_step(stmt);
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(stmt);
    m_deadline = 0;
    if (rc != SQLITE_DONE)
        fail(sql, rc); // the message is read while the statement still holds it
    return sqlite3_changes64(m_db);
}

void SqliteConnection::executeScript(const QString &script)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, script.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_free(error);
        throw DbError(message, script, QString::number(sqlite3_extended_errcode(m_db)));
    }
}

QStringList SqliteConnection::tables()
{
    QStringList names;
    for (const QVariantList &row : selectRows(QStringLiteral(
             "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite!_%' ESCAPE '!' ORDER BY name")))
        names << row.value(0).toString();
    return names;
}

QStringList SqliteConnection::loadPrimaryKey(const QString &table)
{
    QList<QPair<int, QString>> keyed;
    for (const QVariantList &row : selectRows(QStringLiteral("SELECT name, pk FROM pragma_table_info(?) WHERE pk > 0"), {table}))
        keyed.append({row.value(1).toInt(), row.value(0).toString()});
    std::sort(keyed.begin(), keyed.end());
    QStringList names;
    for (const auto &k : keyed)
        names << k.second;
    return names;
}

QList<TableColumn> SqliteConnection::loadTableColumns(const QString &table)
{
    QList<TableColumn> columns;
    for (const QVariantList &row :
         selectRows(QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?) ORDER BY cid"), {table})) {
        TableColumn c;
        c.name = row.value(0).toString();
        const DeclaredType declared = declaredType(row.value(1).toString().toUtf8().constData());
        c.type = declared.type;
        c.length = declared.length;
        c.notNull = row.value(2).toInt() != 0 || row.value(4).toInt() > 0;
        c.hasDefault = !row.value(3).isNull();
        c.defaultText = row.value(3).toString();
        columns.append(c);
    }
    return columns;
}

} // namespace velmora::db
