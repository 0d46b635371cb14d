#include "PgConnection.h"

#include "DateText.h"
#include "Dialect.h"

#include <charconv>
#include <libpq-fe.h>

namespace velmora::db {
namespace {

// Type OIDs of the built-in types the program meets.
enum : Oid {
    kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25, kOid = 26, kFloat4 = 700, kFloat8 = 701,
    kBpchar = 1042, kVarchar = 1043, kDate = 1082, kTimestamp = 1114, kTimestampTz = 1184, kNumeric = 1700,
};

ColumnType typeOf(Oid oid)
{
    switch (oid) {
    case kInt2: return ColumnType::SmallInt;
    case kInt4: case kInt8: case kOid: return ColumnType::Integer;
    case kBool: return ColumnType::Boolean;
    case kFloat4: case kFloat8: case kNumeric: return ColumnType::Float;
    case kDate: case kTimestamp: case kTimestampTz: return ColumnType::DateTime;
    case kText: return ColumnType::LongText;
    default: return ColumnType::Text;
    }
}

ColumnType typeOfName(const QString &name)
{
    if (name == QLatin1String("int2")) return ColumnType::SmallInt;
    if (name == QLatin1String("int4") || name == QLatin1String("int8")) return ColumnType::Integer;
    if (name == QLatin1String("bool")) return ColumnType::Boolean;
    if (name.startsWith(QLatin1String("float")) || name == QLatin1String("numeric")) return ColumnType::Float;
    if (name.startsWith(QLatin1String("timestamp")) || name == QLatin1String("date")) return ColumnType::DateTime;
    if (name == QLatin1String("text")) return ColumnType::LongText;
    return ColumnType::Text;
}

struct Result {
    PGresult *r;
    explicit Result(PGresult *result) : r(result) {}
    ~Result() { PQclear(r); }
    Result(const Result &) = delete;
    Result &operator=(const Result &) = delete;
};

// Text-format values of the parameters, kept alive for the call.
struct ParamTexts {
    QList<QByteArray> storage;
    std::vector<const char *> values;

    explicit ParamTexts(const Params &params)
    {
        storage.reserve(params.size());
        for (const QVariant &v : params) {
            if (v.isNull()) {
                storage.append(QByteArray());
                continue;
            }
            switch (v.typeId()) {
            case QMetaType::Bool:
                storage.append(v.toBool() ? "1" : "0");
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                storage.append(QByteArray::number(v.toDouble(), 'g', 17));
                break;
            case QMetaType::QDateTime:
                storage.append(isoDateTimeText(toStoredMsecs(v.toDateTime())).toUtf8());
                break;
            case QMetaType::QDate:
                storage.append(isoDateTimeText(toStoredMsecs(v.toDate().startOfDay())).toUtf8());
                break;
            default:
                storage.append(v.toString().toUtf8());
                break;
            }
        }
        for (qsizetype i = 0; i < params.size(); ++i)
            values.push_back(params[i].isNull() ? nullptr : storage[i].constData());
    }
};

void drain(PGconn *conn)
{
    while (PGresult *r = PQgetResult(conn))
        PQclear(r);
}

} // namespace

PgConnection::PgConnection(const QString &conninfo)
{
    m_conn = PQconnectdb(conninfo.toUtf8().constData());
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString message = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        PQfinish(m_conn);
        m_conn = nullptr;
        throw DbError(message, QString(), QStringLiteral("08001"));
    }
    executeScript(QStringLiteral("SET client_encoding = 'UTF8'; SET DateStyle = 'ISO, YMD'; SET client_min_messages = warning"));
    setTimeout(120);
}

PgConnection::~PgConnection()
{
    PQfinish(m_conn);
}

QString PgConnection::databaseName() const
{
    return QString::fromUtf8(PQdb(m_conn));
}

QString PgConnection::userName() const
{
    return QString::fromUtf8(PQuser(m_conn));
}

void PgConnection::setTimeout(int seconds)
{
    executeScript(QStringLiteral("SET statement_timeout = %1").arg(qint64(seconds) * 1000));
}

