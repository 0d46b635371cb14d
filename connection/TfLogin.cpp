#include "TfLogin.h"

#include "LoginConnections.h"
#include "TfNovaKlinika.h"
#include "TfPitanjce.h"
#include "app/ErrorHandler.h"
#include "app/Globalini.h"
#include "app/Globals.h"
#include "app/HelpViewer.h"
#include "app/YUDlg.h"
#include "database/Schema.h"
#include "database/Users.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Dialect.h"
#include "platform/db/SqliteConnection.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace velmora {
namespace {

const QString kSqlServer = QStringLiteral("SQL_SERVER");

// Shows the hourglass until the scope ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

QLabel *label(const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

} // namespace

TfLogin::TfLogin(QWidget *parent)
    : TcMain(parent)
    , m_settings(Globalini::executableSettingsPath())
    , m_version(Globalini::versionFilePath())
{
    setObjectName(QStringLiteral("fLogin"));
    setWindowTitle(QApplication::applicationName());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setPlacement(Placement::DesktopCentre);
    setFixedSize(kWidth, kHeight);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(0, 0, kWidth, 92);
    imgLogo->setAlignment(Qt::AlignCenter);

    lblLink = new QLabel(QStringLiteral("<a href=\"help\" style=\"color:#ffffff\">O programu</a>"), this);
    lblLink->setObjectName(QStringLiteral("lblLink"));
    lblLink->setGeometry(4, 2, 90, 16);
    connect(lblLink, &QLabel::linkActivated, this, [] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(HelpViewer::topicPath(QStringLiteral("Dobro"))));
    });

    auto *user = new QGroupBox(QStringLiteral("Korisnik"), this);
    user->setObjectName(QStringLiteral("gbKorisnik"));
    user->setGeometry(6, 96, kWidth - 12, 138);
    label(QStringLiteral("Korisničko ime:"), user, QRect(10, 24, 96, 20));
    edName = new QLineEdit(user);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setGeometry(106, 22, 124, 24);
    label(QStringLiteral("Lozinka:"), user, QRect(10, 58, 96, 20));
    mskPassword = new QLineEdit(user);
    mskPassword->setObjectName(QStringLiteral("mskPassword"));
    mskPassword->setEchoMode(QLineEdit::Password);
    mskPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
    mskPassword->setGeometry(106, 56, 124, 24);

    aOK = new QAction(QStringLiteral("&U redu"), this);
    aOK->setObjectName(QStringLiteral("aOK"));
    connect(aOK, &QAction::triggered, this, [this] { aOKExecute(); });
    aClose = new QAction(QStringLiteral("&Odustani"), this);
    aClose->setObjectName(QStringLiteral("aClose"));
    connect(aClose, &QAction::triggered, this, &QDialog::reject);
    btnOK = new QPushButton(aOK->text(), user);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(14, 96, 100, 28);
    connect(btnOK, &QPushButton::clicked, aOK, &QAction::trigger);
    btnOK->installEventFilter(this);
    btnClose = new QPushButton(aClose->text(), user);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(126, 96, 100, 28);
    btnClose->setAutoDefault(false);
    connect(btnClose, &QPushButton::clicked, aClose, &QAction::trigger);

    pnlServer = new QGroupBox(QStringLiteral("Odabir baze"), this);
    pnlServer->setObjectName(QStringLiteral("pnlServer"));
    pnlServer->setGeometry(6, 238, kWidth - 12, 104);
    const auto combo = [this](const char *name, int top) {
        auto *c = new QComboBox(pnlServer);
        c->setObjectName(QString::fromLatin1(name));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setGeometry(70, top, 160, 24);
        c->installEventFilter(this);
        return c;
    };
    label(QStringLiteral("Klinika:"), pnlServer, QRect(10, 24, 60, 20));
    cbKlinika = combo("cbKlinika", 20);
    label(QStringLiteral("Baza:"), pnlServer, QRect(10, 50, 60, 20));
    cbBaza = combo("cbBaza", 46);
    label(QStringLiteral("Server:"), pnlServer, QRect(10, 76, 60, 20));
    cbServer = combo("cbServer", 72);
    pnlServer->hide();

    setTabOrder(edName, mskPassword);
    setTabOrder(mskPassword, btnOK);
    setTabOrder(btnOK, btnClose);
    setTabOrder(btnClose, cbBaza);
    setTabOrder(cbBaza, cbServer);
    setTabOrder(cbServer, cbKlinika);
    edName->setFocus();
}

TfLogin::~TfLogin() = default;

