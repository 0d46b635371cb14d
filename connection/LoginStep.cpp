#include "LoginStep.h"

#include "TfPitanjce.h"
#include "app/Globalini.h"
#include "app/Globals.h"
#include "platform/office/IniFile.h"

namespace velmora {

// What the login does at its creation: the stored administrator connection,
// or the first-run set-up when none is stored. The login window itself and
// the connection to the database come in here next.
bool runLogin(QWidget *mainWindow)
{
    const office::IniFile settings(Globalini::executableSettingsPath());
    const QString section = QStringLiteral("SQL_SERVER");
    if (settings.exists())
        Globals.AdminConnectionString = Globalini::UnscrambleText(settings.readString(section, QStringLiteral("conSA"), QString()));

    if (!Globals.AdminConnectionString.isEmpty()) {
        Globals.ServerName = settings.readString(section, QStringLiteral("SERVER"), QString());
        Globals.DatabaseName = settings.readString(section, QStringLiteral("BAZA"), QString());
        Globals.UserName = settings.readString(section, QStringLiteral("KORISNIK"), QString());
        return true;
    }

    TfPitanjce setUp(mainWindow);
    setUp.exec();
    if (setUp.endsProgram())
        return false;
    Globals.ServerName = setUp.serverName();
    Globals.AdminConnectionString =
        settings.hasKey(section, QStringLiteral("conSA"))
            ? Globalini::UnscrambleText(settings.readString(section, QStringLiteral("conSA"), QString()))
            : QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Initial Catalog=master;Data Source=")
                  + Globals.ServerName;
    return true;
}

} // namespace velmora
