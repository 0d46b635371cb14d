#include "app/Globals.h"
#include "app/TfMain.h"
#include "app/VelmoraApplication.h"
#include "catalogues/TfKatalog.h"
#include "connection/TdmPodaci.h"
#include "connection/TfLogin.h"

int main(int argc, char *argv[])
{
    velmora::VelmoraApplication application(argc, argv);
    velmora::Globals.ProgramFolder = QCoreApplication::applicationDirPath() + u'/';

    velmora::MainWindowServices services;
    services.login = velmora::runLogin;
    services.createDataModules = velmora::createDataModules;
    services.openCatalogues = velmora::openCatalogues;

    auto mainWindow = velmora::createForm<velmora::TfMain>(std::move(services));
    if (!mainWindow->loggedIn())
        return 0;
    // The program ends when the main window closes.
    QObject::connect(mainWindow.get(), &QDialog::finished, &application, &QCoreApplication::quit);
    mainWindow->show();
    const int status = application.exec();
    // The data modules close their datasets and connections as the program ends.
    mainWindow.reset();
    velmora::destroyDataModules();
    velmora::loginConnection.reset();
    return status;
}