void TfLogin::FormCreate()
{
    TcMain::FormCreate();
    const QPixmap logo(Globals.ProgramFolder + QStringLiteral("Graphics/logo.bmp"));
    if (logo.isNull())
        imgLogo->setText(QApplication::applicationName()); // the settings are read all the same
    else
        imgLogo->setPixmap(logo.scaled(kWidth, 92, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    if (m_settings.exists())
        Globals.AdminConnectionString = Globalini::UnscrambleText(m_settings.readString(kSqlServer, QStringLiteral("conSA"), QString()));
    if (!Globals.AdminConnectionString.isEmpty()) {
        const auto read = [this](const char *key) { return m_settings.readString(kSqlServer, QString::fromLatin1(key), QString()); };
        edName->setText(read("KORISNIK"));
        m_loginServer = read("SERVER");
        const QString database = read("BAZA");
        m_loginMode = read("LOG");
        Globals.PosloviValue = read("Poslovi");
        m_clinic = read("KLINIKE");
        Globals.ArchiverPath = m_settings.readString(QStringLiteral("WIN_RAR"), QStringLiteral("WinRar"),
                                                     QStringLiteral("C:\\Program Files\\WinRAR\\winrar.exe"));
        cbServer->setEditText(m_loginServer);
        cbBaza->setEditText(database);
        cbKlinika->setEditText(m_clinic);
        if (!edName->text().isEmpty())
            mskPassword->setFocus();
        return;
    }

    TfPitanjce setUp(this);
    setUp.exec();
    if (setUp.endsProgram()) {
        m_endsProgram = true;
        return;
    }
    m_loginServer = setUp.serverName();
    m_loginMode = setUp.loginMode();
    Globals.AdminConnectionString =
        m_settings.hasKey(kSqlServer, QStringLiteral("conSA"))
            ? Globalini::UnscrambleText(m_settings.readString(kSqlServer, QStringLiteral("conSA"), QString()))
            : login::adminDefault(m_loginServer);
    Globals.ArchiverPath.clear();
    // A newcomer on the embedded backend cannot know the hidden panel yet: the
    // database field offers the one database there is, or a new one.
    if (db::ConnectionString::isEmbeddedServer(m_loginServer)) {
        const QStringList databases = login::databaseList(Globals.AdminConnectionString, Globals.ProgramFolder);
        if (databases.size() <= 1)
            cbBaza->setEditText(databases.isEmpty() ? QStringLiteral("Velmora") : databases.first());
    }
}

void TfLogin::FormShow()
{
    TcMain::FormShow();
    setWindowTitle(QApplication::applicationName());
    pnlServer->hide();
    setFixedSize(kWidth, kHeight);
}

bool TfLogin::serverPanelShown() const
{
    return pnlServer->isVisibleTo(this);
}

void TfLogin::toggleServerPanel()
{
    const bool show = !serverPanelShown();
    pnlServer->setVisible(show);
    setFixedSize(kWidth, show ? kHeightWithServer : kHeight);
}

bool TfLogin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == btnOK && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton
            && (mouse->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) == (Qt::ControlModifier | Qt::ShiftModifier)) {
            toggleServerPanel();
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn) {
        try {
            if (watched == cbServer)
                cbServerEnter();
            else if (watched == cbBaza)
                cbBazaEnter();
            else if (watched == cbKlinika)
                cbKlinikaEnter();
        } catch (const std::exception &error) {
            reportError(error, watched);
        }
    }
    return TcMain::eventFilter(watched, event);
}

void TfLogin::cbServerEnter()
{
    const QString text = cbServer->currentText();
    cbServer->clear();
    const WaitCursor wait;
    cbServer->addItems(login::serverList(Globals.AdminConnectionString));
    cbServer->setEditText(text);
}

void TfLogin::cbBazaEnter()
{
    const QString text = cbBaza->currentText();
    cbBaza->clear();
    cbBaza->setEditText(text);
    if (cbServer->currentText().trimmed().isEmpty())
        return;
    const WaitCursor wait;
    // A server typed into the field is the one asked; otherwise the administrator's.
    QString admin = Globals.AdminConnectionString;
    const QString server = cbServer->currentText().trimmed();
    if (db::ConnectionString::parse(admin).value(QStringLiteral("Data Source")).trimmed() != server)
        admin = login::adminDefault(server);
    cbBaza->addItems(login::databaseList(admin, Globals.ProgramFolder));
    cbBaza->setEditText(text);
}

void TfLogin::cbKlinikaEnter()
{
    if (cbBaza->currentText().trimmed().isEmpty()) {
        MessageDialog(QStringLiteral("Molim vas, prethodno unesite naziv baze"), mtWarning, mbOK);
        cbBaza->setFocus();
        return;
    }
    const QString text = cbKlinika->currentText();
    try {
        const QStringList clinics = login::clinicList(
            login::clinicListString(Globals.AdminConnectionString, m_loginServer, cbBaza->currentText().trimmed()), Globals.ProgramFolder);
        cbKlinika->clear();
        cbKlinika->addItems(clinics);
        cbKlinika->setEditText(text);
    } catch (const std::exception &) {
        // The list stays as it was: the clinic can still be typed.
    }
}