void PgConnection::fail(PGresult *result, const QString &sql) const
{
    QString message;
    QString code;
    if (result) {
        message = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
        const char *detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL);
        if (detail)
            message += QStringLiteral(" (") + QString::fromUtf8(detail) + u')';
        code = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
    }
    if (message.isEmpty())
        message = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
    if (code == QLatin1String("23503") && isDeleteStatement(sql))
        throw referencedDeleteError(message, sql, code);
    throw DbError(message, sql, code);
}

void PgConnection::executeScript(const QString &script)
{
    const Result result(PQexec(m_conn, script.toUtf8().constData()));
    const ExecStatusType status = PQresultStatus(result.r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(result.r, script);
}

qint64 PgConnection::executeNative(const QString &sql, const Params &params)
{
    const ParamTexts texts(params);
    const QByteArray statement = sql.toUtf8();
    const Result result(PQexecParams(m_conn, statement.constData(), int(params.size()), nullptr, texts.values.data(),
                                     nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(result.r, sql);
    const char *tuples = PQcmdTuples(result.r);
    return tuples && *tuples ? QByteArray(tuples).toLongLong() : 0;
}

QList<QVariantList> PgConnection::selectNative(const QString &sql, const Params &params)
{
    VariantRows rows;
    queryNative(sql, params, rows);
    return rows.rows;
}

void PgConnection::resolveBaseNames(const QList<unsigned> &tables)
{
    QStringList oids;
    for (const unsigned oid : tables)
        oids << QString::number(oid);
    const QString sql = QStringLiteral(
        "SELECT c.oid::int8, c.relname::text, a.attnum::int4, a.attname::text FROM pg_class c "
        "JOIN pg_attribute a ON a.attrelid = c.oid WHERE c.oid = ANY(string_to_array($1, ',')::oid[]) AND a.attnum > 0");
    const ParamTexts texts({oids.join(u',')});
    const Result result(PQexecParams(m_conn, sql.toUtf8().constData(), 1, nullptr, texts.values.data(), nullptr, nullptr, 0));
    if (PQresultStatus(result.r) != PGRES_TUPLES_OK)
        fail(result.r, sql);
    for (int row = 0; row < PQntuples(result.r); ++row) {
        const unsigned oid = QByteArray(PQgetvalue(result.r, row, 0)).toUInt();
        m_tableNames.insert(oid, QString::fromUtf8(PQgetvalue(result.r, row, 1)));
        m_columnNames.insert({oid, QByteArray(PQgetvalue(result.r, row, 2)).toInt()}, QString::fromUtf8(PQgetvalue(result.r, row, 3)));
    }
    for (const unsigned oid : tables)
        m_tableNames.insert(oid, m_tableNames.value(oid)); // remember misses too
}

void PgConnection::queryNative(const QString &sql, const Params &params, RowSink &sink)
{
    const QByteArray statement = sql.toUtf8();
    const auto prepare = [&] {
        const Result prepared(PQprepare(m_conn, "", statement.constData(), int(params.size()), nullptr));
        if (PQresultStatus(prepared.r) != PGRES_COMMAND_OK)
            fail(prepared.r, sql);
    };
    prepare();
    const Result described(PQdescribePrepared(m_conn, ""));
    if (PQresultStatus(described.r) != PGRES_COMMAND_OK)
        fail(described.r, sql);

    const int count = PQnfields(described.r);
    QList<unsigned> unknownTables;
    for (int i = 0; i < count; ++i) {
        const Oid table = PQftable(described.r, i);
        if (table != InvalidOid && !m_tableNames.contains(table) && !unknownTables.contains(table))
            unknownTables.append(table);
    }
    if (!unknownTables.isEmpty()) {
        resolveBaseNames(unknownTables);
        prepare(); // the catalogue query took the unnamed statement's place
    }

    QList<ColumnInfo> columns(count);
    std::vector<Oid> types(count);
    for (int i = 0; i < count; ++i) {
        ColumnInfo &c = columns[i];
        c.name = QString::fromUtf8(PQfname(described.r, i));
        types[i] = PQftype(described.r, i);
        c.type = typeOf(types[i]);
        const int mod = PQfmod(described.r, i);
        if ((types[i] == kVarchar || types[i] == kBpchar) && mod >= 4)
            c.length = mod - 4;
        const Oid table = PQftable(described.r, i);
        if (table != InvalidOid) {
            c.baseTable = m_tableNames.value(table);
            c.baseColumn = m_columnNames.value({table, PQftablecol(described.r, i)});
        }
    }

    const ParamTexts texts(params);
    if (!PQsendQueryPrepared(m_conn, "", int(params.size()), texts.values.data(), nullptr, nullptr, 0))
        fail(nullptr, sql);
    PQsetSingleRowMode(m_conn);
    sink.columns(columns);

    try {
        while (PGresult *raw = PQgetResult(m_conn)) {
            const Result result(raw);
            const ExecStatusType status = PQresultStatus(raw);
            if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK)
                continue;
            if (status != PGRES_SINGLE_TUPLE) {
                drain(m_conn);
                fail(raw, sql);
            }
            for (int i = 0; i < count; ++i) {
                if (PQgetisnull(raw, 0, i)) {
                    sink.nullValue(i);
                    continue;
                }
                const char *value = PQgetvalue(raw, 0, i);
                const std::string_view text(value, size_t(PQgetlength(raw, 0, i)));
                switch (types[i]) {
                case kInt2: case kInt4: case kInt8: case kOid: {
                    qint64 n = 0;
                    std::from_chars(text.data(), text.data() + text.size(), n);
                    sink.integerValue(i, n);
                    break;
                }
                case kBool:
                    sink.integerValue(i, text == "t" ? 1 : 0);
                    break;
                case kFloat4: case kFloat8: case kNumeric: {
                    double d = 0;
                    std::from_chars(text.data(), text.data() + text.size(), d);
                    sink.floatValue(i, d);
                    break;
                }
                case kDate: case kTimestamp: case kTimestampTz: {
                    qint64 msecs = 0;
                    if (parseIsoDateTime(text, &msecs))
                        sink.dateTimeValue(i, msecs);
                    else
                        sink.textValue(i, text);
                    break;
                }
                default:
                    sink.textValue(i, text);
                    break;
                }
            }
            sink.endRow();
        }
    } catch (...) {
        drain(m_conn);
        throw;
    }
}

QStringList PgConnection::tables()
{
    QStringList names;
    for (const QVariantList &row : selectNative(QStringLiteral(
             "SELECT tablename::text FROM pg_tables WHERE schemaname = current_schema() ORDER BY tablename")))
        names << row.value(0).toString();
    return names;
}

QString PgConnection::regclassText(const QString &table) const
{
    return dialect::quoteIdentifier(table, Backend::PostgreSQL);
}

QStringList PgConnection::loadPrimaryKey(const QString &table)
{
    QStringList names;
    for (const QVariantList &row : selectNative(QStringLiteral(
             "SELECT a.attname::text FROM pg_index i JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey) "
             "WHERE i.indrelid = to_regclass($1) AND i.indisprimary ORDER BY array_position(i.indkey::int2[], a.attnum)"),
                                                {regclassText(table)}))
        names << row.value(0).toString();
    return names;
}

QList<TableColumn> PgConnection::loadTableColumns(const QString &table)
{
    QList<TableColumn> columns;
    const QString sql = QStringLiteral(
        "SELECT a.attname::text, t.typname::text, a.attnotnull, pg_get_expr(d.adbin, d.adrelid), a.atttypmod "
        "FROM pg_attribute a JOIN pg_type t ON t.oid = a.atttypid "
        "LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
        "WHERE a.attrelid = to_regclass($1) AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum");
    for (const QVariantList &row : selectNative(sql, {regclassText(table)})) {
        TableColumn c;
        c.name = row.value(0).toString();
        const QString type = row.value(1).toString();
        c.type = typeOfName(type);
        c.notNull = row.value(2).toLongLong() != 0;
        c.hasDefault = !row.value(3).isNull();
        c.defaultText = row.value(3).toString();
        const int mod = row.value(4).toInt();
        if ((type == QLatin1String("varchar") || type == QLatin1String("bpchar")) && mod >= 4)
            c.length = mod - 4;
        columns.append(c);
    }
    return columns;
}

} // namespace velmora::db
