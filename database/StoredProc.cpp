#include "StoredProc.h"

#include "platform/dataset/DatasetError.h"

namespace velmora::database {

StoredProc::StoredProc(const QString &name, const QString &procedureName, QObject *parent)
    : data::Dataset(name, parent)
    , m_procedure(procedureName)
{
    procedures::parameters(procedureName); // an unknown procedure fails here, at creation
}

void StoredProc::setParameter(const QString &name, const QVariant &value)
{
    m_arguments.insert(name.startsWith(u'@') ? name.toLower() : u'@' + name.toLower(), value);
}

QVariant StoredProc::parameter(const QString &name) const
{
    return m_arguments.value(name.startsWith(u'@') ? name.toLower() : u'@' + name.toLower());
}

void StoredProc::fetch(db::RowSink &sink)
{
    if (!connection())
        throw data::DatasetError(QStringLiteral("%1: nema veze sa bazom podataka").arg(objectName()));
    procedures::run(*connection(), m_procedure, m_arguments, sink);
}

} // namespace velmora::database