void TfLogin::warn(const QString &text)
{
    MessageDialog(text, mtWarning, mbOK);
    mskPassword->setFocus();
}

bool TfLogin::aOKExecute()
{
    const QString user = edName->text().trimmed();
    const QString password = mskPassword->text().trimmed();
    const QString database = cbBaza->currentText().trimmed();
    const QString clinic = cbKlinika->currentText().trimmed();
    // A server chosen in the panel takes effect; otherwise the stored one.
    const QString typedServer = cbServer->currentText().trimmed();
    if (!typedServer.isEmpty())
        m_loginServer = typedServer;
    m_connection.reset();

    QString connectionString;
    const bool ok = m_loginMode == QLatin1String("SQL") ? sqlAttempt(user, password, database, &connectionString)
                                                         : windowsAttempt(database, &connectionString);
    if (!ok) {
        m_connection.reset();
        return false;
    }
    Globals.ConnectionString = connectionString;
    if (!resolveClinic(clinic, database)) {
        m_connection.reset();
        return false;
    }
    finish(user, database);
    return true;
}

bool TfLogin::sqlAttempt(const QString &user, const QString &password, const QString &database, QString *connectionString)
{
    if (user.isEmpty()) {
        warn(QStringLiteral("Ime je obavezno za unos."));
        return false;
    }
    if (database.isEmpty()) {
        warn(QStringLiteral("Niste odabrali bazu podataka !!!"));
        return false;
    }
    const bool embedded = db::ConnectionString::isEmbeddedServer(m_loginServer);
    if (embedded && !QFile::exists(login::embeddedPath(Globals.ProgramFolder, database))) {
        if (!offerNewDatabase(database, user, password))
            return false;
    }
    *connectionString = login::sqlAuthString(m_loginServer, user, password, database);
    bool firstTry = true;
    for (int attempt = 0; attempt < 2 && !m_connection; ++attempt) {
        try {
            const WaitCursor wait;
            m_connection = login::open(*connectionString, Globals.ProgramFolder);
        } catch (const db::DbError &) {
            firstTry = false;
        }
    }
    if (!m_connection) {
        if (!embedded && login::refusedByDatabase(*connectionString))
            warn(QStringLiteral("Nemate pravo pristupa nad bazom ") + database + QStringLiteral(" !!!"));
        else
            warn(QStringLiteral("Neispravni korisnički podaci ime i/ili lozinka !!!"));
        return false;
    }
    if (firstTry && !login::accessAllowed(*m_connection, user)) {
        warn(QStringLiteral("Nemate pravo pristupa nad bazom ") + database + QStringLiteral(" !!!"));
        return false;
    }
    return database::hasProgramTables(*m_connection) || offerSchema(database);
}

bool TfLogin::windowsAttempt(const QString &database, QString *connectionString)
{
    const bool embedded = db::ConnectionString::isEmbeddedServer(m_loginServer);
    if (embedded && !database.isEmpty() && !QFile::exists(login::embeddedPath(Globals.ProgramFolder, database))) {
        if (!offerNewDatabase(database, QString(), QString()))
            return false;
    }
    *connectionString = login::windowsAuthString(m_loginServer, database);
    try {
        const WaitCursor wait;
        m_connection = login::open(*connectionString, Globals.ProgramFolder);
    } catch (const db::DbError &) {
        PlatformMessageBox(QStringLiteral("Nemate pravo pristupa nad bazom : ") + database + QStringLiteral("\rPokušajte ponovo"),
                           QApplication::applicationName() + QStringLiteral(" - erroR"));
        return false;
    }
    return database::hasProgramTables(*m_connection) || offerSchema(database);
}

bool TfLogin::offerNewDatabase(const QString &database, const QString &user, const QString &password)
{
    if (MessageDialog(QStringLiteral("Baza podataka %1 ne postoji.\rŽelite li da napravite novu bazu?").arg(database), mtConfirmation,
                      mbYes | mbNo)
        != mrYes)
        return false;
    if (database.contains(u'/') || database.contains(u'\\') || database.startsWith(u'.')) {
        warn(QStringLiteral("Naziv baze ne sme da sadrži znake / i \\ niti da počinje tačkom."));
        return false;
    }
    if (m_loginMode == QLatin1String("SQL") && password.isEmpty()) {
        warn(QStringLiteral("Za prvog korisnika nove baze lozinka je obavezna."));
        return false;
    }
    const QString path = login::embeddedPath(Globals.ProgramFolder, database);
    QDir().mkpath(login::embeddedFolder(Globals.ProgramFolder));
    bool made = false;
    try {
        db::SqliteConnection created(path, db::SqliteConnection::OpenMode::CreateIfMissing);
        made = true;
        database::createSchema(created);
        if (!user.isEmpty())
            database::users::addOrReset(created, user, password);
        if (!askClinic(created)) {
            made = false;
            throw db::DbError(QString()); // cancelled: the new file goes again
        }
    } catch (const db::DbError &error) {
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QString::fromLatin1(suffix));
        if (!error.message().isEmpty() || made)
            warn(QStringLiteral("Nova baza nije napravljena: ") + error.message());
        return false;
    }
    return true;
}

