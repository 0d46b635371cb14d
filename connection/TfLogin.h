#pragma once

#include "app/TcMain.h"
#include "platform/office/IniFile.h"

#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

namespace db {
class Connection;
}

// The login: the user's name and password (and, behind a hidden gesture, the
// clinic, database and server), one attempt per "U redu", and on success the
// process-wide state every other window reads.
class TfLogin : public TcMain {
    Q_OBJECT
public:
    explicit TfLogin(QWidget *parent = nullptr);
    ~TfLogin() override;

    // The set-up: stored settings, or the first-run set-up.
    void FormCreate() override;
    void FormShow() override;

    // The first-run set-up was cancelled: the program ends without a login window.
    bool endsProgram() const { return m_endsProgram; }

    // One login attempt ("U redu"): true when it succeeded and the window closed.
    bool aOKExecute();
    // Shows or hides the server panel (Ctrl+Shift and the right button on "U redu").
    void toggleServerPanel();
    bool serverPanelShown() const;

    // Entering a field of the server panel fills its list.
    void cbServerEnter();
    void cbBazaEnter();
    void cbKlinikaEnter();

    const QString &loginServer() const { return m_loginServer; }
    const QString &loginMode() const { return m_loginMode; }

    QLabel *imgLogo = nullptr;
    QLabel *lblLink = nullptr;
    QLineEdit *edName = nullptr;
    QLineEdit *mskPassword = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnClose = nullptr;
    QGroupBox *pnlServer = nullptr;
    QComboBox *cbKlinika = nullptr;
    QComboBox *cbBaza = nullptr;
    QComboBox *cbServer = nullptr;
    QAction *aOK = nullptr;
    QAction *aClose = nullptr;

    static constexpr int kWidth = 256;
    static constexpr int kHeight = 242;
    static constexpr int kHeightWithServer = 347;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool sqlAttempt(const QString &user, const QString &password, const QString &database, QString *connectionString);
    bool windowsAttempt(const QString &database, QString *connectionString);
    bool offerNewDatabase(const QString &database, const QString &user, const QString &password);
    bool offerSchema(const QString &database);
    bool askClinic(db::Connection &connection);
    bool resolveClinic(const QString &typed, const QString &database);
    void finish(const QString &user, const QString &database);
    void warn(const QString &text);

    office::IniFile m_settings;
    office::IniFile m_version;
    QString m_loginServer;
    QString m_loginMode;
    QString m_clinic;
    bool m_endsProgram = false;
    std::unique_ptr<db::Connection> m_connection;
};

// The connection a successful login opened; Globals.Connection points at it
// until the data modules connect.
inline std::unique_ptr<db::Connection> loginConnection;

// Step 6 of the start-up: the login, modal; false ends the program.
bool runLogin(QWidget *mainWindow);

} // namespace velmora
