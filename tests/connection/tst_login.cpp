#include "app/Globalini.h"
#include "app/Globals.h"
#include "connection/LoginConnections.h"
#include "connection/TdmPodaci.h"
#include "connection/TfLogin.h"
#include "connection/TfNovaKlinika.h"
#include "connection/TfPitanjce.h"
#include "database/Users.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/PgConnection.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace velmora;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString adminConninfo()
{
    return QStringLiteral("host=%1 port=%2 user=postgres dbname=postgres").arg(test::postgresHost()).arg(test::postgresPort());
}

} // namespace

class tst_Login : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_db;
    QString m_user;      // may log in
    QString m_refused;   // right name and password, no right to the database
    QString m_server;

    static QString settingsPath() { return Globalini::executableSettingsPath(); }

    // The settings of an earlier login, so the window opens without the first-run set-up.
    void storeSettings(const QString &clinic = QStringLiteral("Kardiologija"))
    {
        office::IniFile ini(settingsPath());
        ini.writeString("SQL_SERVER", "conSA", Globalini::ScrambleText(login::adminDefault(m_server)));
        ini.writeString("SQL_SERVER", "SERVER", m_server);
        ini.writeString("SQL_SERVER", "BAZA", m_db->name());
        ini.writeString("SQL_SERVER", "LOG", "SQL");
        ini.writeString("SQL_SERVER", "KLINIKE", clinic);
        ini.save();
    }

    std::unique_ptr<TfLogin> openLogin()
    {
        auto w = createForm<TfLogin>();
        w->show();
        return w;
    }

    // Presses "U redu"; a message that comes up is read and closed.
    QString attempt(TfLogin &w, const QString &user, const QString &password)
    {
        w.edName->setText(user);
        w.mskPassword->setText(password);
        QString message;
        const test::ModalHandler handler([&](QWidget *dialog) {
            message = test::messageText(dialog);
            if (const auto *box = dialog->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")); message.isEmpty() && box)
                message = box->text();
            dialog->close();
        });
        w.aOKExecute();
        return message;
    }

private slots:
    void initTestCase_data() { test::addBackendRows(); }

    void init()
    {
        const db::Backend backend = test::currentBackend();
        m_db = std::make_unique<test::TestDatabase>(backend);
        Globals = GlobalState{};
        Globals.ProgramFolder = m_db->programFolder();
        QFile::remove(settingsPath());
        QFile::remove(Globalini::versionFilePath());
        db::Connection &c = m_db->connection();
        c.execute(QStringLiteral("insert into KLINIKE (ID, NAZIV_KLINIKE, POLIKLINIKA) values (1, N'Kardiologija', 0)"));
        c.execute(QStringLiteral("insert into KLINIKE (ID, NAZIV_KLINIKE) values (2, N'Klinika \"Sv. Đorđe''s\"')"));
        if (backend == db::Backend::SQLite) {
            m_server = QStringLiteral(".");
            m_user = QStringLiteral("lekar");
            m_refused = QStringLiteral("bez_prava");
            database::users::addOrReset(c, m_user, QStringLiteral("tajna"));
            database::users::addOrReset(c, m_refused, QStringLiteral("tajna"));
            c.execute(QStringLiteral("update _korisnici set PRISTUP = 0 where KORISNIK = ?"), {m_refused});
        } else {
            m_server = QStringLiteral("%1:%2").arg(test::postgresHost()).arg(test::postgresPort());
            m_user = m_db->name() + QStringLiteral("_lekar");
            m_refused = m_db->name() + QStringLiteral("_bez_prava");
            c.executeScript(QStringLiteral("REVOKE CONNECT ON DATABASE %1 FROM PUBLIC").arg(m_db->name()));
            database::users::addOrReset(c, m_user, QStringLiteral("tajna"));
            c.executeScript(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'tajna'").arg(m_refused));
        }
    }

    void cleanup()
    {
        QVERIFY(test::allModalActionsRan());
        QVERIFY(!QApplication::activeModalWidget());
        destroyDataModules();
        loginConnection.reset();
        Globals.Connection = nullptr;
        const bool pg = m_db->backend() == db::Backend::PostgreSQL;
        const QString name = m_db->name();
        m_db.reset();
        if (pg) {
            db::PgConnection admin(adminConninfo());
            admin.executeScript(QStringLiteral("DROP ROLE IF EXISTS %1_lekar; DROP ROLE IF EXISTS %1_bez_prava; DROP ROLE IF EXISTS \"%1_o'brien; x\"").arg(name));
        }
        QFile::remove(settingsPath());
    }

    void goodLogin()
    {
        storeSettings();
        auto w = openLogin();
        QCOMPARE(w->cbBaza->currentText(), m_db->name());
        QCOMPARE(attempt(*w, QStringLiteral("  ") + m_user, QStringLiteral(" tajna ")), QString());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(Globals.UserName, m_user);
        QCOMPARE(Globals.DatabaseName, m_db->name());
        QCOMPARE(Globals.ServerName, m_server);
        QCOMPARE(Globals.ClinicId, 1);
        QVERIFY(!Globals.ClinicIsOutpatient);
        QVERIFY(Globals.ConnectionString.contains(QStringLiteral(";Password=tajna;")));
        QVERIFY(Globals.Connection);
        QCOMPARE(Globals.Connection->selectValue(QStringLiteral("select count(*) from KLINIKE")).toInt(), 2);

        const office::IniFile ini(settingsPath());
        QCOMPARE(ini.readString("SQL_SERVER", "KORISNIK", {}), m_user);
        QCOMPARE(ini.readString("SQL_SERVER", "BAZA", {}), m_db->name());
        QCOMPARE(ini.readString("SQL_SERVER", "LOG", {}), QStringLiteral("SQL"));
        QCOMPARE(ini.readString("SQL_SERVER", "KLINIKE", {}), QStringLiteral("Kardiologija"));
        QVERIFY(!fileBytes(settingsPath()).contains("tajna"));
        QCOMPARE(office::IniFile(Globalini::versionFilePath()).readString("Verzija", "6", {}), QStringLiteral(VELMORA_VERSION));

        // The data modules take over; the shared one's connection stays.
        createDataModules();
        QCOMPARE(Globals.Connection, dmPodaciZajednicke->acConnect());
        QVERIFY(!loginConnection);
    }

    void refusedAttempts_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << "@user" << "pogresna" << "@db" << "Neispravni korisnički podaci ime i/ili lozinka !!!";
        QTest::newRow("password of spaces") << "@user" << "    " << "@db" << "Neispravni korisnički podaci ime i/ili lozinka !!!";
        QTest::newRow("empty user") << "  " << "tajna" << "@db" << "Ime je obavezno za unos.";
        QTest::newRow("empty database") << "@user" << "tajna" << "" << "Niste odabrali bazu podataka !!!";
        QTest::newRow("no right to the database") << "@refused" << "tajna" << "@db" << "Nemate pravo pristupa nad bazom @db !!!";
        QTest::newRow("apostrophe and semicolon") << "@db_o'brien; x" << "tajna';Password=tajna" << "@db"
                                                  << "Neispravni korisnički podaci ime i/ili lozinka !!!";
        QTest::newRow("quote in the name") << "@user\" OR \"1\"=\"1" << "tajna" << "@db" << "Neispravni korisnički podaci ime i/ili lozinka !!!";
    }

    void refusedAttempts()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, database);
        QFETCH(QString, message);
        const auto fill = [&](QString s) {
            return s.replace(QStringLiteral("@user"), m_user).replace(QStringLiteral("@refused"), m_refused).replace(QStringLiteral("@db"), m_db->name());
        };
        storeSettings();
        auto w = openLogin();
        w->cbBaza->setEditText(fill(database));
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(attempt(*w, fill(user), password), fill(message));
        QVERIFY(w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(w->focusWidget(), w->mskPassword);
        QVERIFY(!loginConnection);
        // Nothing was written, let alone a password.
        QVERIFY(!office::IniFile(settingsPath()).hasKey("SQL_SERVER", "KORISNIK"));
        QVERIFY(!fileBytes(settingsPath()).contains("tajna"));

        // A second attempt uses its own values only.
        w->cbBaza->setEditText(m_db->name());
        QCOMPARE(attempt(*w, m_user, QStringLiteral("tajna")), QString());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(db::ConnectionString::parse(Globals.ConnectionString).value(QStringLiteral("User ID")), m_user);
        QVERIFY(!fileBytes(settingsPath()).contains("tajna"));
    }

    void clinics_data()
    {
        QTest::addColumn<QString>("clinic");
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("outpatient");
        QTest::newRow("by name") << "Kardiologija" << 1 << false;
        QTest::newRow("apostrophe and quotes in the name") << "Klinika \"Sv. Đorđe's\"" << 2 << false;
        QTest::newRow("no such clinic") << "Nema" << 0 << false;
        QTest::newRow("empty with two clinics") << "" << 0 << false;
    }

    void clinics()
    {
        QFETCH(QString, clinic);
        QFETCH(int, id);
        QFETCH(bool, outpatient);
        storeSettings(clinic);
        auto w = openLogin();
        const QString message = attempt(*w, m_user, QStringLiteral("tajna"));
        if (id == 0) {
            QVERIFY2(message.contains(QStringLiteral("Ctrl i Shift")), qPrintable(message));
            QVERIFY(w->isVisible());
            return;
        }
        QCOMPARE(message, QString());
        QCOMPARE(Globals.ClinicId, id);
        QCOMPARE(Globals.ClinicIsOutpatient, outpatient);
    }

    void theOnlyClinicIsTakenWhenNoneIsNamed()
    {
        m_db->connection().execute(QStringLiteral("delete from KLINIKE where ID = 2"));
        m_db->connection().execute(QStringLiteral("update KLINIKE set POLIKLINIKA = 1"));
        storeSettings(QString());
        auto w = openLogin();
        QCOMPARE(attempt(*w, m_user, QStringLiteral("tajna")), QString());
        QCOMPARE(Globals.ClinicId, 1);
        QVERIFY(Globals.ClinicIsOutpatient);
        QCOMPARE(office::IniFile(settingsPath()).readString("SQL_SERVER", "Klinike", {}), QStringLiteral("Kardiologija"));
    }

    void serverPanel()
    {
        storeSettings();
        auto w = openLogin();
        QCOMPARE(w->height(), TfLogin::kHeight);
        QCOMPARE(w->width(), TfLogin::kWidth);
        QVERIFY(!w->serverPanelShown());
        QTest::mouseClick(w->btnOK, Qt::RightButton, Qt::ControlModifier); // Ctrl alone does nothing
        QVERIFY(!w->serverPanelShown());
        QTest::mousePress(w->btnOK, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(w->serverPanelShown());
        QCOMPARE(w->height(), TfLogin::kHeightWithServer);
        // Tab order of the panel: database, server, clinic.
        QWidget *next = w->cbBaza;
        QStringList order;
        for (int i = 0; i < 20 && order.size() < 3; ++i) {
            next = next->nextInFocusChain();
            if (next == w->cbServer || next == w->cbKlinika || next == w->cbBaza)
                order << next->objectName();
        }
        QCOMPARE(order, (QStringList{"cbServer", "cbKlinika", "cbBaza"}));
        QTest::mousePress(w->btnOK, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!w->serverPanelShown());
        QCOMPARE(w->height(), TfLogin::kHeight);

        // Entering the clinic field without a database asks for the database first.
        w->cbBaza->setEditText(QString());
        QString message;
        {
            const test::ModalHandler handler([&](QWidget *d) {
                message = test::messageText(d);
                d->close();
            });
            w->cbKlinikaEnter();
        }
        QCOMPARE(message, QStringLiteral("Molim vas, prethodno unesite naziv baze"));
        QCOMPARE(w->focusWidget(), w->cbBaza);
        // With the database, the clinic list comes from it; the database list from the server.
        w->cbBaza->setEditText(m_db->name());
        w->cbKlinikaEnter();
        if (m_db->backend() == db::Backend::SQLite) {
            QCOMPARE(w->cbKlinika->count(), 2);
            w->cbServerEnter();
            QCOMPARE(w->cbServer->itemText(0), QStringLiteral("."));
            w->cbServer->setEditText(QStringLiteral("."));
            w->cbBazaEnter();
            QVERIFY(w->cbBaza->findText(m_db->name()) >= 0);
            QCOMPARE(w->cbBaza->currentText(), m_db->name());
        } else {
            QCOMPARE(w->cbKlinika->count(), 2); // read as the server's administrator
            w->cbServer->setEditText(m_server);
            w->cbBazaEnter();
            QVERIFY(w->cbBaza->findText(m_db->name()) >= 0);
            QVERIFY(w->cbBaza->findText(QStringLiteral("template1")) < 0);
            QVERIFY(w->cbBaza->findText(QStringLiteral("postgres")) < 0);
        }
    }

    // A new installation in one start: the first-run set-up, then a login that
    // makes the database, its first user and its clinic.
    void newInstallation()
    {
        const bool embedded = m_db->backend() == db::Backend::SQLite;
        QTemporaryDir fresh;
        Globals.ProgramFolder = fresh.path() + u'/';
        std::unique_ptr<test::TestDatabase> empty;
        QString database = QStringLiteral("Velmora");
        if (!embedded) {
            empty = std::make_unique<test::TestDatabase>(db::Backend::PostgreSQL, false);
            database = empty->name();
        }
        test::onNextModal([&](QWidget *dialog) {
            auto *setUp = qobject_cast<TfPitanjce *>(dialog);
            QVERIFY(setUp);
            setUp->edSerName->setText(m_server);
            setUp->btnOK->click();
        });
        auto w = createForm<TfLogin>();
        QVERIFY(!w->endsProgram());
        QCOMPARE(w->loginMode(), QStringLiteral("SQL"));
        QVERIFY(w->edName->text().isEmpty());
        // The embedded backend offers a database to make; a server's field stays empty.
        QCOMPARE(w->cbBaza->currentText(), embedded ? QStringLiteral("Velmora") : QString());
        w->show();
        w->cbBaza->setEditText(database);
        w->edName->setText(embedded ? QStringLiteral("ana") : QStringLiteral("postgres"));
        w->mskPassword->setText(embedded ? QStringLiteral("tajna") : QString());

        QStringList questions;
        const test::ModalHandler handler([&](QWidget *dialog) {
            if (auto *clinic = qobject_cast<TfNovaKlinika *>(dialog)) {
                clinic->edNaziv->setText(QStringLiteral("Kardiološka poliklinika"));
                clinic->chkPoliklinika->setChecked(true);
                test::clickButton(clinic, QStringLiteral("U redu"));
                return;
            }
            questions << test::messageText(dialog);
            test::clickButton(dialog, QStringLiteral("Da"));
        });
        QVERIFY(w->aOKExecute());
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions.first().contains(embedded ? QStringLiteral("ne postoji") : QStringLiteral("nema tabele")), qPrintable(questions.first()));
        QCOMPARE(Globals.ClinicId, 1);
        QVERIFY(Globals.ClinicIsOutpatient);
        QCOMPARE(Globals.Connection->selectValue(QStringLiteral("select NAZIV_KLINIKE from KLINIKE")).toString(), QStringLiteral("Kardiološka poliklinika"));
        if (embedded) {
            QVERIFY(QFile::exists(fresh.filePath(QStringLiteral("Baze/Velmora.db"))));
            QVERIFY(database::users::verify(*Globals.Connection, QStringLiteral("ana"), QStringLiteral("tajna")));
            QVERIFY(!fileBytes(fresh.filePath(QStringLiteral("Baze/Velmora.db"))).contains("tajna"));
        }
        const office::IniFile ini(settingsPath());
        QCOMPARE(Globalini::UnscrambleText(ini.readString("SQL_SERVER", "conSA", {})), login::adminDefault(m_server));
        QVERIFY(!fileBytes(settingsPath()).contains("tajna"));
        loginConnection.reset();
        Globals.Connection = nullptr;
    }

    void newDatabaseDeclined()
    {
        if (m_db->backend() != db::Backend::SQLite)
            return; // a server database is made by its administrator
        storeSettings();
        auto w = openLogin();
        w->cbBaza->setEditText(QStringLiteral("Nova"));
        const QString message = attempt(*w, m_user, QStringLiteral("tajna")); // "Ne" closes the question
        QVERIFY(message.contains(QStringLiteral("ne postoji")));
        QVERIFY(!QFile::exists(Globals.ProgramFolder + QStringLiteral("Baze/Nova.db")));
        QVERIFY(w->isVisible());
    }

    void escapeEndsTheProgram()
    {
        storeSettings();
        auto w = openLogin();
        QTest::keyClick(w->edName, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
    }

    void windowsAuthentication()
    {
        if (m_db->backend() == db::Backend::PostgreSQL) {
            // The system user connects without a password over the server's socket.
            const QString me = qEnvironmentVariable("USER", QStringLiteral("root"));
            db::PgConnection admin(adminConninfo());
            admin.executeScript(QStringLiteral("DO $$BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN CREATE ROLE \"%1\" LOGIN; END IF; END$$").arg(me));
            m_db->connection().executeScript(QStringLiteral("GRANT CONNECT ON DATABASE %1 TO \"%2\"; GRANT SELECT ON ALL TABLES IN SCHEMA public TO \"%2\"")
                                                 .arg(m_db->name(), me));
            m_server = QStringLiteral("/tmp/velmora-pgtest-%1:%1").arg(test::postgresPort());
        }
        storeSettings();
        office::IniFile ini(settingsPath());
        ini.writeString("SQL_SERVER", "LOG", "NT");
        ini.save();
        auto w = openLogin();
        QCOMPARE(attempt(*w, QString(), QString()), QString());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(Globals.UserName, QStringLiteral("Windows NT Autorizacija"));
        QVERIFY(Globals.ConnectionString.contains(QStringLiteral("Integrated Security=SSPI")));
        QCOMPARE(office::IniFile(settingsPath()).readString("SQL_SERVER", "KORISNIK", {}), QStringLiteral("Windows NT Autorizacija"));

        // A database the system user cannot reach: the platform's message box.
        auto again = openLogin();
        again->cbBaza->setEditText(QStringLiteral("nema_je"));
        if (m_db->backend() == db::Backend::SQLite) {
            test::onNextModal([](QWidget *d) { test::clickButton(d, QStringLiteral("Ne")); }); // no new database
        }
        const QString message = attempt(*again, QString(), QString());
        if (m_db->backend() == db::Backend::PostgreSQL) {
            QCOMPARE(message, QStringLiteral("Nemate pravo pristupa nad bazom : nema_je\nPokušajte ponovo"));
        }
        QVERIFY(again->isVisible());
    }
};

VELMORA_TEST_MAIN(tst_Login)
#include "tst_login.moc"