bool TfLogin::offerSchema(const QString &database)
{
    if (MessageDialog(QStringLiteral("Baza podataka %1 nema tabele programa.\rŽelite li da ih napravite?").arg(database), mtConfirmation,
                      mbYes | mbNo)
        != mrYes)
        return false;
    try {
        database::createSchema(*m_connection);
    } catch (const db::DbError &error) {
        warn(QStringLiteral("Tabele nisu napravljene: ") + error.message());
        return false;
    }
    return askClinic(*m_connection);
}

bool TfLogin::askClinic(db::Connection &connection)
{
    TfNovaKlinika dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    connection.execute(QStringLiteral("INSERT INTO KLINIKE (ID, NAZIV, NAZIV_KLINIKE, POLIKLINIKA) VALUES (1, ?, ?, ?)"),
                       {dialog.clinicName(), dialog.clinicName(), dialog.polyclinic() ? 1 : 0});
    cbKlinika->setEditText(dialog.clinicName());
    return true;
}

bool TfLogin::resolveClinic(const QString &typed, const QString &database)
{
    db::Connection &c = *m_connection;
    QString clinic = typed;
    const QString howToChoose = QStringLiteral(
        "\rKliniku izaberite u polju „Klinika:“ panela za izbor baze: držite Ctrl i Shift i pritisnite desni taster miša "
        "na dugmetu „U redu“.");
    if (clinic.isEmpty()) {
        const QList<QVariantList> rows = c.selectRows(QStringLiteral("SELECT NAZIV_KLINIKE FROM KLINIKE"));
        if (rows.size() != 1) {
            warn(QStringLiteral("Niste odabrali kliniku, a baza %1 ih ima %2.").arg(database).arg(rows.size()) + howToChoose);
            return false;
        }
        clinic = rows.first().value(0).toString();
    }
    const QString condition = QStringLiteral("Naziv_Klinike = N") + db::dialect::quoteString(clinic);
    const QVariant id = c.selectValue(QStringLiteral("SELECT ID FROM KLINIKE WHERE ") + condition);
    if (!id.isValid()) {
        warn(QStringLiteral("Klinika „%1“ ne postoji u bazi %2.").arg(clinic, database) + howToChoose);
        return false;
    }
    Globals.ClinicId = id.toInt();
    // A clinic without the flag is a hospital clinic.
    Globals.ClinicIsOutpatient = c.selectValue(QStringLiteral("SELECT POLIKLINIKA FROM KLINIKE WHERE ") + condition).toLongLong() == 1;
    m_clinic = clinic;
    return true;
}

void TfLogin::finish(const QString &user, const QString &database)
{
    loginConnection = std::move(m_connection);
    Globals.Connection = loginConnection.get();
    Globals.UserName = m_loginMode == QLatin1String("NT") ? QStringLiteral("Windows NT Autorizacija") : user;
    Globals.DatabaseName = database;
    Globals.ServerName = m_loginServer;

    // Never a password: the administrator's string is the one without it.
    m_settings.writeString(kSqlServer, QStringLiteral("SERVER"), Globals.ServerName);
    m_settings.writeString(kSqlServer, QStringLiteral("BAZA"), Globals.DatabaseName);
    m_settings.writeString(kSqlServer, QStringLiteral("KORISNIK"), Globals.UserName);
    m_settings.writeString(kSqlServer, QStringLiteral("LOG"), m_loginMode);
    m_settings.writeString(kSqlServer, QStringLiteral("conSA"), Globalini::ScrambleText(Globals.AdminConnectionString));
    m_settings.writeString(kSqlServer, QStringLiteral("Poslovi"), Globals.PosloviValue);
    m_settings.writeString(kSqlServer, QStringLiteral("Klinike"), m_clinic);
    m_version.writeString(QStringLiteral("Verzija"), QString::number(Globals.ProgramNumber), QStringLiteral(VELMORA_VERSION));
    try {
        m_settings.save();
        m_version.save();
    } catch (const std::exception &error) {
        reportError(error, this); // the login stands; only the settings are not kept
    }
    accept();
}

bool runLogin(QWidget *mainWindow)
{
    auto login = createForm<TfLogin>(mainWindow);
    if (login->endsProgram())
        return false;
    return login->exec() == QDialog::Accepted;
}

} // namespace velmora
