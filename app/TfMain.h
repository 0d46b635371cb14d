#pragma once

#include "TcSubMain.h"

#include <functional>

class QMenuBar;
class QPushButton;

namespace velmora {

// What the main window starts and opens lives in the layers above the shell;
// the program entry hands it over, so the shell links none of them.
struct MainWindowServices {
    // Step 6: the login, modal; false when it did not end with success.
    std::function<bool(QWidget *mainWindow)> login;
    // Step 8: the clinical, then the shared data module, each connecting.
    std::function<void()> createDataModules;
    std::function<void(QWidget *mainWindow)> openCatalogues;   // "Katalozi"
    std::function<void(QWidget *mainWindow)> openPatients;     // "Unos pacijenata i poseta"
    std::function<void(QWidget *mainWindow)> runBackup;        // "Backup [F9]"
};

// The main window, the only modeless one: two large buttons and one menu
// command. Its creation runs the program's start-up.
class TfMain : public TcSubMain {
    Q_OBJECT
public:
    explicit TfMain(MainWindowServices services, QWidget *parent = nullptr);

    void FormCreate() override;
    void FormShow() override;
    bool FormCloseQuery() override;

    // The login ended with success, so the window may be shown.
    bool loggedIn() const { return m_loggedIn; }

    QPushButton *btnKatalozi = nullptr;
    QPushButton *btnPacijent = nullptr;
    QMenuBar *mmMain = nullptr;
    QAction *aBackup = nullptr;
    QAction *aPacijent = nullptr;
    QAction *aKatalozi = nullptr;

private:
    void aBackupExecute();
    void aPacijentExecute();
    void aKataloziExecute();

    MainWindowServices m_services;
    bool m_loggedIn = false;
};

} // namespace velmora
