#pragma once

#include "platform/db/Connection.h"

#include <QList>
#include <QObject>

#include <memory>

namespace velmora::data {
class Dataset;
}

namespace velmora {

// The base of the two data modules: a connection of the module's own, opened
// with Globals.ConnectionString when the module is created, and the datasets
// and stored procedures bound to it.
class TcDataModule : public QObject {
    Q_OBJECT
public:
    explicit TcDataModule(QObject *parent = nullptr);
    ~TcDataModule() override;

    // Connects and binds every component; throws DbError, and the module
    // then stays unconnected with its components unbound.
    void create();

    db::Connection *acConnect() const { return m_connection.get(); }
    bool connected() const { return bool(m_connection); }
    // The module's datasets and stored procedures, in component order.
    const QList<data::Dataset *> &components() const { return m_components; }

    static constexpr int kCommandTimeout = 120;

protected:
    // Derived modules create their components through this, in order.
    template <class T, class... Args>
    T *component(Args &&...args)
    {
        T *c = new T(std::forward<Args>(args)..., this);
        m_components.append(c);
        return c;
    }

private:
    std::unique_ptr<db::Connection> m_connection;
    QList<data::Dataset *> m_components;
};

} // namespace velmora
