#include "TfMain.h"

#include "ErrorHandler.h"
#include "Globals.h"
#include "HelpViewer.h"
#include "KeypadFilter.h"
#include "StartupHook.h"
#include "YUDlg.h"
#include "platform/core/Formatting.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

QPushButton *largeButton(QAction *action, QWidget *parent)
{
    auto *button = new QPushButton(action->text(), parent);
    button->setObjectName(action->objectName().replace(0, 1, QStringLiteral("btn")));
    QFont font = TcMain::programFont();
    font.setPixelSize(21);
    font.setBold(true);
    button->setFont(font);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setAutoDefault(false);
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

} // namespace

TfMain::TfMain(MainWindowServices services, QWidget *parent)
    : TcSubMain(parent)
    , m_services(std::move(services))
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QApplication::applicationName());
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(600, 380);

    aBackup = new QAction(QStringLiteral("Backup [F9]"), this);
    aBackup->setObjectName(QStringLiteral("aBackup"));
    aBackup->setShortcut(Qt::Key_F9);
    aBackup->setEnabled(bool(m_services.runBackup));
    connect(aBackup, &QAction::triggered, this, &TfMain::aBackupExecute);
    addAction(aBackup);

    aPacijent = new QAction(QStringLiteral("Unos pacijenata i poseta"), this);
    aPacijent->setObjectName(QStringLiteral("aPacijent"));
    aPacijent->setEnabled(bool(m_services.openPatients));
    connect(aPacijent, &QAction::triggered, this, &TfMain::aPacijentExecute);

    aKatalozi = new QAction(QStringLiteral("Katalozi"), this);
    aKatalozi->setObjectName(QStringLiteral("aKatalozi"));
    aKatalozi->setEnabled(bool(m_services.openCatalogues));
    connect(aKatalozi, &QAction::triggered, this, &TfMain::aKataloziExecute);

    // Help is not offered in the main window.
    aHelp->setShortcut(QKeySequence());

    mmMain = new QMenuBar(this);
    mmMain->setObjectName(QStringLiteral("mmMain"));
    mmMain->addAction(aBackup);
    layout()->setMenuBar(mmMain);

    auto *group = new QWidget(this);
    group->setObjectName(QStringLiteral("fcButtonGroup"));
    group->setStyleSheet(QStringLiteral(
        "QPushButton { border: 2px solid #6d7f99; border-radius: 14px; color: #1f2d44;"
        "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f9fc, stop:1 #d6dfeb); }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e3ebf5); }"
        "QPushButton:pressed { background: #c5d2e3; }"
        "QPushButton:focus { border: 3px solid #2f5fa8; }"
        "QPushButton:disabled { color: #8a94a3; }"));
    auto *buttons = new QVBoxLayout(group);
    buttons->setContentsMargins(8, 8, 8, 8);
    buttons->setSpacing(8);
    // The lower button comes first in the tab order.
    btnPacijent = largeButton(aPacijent, group);
    btnKatalozi = largeButton(aKatalozi, group);
    buttons->addWidget(btnKatalozi, 1);
    buttons->addWidget(btnPacijent, 1);
    clientLayout()->addWidget(group);
}

void TfMain::FormCreate()
{
    // 1. the common creation
    TcSubMain::FormCreate();
    // 2. the start-up hook
    runStartupHook(QDir::currentPath());
    // 3.
    Globals.ProgramNumber = 6;
    // 4. the process-wide number and date formats
    format::applyProgramSettings();
    // 5. the error handler lives in the application object; the keypad filter here
    static KeypadFilter *keypadFilter = nullptr;
    if (!keypadFilter) {
        keypadFilter = new KeypadFilter(qApp);
        qApp->installEventFilter(keypadFilter);
    }
    // 6. and 7. the login, which destroys its own windows
    m_loggedIn = m_services.login ? m_services.login(this) : true;
    if (!m_loggedIn)
        return;
    // 8. the data modules
    if (m_services.createDataModules)
        m_services.createDataModules();
    // 9.
    setWindowTitle(QApplication::applicationName());
    // 10.
    setPanelText(0, QStringLiteral(" Server: ") + Globals.ServerName);
    setPanelText(1, QStringLiteral(" Baza podataka: ") + Globals.DatabaseName);
    setPanelText(2, QStringLiteral(" Korisnik: ") + Globals.UserName);
    // 11.
    HelpViewer::setHelpFolder(Globals.ProgramFolder + QStringLiteral("Help/"));
}

void TfMain::FormShow()
{
    TcSubMain::FormShow();
    btnKatalozi->setFocus();
}

bool TfMain::FormCloseQuery()
{
    if (MessageDialog(QStringLiteral("Želite li da izadjete iz programa ?"), mtWarning, mbYes | mbNo) == mrNo)
        return false;
    format::restoreUserDateFormat();
    return true;
}

void TfMain::aBackupExecute()
{
    if (m_services.runBackup)
        m_services.runBackup(this);
}

void TfMain::aPacijentExecute()
{
    if (m_services.openPatients)
        m_services.openPatients(this);
}

void TfMain::aKataloziExecute()
{
    if (m_services.openCatalogues)
        m_services.openCatalogues(this);
}

} // namespace velmora
