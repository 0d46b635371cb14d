#include "Procedures.h"

#include "platform/db/Dialect.h"

#include <QRegularExpression>

#include <functional>

namespace velmora::database::procedures {
namespace {

using db::ColumnInfo;
using db::ColumnType;

struct Procedure {
    const char *name;
    QStringList parameters;
    std::function<void(db::Connection &, const QVariantList &, db::RowSink &)> body;
};

ColumnInfo textColumn(const QString &name, int length)
{
    ColumnInfo c;
    c.name = name;
    c.type = ColumnType::Text;
    c.length = length;
    return c;
}

// Emits rows of text values computed in the program.
void emitTextRows(db::RowSink &sink, const QList<ColumnInfo> &columns, const QList<QStringList> &rows)
{
    sink.columns(columns);
    for (const QStringList &row : rows) {
        for (int i = 0; i < row.size(); ++i) {
            const QByteArray utf8 = row[i].toUtf8();
            sink.textValue(i, std::string_view(utf8.constData(), size_t(utf8.size())));
        }
        sink.endRow();
    }
}

QString limited(const QVariant &value, int length)
{
    return value.toString().left(length);
}

void otpusnaLista(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    QStringList visitColumns;
    for (const db::TableColumn &column : connection.tableColumns(QStringLiteral("POSETA"))) {
        const QString name = QStringLiteral("POSETA.") + connection.quoteIdentifier(column.name);
        visitColumns << (column.name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 ? name + QStringLiteral(" AS ID_1") : name);
    }
    const QString sql = QStringLiteral(
        "SELECT PACIJENT.*, %1, GRAD.MESTO AS NazivMesta, "
        "RTRIM(ISNULL(PACIJENT.IME, '') + ' ' + ISNULL(PACIJENT.SREDNJE_IME, '') + ' ' + ISNULL(PACIJENT.PREZIME, '')) AS Naziv, "
        "UPUTNA_DG.DIJAGNOZA, LEKAR.LEKAR "
        "FROM PACIJENT INNER JOIN POSETA ON PACIJENT.ID = POSETA.PACIJENT_FK "
        "LEFT JOIN GRAD ON PACIJENT.MESTO_PREBIVALISTA = GRAD.ID "
        "LEFT JOIN UPUTNA_DG ON POSETA.UPUTNA_DIJAGNOZA = UPUTNA_DG.ID "
        "LEFT JOIN LEKAR ON POSETA.NACELNIK_ODELJENJA = LEKAR.ID "
        "WHERE PACIJENT.ID = ? AND POSETA.ID = ?").arg(visitColumns.join(QStringLiteral(", ")));
    connection.query(sql, {args[0], args[1]}, sink);
}

void labNalazi(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    connection.query(QStringLiteral(
                         "SELECT GRUPA_NALAZA.NAZIV AS NazivGrupeNalaza, GRUPA_NALAZA.ID, CAST(? AS int) AS PacijentID, "
                         "CAST(? AS int) AS PosetaID FROM GRUPA_NALAZA WHERE GRUPA_NALAZA.ID IN "
                         "(SELECT NALAZI.GRUPA_NALAZA_FK FROM NAZIV_NALAZA INNER JOIN NALAZI ON NAZIV_NALAZA.NALAZ = NALAZI.ID "
                         "WHERE NAZIV_NALAZA.PACIJENT_FK = ? AND NAZIV_NALAZA.POSETA_FK = ?) ORDER BY GRUPA_NALAZA.ID"),
                     {args[0], args[1], args[0], args[1]}, sink);
}

void klinikaZaStampu(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    connection.query(QStringLiteral("SELECT KLINIKE.ID, KLINIKE.NAZIV, KLINIKE.NAZIV_INSTITUTA, KLINIKE.NAZIV_KLINIKE, "
                                    "KLINIKE.ADRESA, KLINIKE.TELEFON, GRAD.MESTO AS Grad "
                                    "FROM KLINIKE LEFT JOIN GRAD ON KLINIKE.GRAD = GRAD.ID WHERE KLINIKE.ID = ?"),
                     {args[0]}, sink);
}

void stampaDijagnostika(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    connection.query(QStringLiteral(
                         "SELECT N.PACIJENT_FK, N.POSETA_FK, N.ID, N.DIJAGNOSTIKA, V.PACIJENT_FK AS PACIJENT_FK_1, "
                         "V.POSETA_FK AS POSETA_FK_1, V.DIJAGNOSTIKA_FK, V.ID AS ID_1, V.VREDNOST, V.DATUM, "
                         "D.NAZIV AS NazivDijagnostike "
                         "FROM NAZIV_DIJAGNOSTIKA N INNER JOIN VREDNOST_DIJAGNOSTIKA V ON V.PACIJENT_FK = N.PACIJENT_FK "
                         "AND V.POSETA_FK = N.POSETA_FK AND V.DIJAGNOSTIKA_FK = N.ID "
                         "LEFT JOIN DIJAGNOSTIKA D ON N.DIJAGNOSTIKA = D.ID "
                         "WHERE N.PACIJENT_FK = ? AND N.POSETA_FK = ? ORDER BY N.ID, V.ID"),
                     {args[0], args[1]}, sink);
}

void stampaKonzilijarni(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    // Declared as (@POSETA, @PACIJENT).
    connection.query(QStringLiteral("SELECT N.ID, N.PACIJENT_FK, N.POSETA_FK, N.KONZILIJARNI, K.ID AS ID_1, K.NAZIV "
                                    "FROM NAZIV_KONZILIJARNI N LEFT JOIN KONZILIJARNI K ON N.KONZILIJARNI = K.ID "
                                    "WHERE N.POSETA_FK = ? AND N.PACIJENT_FK = ? ORDER BY N.ID"),
                     {args[0], args[1]}, sink);
}

void stampaPreporuceneTerapije(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    connection.query(QStringLiteral("SELECT T.ID, T.PACIJENT_FK, T.POSETA_FK, T.LEK, T.DOZA, L.NAZIV_LEKA "
                                    "FROM PREPORUCENA_TERAPIJA T LEFT JOIN LEKOVI L ON T.LEK = L.ID "
                                    "WHERE T.PACIJENT_FK = ? AND T.POSETA_FK = ? ORDER BY T.ID"),
                     {args[0], args[1]}, sink);
}

void nadji(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    // The procedure selects what it is told from where it is told: its callers
    // pass program-built column, table and condition texts.
    QString sql = QStringLiteral("SELECT ") + limited(args[0], 100) + QStringLiteral(" FROM ") + limited(args[1], 100);
    const QString condition = limited(args[2], 100);
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    connection.query(sql, {}, sink);
}

void primarniKljucevi(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    QList<QStringList> rows;
    for (const QString &column : connection.primaryKey(limited(args[0], 128)))
        rows.append({column});
    emitTextRows(sink, {textColumn(QStringLiteral("COLUMN_NAME"), 128)}, rows);
}

void koloneSaDefValue(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    QList<QStringList> rows;
    for (const QString &table : tableList(limited(args[0], 1000))) {
        for (const db::TableColumn &column : connection.tableColumns(table)) {
            if (column.hasDefault)
                rows.append({column.name, plainDefault(column.defaultText)});
        }
    }
    emitTextRows(sink, {textColumn(QStringLiteral("COLUMN_NAME"), 128), textColumn(QStringLiteral("COLUMN_DEF"), 4000)}, rows);
}

void notNullDefValue(db::Connection &connection, const QVariantList &args, db::RowSink &sink)
{
    // A column must be filled when it is NOT NULL and has no default to fall back on.
    QList<QStringList> rows;
    const QString wanted = limited(args[1], 384);
    for (const QString &table : tableList(limited(args[0], 1000))) {
        for (const db::TableColumn &column : connection.tableColumns(table)) {
            if (column.notNull && !column.hasDefault && column.name.compare(wanted, Qt::CaseInsensitive) == 0)
                rows.append({table, column.name});
        }
    }
    emitTextRows(sink, {textColumn(QStringLiteral("TABLE_NAME"), 128), textColumn(QStringLiteral("COLUMN_NAME"), 128)}, rows);
}

const QList<Procedure> &all()
{
    static const QList<Procedure> list = {
        {"sp_OtpusnaLista", {"@PacijentID", "@PosetaID"}, otpusnaLista},
        {"sp_LabNalazi", {"@PacijentID", "@PosetaID"}, labNalazi},
        {"sp_KlinikaZaStampu", {"@Id"}, klinikaZaStampu},
        {"sp_StampaDijagnostika", {"@PACIJENT", "@POSETA"}, stampaDijagnostika},
        {"sp_StampaKonzilijarni", {"@POSETA", "@PACIJENT"}, stampaKonzilijarni},
        {"sp_StampaPreporuceneTerapije", {"@PACIJENT", "@POSETA"}, stampaPreporuceneTerapije},
        {"sp_Nadji", {"@sta", "@odakle", "@uslov"}, nadji},
        {"sp_PrimarniKljucevi", {"@table_name", "@table_owner", "@table_qualifier"}, primarniKljucevi},
        {"sp_VratiKoloneSaDefValue", {"@Tabele"}, koloneSaDefValue},
        {"sp_VratiNotNullDefValue", {"@Tabele", "@column_name"}, notNullDefValue},
    };
    return list;
}

const Procedure *find(const QString &name)
{
    const QString plain = name.section(u';', 0, 0).trimmed();
    for (const Procedure &p : all()) {
        if (plain.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

const Procedure &require(const QString &name)
{
    if (const Procedure *p = find(name))
        return *p;
    throw db::DbError(QStringLiteral("Could not find stored procedure '%1'.").arg(name));
}

QString bareName(const QString &name)
{
    return name.startsWith(u'@') ? name.mid(1) : name;
}

} // namespace

bool exists(const QString &procedure)
{
    return find(procedure) != nullptr;
}

QStringList parameters(const QString &procedure)
{
    return require(procedure).parameters;
}

void run(db::Connection &connection, const QString &procedure, const Arguments &arguments, db::RowSink &sink)
{
    const Procedure &p = require(procedure);
    QVariantList values;
    for (const QString &parameter : p.parameters) {
        QVariant value;
        for (auto it = arguments.constBegin(); it != arguments.constEnd(); ++it) {
            if (bareName(it.key()).compare(bareName(parameter), Qt::CaseInsensitive) == 0) {
                value = it.value();
                break;
            }
        }
        values.append(value);
    }
    p.body(connection, values, sink);
}

QStringList tableList(const QString &text)
{
    QStringList tables;
    for (const db::dialect::Token &t : db::dialect::tokenize(text)) {
        const QString part = text.mid(t.begin, t.length);
        if (t.kind == db::dialect::TokenKind::String || t.kind == db::dialect::TokenKind::NString) {
            const QString literal = t.kind == db::dialect::TokenKind::NString ? part.mid(1) : part;
            tables << literal.mid(1, literal.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        } else if (t.kind == db::dialect::TokenKind::Word) {
            tables << part;
        }
    }
    return tables;
}

QString plainDefault(const QString &defaultText)
{
    QString text = defaultText.trimmed();
    // PostgreSQL reports 'negira'::text and (0)::smallint; the constant is what counts.
    static const QRegularExpression cast(QStringLiteral("^(.*?)::[A-Za-z_ ]+(\\(\\d+\\))?$"));
    for (QRegularExpressionMatch m = cast.match(text); m.hasMatch() && !text.endsWith(u'\''); m = cast.match(text))
        text = m.captured(1).trimmed();
    return text;
}

} // namespace velmora::database::procedures
