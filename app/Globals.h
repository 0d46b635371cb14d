#pragma once

#include <QString>
#include <QVariant>

namespace velmora::db {
class Connection;
}

namespace velmora {

// Values that live for the whole run: set at start-up and at login, read
// everywhere. The program has one thread, so nothing guards them.
struct GlobalState {
    QString ProgramFolder;          // the executable's folder, with a trailing "/"
    int ProgramNumber = 6;
    QString ConnectionString;
    // The shared open connection: the login's, then each data module's as it
    // connects; the shared module's is the one that stays. Not owned here.
    db::Connection *Connection = nullptr;
    QString ServerName;
    QString DatabaseName;
    QString UserName;
    int ClinicId = 0;
    bool ClinicIsOutpatient = false;
    QString ArchiverPath;
    QString AdminConnectionString;
    QString PosloviValue;
    QVariant LastKey;               // an invalid QVariant is NULL
};

inline GlobalState Globals;

} // namespace velmora
