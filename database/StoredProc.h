#pragma once

#include "Procedures.h"
#include "platform/dataset/Dataset.h"

namespace velmora::database {

// A stored procedure as a dataset: set its parameters, open it, read its rows.
class StoredProc : public data::Dataset {
    Q_OBJECT
public:
    // The procedure's name as the program calls it ("sp_Nadji;1").
    StoredProc(const QString &name, const QString &procedureName, QObject *parent = nullptr);

    const QString &procedureName() const { return m_procedure; }
    QStringList parameterNames() const { return procedures::parameters(m_procedure); }
    void setParameter(const QString &name, const QVariant &value);
    QVariant parameter(const QString &name) const;
    void clearParameters() { m_arguments.clear(); }

protected:
    void fetch(db::RowSink &sink) override;

private:
    QString m_procedure;
    procedures::Arguments m_arguments;
};

} // namespace velmora::database
