#include "DbRoutines.h"

#include "app/Globals.h"
#include "connection/TdmPodaci.h"
#include "database/StoredProc.h"
#include "platform/dataset/Dataset.h"
#include "platform/db/Connection.h"

namespace velmora {
namespace {

db::Connection &connection()
{
    if (!Globals.Connection)
        throw db::DbError(QStringLiteral("Veza sa bazom podataka nije otvorena."));
    return *Globals.Connection;
}

// The named column of the first row, NULL without a row.
QVariant firstValue(const QString &sql, const QString &resultColumn)
{
    QList<db::ColumnInfo> columns;
    const QList<QVariantList> rows = connection().selectRows(sql, {}, &columns);
    int index = -1;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(resultColumn, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    }
    if (index < 0)
        throw db::DbError(QStringLiteral("Kolona '%1' ne postoji u rezultatu").arg(resultColumn), sql);
    return rows.isEmpty() ? QVariant() : rows.first().value(index);
}

// Closes a procedure of the shared module on the way out, also on an error.
struct ClosedAfter {
    database::StoredProc *procedure;
    ~ClosedAfter() { procedure->close(); }
};

database::StoredProc *sharedProcedure(database::StoredProc *TdmPodaciZajednicke::*member)
{
    if (!dmPodaciZajednicke || !dmPodaciZajednicke->connected())
        throw db::DbError(QStringLiteral("Zajednički modul podataka nije povezan sa bazom."));
    return dmPodaciZajednicke->*member;
}

} // namespace

int NextKey(const QString &table, const QString &keyColumn, const QString &condition)
{
    QString sql = QStringLiteral("SELECT ISNULL(MAX(CAST(") + keyColumn + QStringLiteral(" AS int))+1, 1) AS maxa ")
                  + QStringLiteral("FROM ") + table + QStringLiteral(" (SERIALIZABLE) ");
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    return firstValue(sql, QStringLiteral("maxa")).toInt();
}

QVariant SelectValue(const QString &resultColumn, const QString &selectList, const QString &table, const QString &condition)
{
    QString sql = QStringLiteral("SELECT ") + selectList;
    if (!table.isEmpty())
        sql += QStringLiteral(" FROM ") + table;
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    return firstValue(sql, resultColumn);
}

bool RowExists(const QString &column, const QString &table, const QString &condition)
{
    QString sql = QStringLiteral("SELECT ") + column + QStringLiteral(" AS Polje ") + QStringLiteral("FROM ") + table;
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    return IfThenVar(!connection().selectRows(sql).isEmpty(), true, false).toBool();
}

QVariant FindValue(const QString &resultColumn, const QString &what, const QString &from, const QString &condition)
{
    database::StoredProc *spNadji = sharedProcedure(&TdmPodaciZajednicke::spNadji);
    spNadji->close();
    const ClosedAfter closed{spNadji};
    spNadji->setParameter(QStringLiteral("@sta"), what.left(100));
    spNadji->setParameter(QStringLiteral("@odakle"), from.left(100));
    spNadji->setParameter(QStringLiteral("@uslov"), condition.left(100));
    spNadji->open();
    return spNadji->fieldByName(resultColumn)->value();
}

bool IsRequiredColumn(const data::Dataset *dataset, const QString &columnName)
{
    for (int c = 0; c < dataset->columnCount(); ++c) {
        const db::ColumnInfo &info = dataset->columnInfo(c);
        if (info.baseColumn.compare(columnName, Qt::CaseInsensitive) != 0)
            continue;
        database::StoredProc *procedure = sharedProcedure(&TdmPodaciZajednicke::spVratiNotNullDefValue);
        procedure->close();
        const ClosedAfter closed{procedure};
        procedure->setParameter(QStringLiteral("@Tabele"), u'\'' + info.baseTable + u'\'');
        procedure->setParameter(QStringLiteral("@column_name"), info.baseColumn);
        procedure->open();
        return !procedure->isEmpty();
    }
    return false;
}

} // namespace velmora
