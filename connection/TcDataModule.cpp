#include "TcDataModule.h"

#include "app/Globals.h"
#include "platform/dataset/Dataset.h"
#include "platform/db/ConnectionString.h"

namespace velmora {

TcDataModule::TcDataModule(QObject *parent)
    : QObject(parent)
{
}

TcDataModule::~TcDataModule()
{
    for (data::Dataset *component : std::as_const(m_components)) {
        component->close();
        component->setConnection(nullptr);
    }
    if (Globals.Connection == m_connection.get())
        Globals.Connection = nullptr;
}

void TcDataModule::create()
{
    m_connection.reset();
    auto connection = db::openConnection(Globals.ConnectionString, Globals.ProgramFolder + QStringLiteral("Baze/"));
    connection->setTimeout(kCommandTimeout);
    m_connection = std::move(connection);
    Globals.Connection = m_connection.get();
    for (data::Dataset *component : std::as_const(m_components)) {
        component->close();
        component->setConnection(m_connection.get());
    }
}

} // namespace velmora
