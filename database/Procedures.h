#pragma once

#include "platform/db/Connection.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace velmora::database {

// The database's stored procedures, implemented once over portable queries
// and the driver's catalogue, with the names, parameters and result columns
// the program calls them by. A name may carry the ";1" version suffix.
namespace procedures {

// Parameter names in declared order ("@sta", ...); throws DbError for an unknown procedure.
QStringList parameters(const QString &procedure);
bool exists(const QString &procedure);

// Parameters by name, with or without "@", in any case; missing ones are NULL.
using Arguments = QMap<QString, QVariant>;
void run(db::Connection &connection, const QString &procedure, const Arguments &arguments, db::RowSink &sink);

// The tables of a table list: 'POSETA','PACIJENT'.
QStringList tableList(const QString &text);
// A column default as the program expects it: the constant alone, without the
// type cast a server adds ("'negira'::text" gives "'negira'").
QString plainDefault(const QString &defaultText);

} // namespace procedures
} // namespace velmora::database
