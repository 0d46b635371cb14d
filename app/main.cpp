#include "app/Globals.h"
#include "app/TfMain.h"
#include "app/VelmoraApplication.h"
#include "connection/LoginStep.h"

int main(int argc, char *argv[])
{
    velmora::VelmoraApplication application(argc, argv);
    velmora::Globals.ProgramFolder = QCoreApplication::applicationDirPath() + u'/';

    velmora::MainWindowServices services;
    services.login = velmora::runLogin;

    auto mainWindow = velmora::createForm<velmora::TfMain>(std::move(services));
    if (!mainWindow->loggedIn())
        return 0;
    // The program ends when the main window closes.
    QObject::connect(mainWindow.get(), &QDialog::finished, &application, &QCoreApplication::quit);
    mainWindow->show();
    return application.exec();
}
