#include "app/ErrorHandler.h"
#include "app/Globalini.h"
#include "app/Globals.h"
#include "app/KeypadFilter.h"
#include "app/StartupHook.h"
#include "app/TfMain.h"
#include "platform/core/Formatting.h"
#include "support/ModalDriver.h"
#include "support/TestMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace velmora;

namespace {

struct Calls {
    int login = 0, modules = 0, catalogues = 0, patients = 0, backup = 0;
};

MainWindowServices services(Calls &calls, bool loginSucceeds = true)
{
    MainWindowServices s;
    s.login = [&calls, loginSucceeds](QWidget *) {
        ++calls.login;
        Globals.ServerName = QStringLiteral(".");
        Globals.DatabaseName = QStringLiteral("Odeljenje");
        Globals.UserName = QStringLiteral("Windows NT Autorizacija");
        return loginSucceeds;
    };
    s.createDataModules = [&calls] { ++calls.modules; };
    s.openCatalogues = [&calls](QWidget *) { ++calls.catalogues; };
    s.openPatients = [&calls](QWidget *) { ++calls.patients; };
    s.runBackup = [&calls](QWidget *) { ++calls.backup; };
    return s;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class Thrower : public QPushButton {
    Q_OBJECT
public:
    Thrower()
    {
        connect(this, &QPushButton::clicked, this, [] {
            throw std::runtime_error("DELETE statement conflicted with the REFERENCE constraint");
        });
    }
};

class tst_TfMain : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        Globals.ProgramFolder = m_dir.path() + u'/';
        QFile::remove(Globalini::mainSettingsPath());
    }
    void cleanup()
    {
        QVERIFY(test::allModalActionsRan());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void startUpFillsTheStatusBar()
    {
        Calls calls;
        Globals.ProgramNumber = 0;
        auto w = createForm<TfMain>(services(calls));
        QVERIFY(w->loggedIn());
        QCOMPARE(calls.login, 1);
        QCOMPARE(calls.modules, 1);
        QCOMPARE(Globals.ProgramNumber, 6);
        QCOMPARE(w->windowTitle(), QStringLiteral("Velmora"));
        QCOMPARE(w->panelText(0), QStringLiteral(" Server: ."));
        QCOMPARE(w->panelText(1), QStringLiteral(" Baza podataka: Odeljenje"));
        QCOMPARE(w->panelText(2), QStringLiteral(" Korisnik: Windows NT Autorizacija"));
        QCOMPARE(w->panelText(3), QString());
        QCOMPARE(format::dateToText(QDate(2007, 3, 15)), QStringLiteral("15.03.2007"));
    }

    void failedLoginStopsTheStartUp()
    {
        Calls calls;
        auto w = createForm<TfMain>(services(calls, false));
        QVERIFY(!w->loggedIn());
        QCOMPARE(calls.modules, 0);
    }

    void buttonsAndMenu()
    {
        Calls calls;
        auto w = createForm<TfMain>(services(calls));
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(QApplication::focusWidget(), w->btnKatalozi);
        QVERIFY(w->btnKatalozi->y() < w->btnPacijent->y());
        QVERIFY(qAbs(w->btnKatalozi->height() - w->btnPacijent->height()) <= 1);
        // The lower button comes first in the tab order.
        QList<QWidget *> tabOrder;
        for (QWidget *next = w->nextInFocusChain(); next != w.get(); next = next->nextInFocusChain()) {
            if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible())
                tabOrder << next;
        }
        QCOMPARE(tabOrder, (QList<QWidget *>{w->btnPacijent, w->btnKatalozi}));
        QTest::mouseClick(w->btnKatalozi, Qt::LeftButton);
        QTest::mouseClick(w->btnPacijent, Qt::LeftButton);
        QTest::keyClick(w.get(), Qt::Key_F9);
        QCOMPARE(calls.catalogues, 1);
        QCOMPARE(calls.patients, 1);
        QCOMPARE(calls.backup, 1);
        QCOMPARE(w->mmMain->actions().size(), 1);
        QCOMPARE(w->mmMain->actions().first()->text(), QStringLiteral("Backup [F9]"));
        // F1 offers no help in the main window.
        QVERIFY(w->aHelp->shortcut().isEmpty());
        QTest::keyClick(w.get(), Qt::Key_F1);
        QVERIFY(!QApplication::activeModalWidget());
        test::onNextModal([](QWidget *q) { test::clickButton(q, QStringLiteral("Da")); });
        w->close();
    }

    void f1OpensHelpInAMenuWindow()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("Help"));
        writeFile(m_dir.filePath(QStringLiteral("Help/Dobro.html")),
                  "<html><body><h1>Dobro došli</h1></body></html>");
        TcSubMain menu;
        menu.setObjectName(QStringLiteral("fKatalog"));
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        QString shown;
        test::onNextModal([&](QWidget *help) {
            QCOMPARE(help->objectName(), QStringLiteral("fPomoc"));
            shown = help->findChild<QTextBrowser *>()->toPlainText();
            QTest::keyClick(help, Qt::Key_Escape);
        });
        QTest::keyClick(&menu, Qt::Key_F1);
        QVERIFY(shown.contains(QStringLiteral("Dobro došli")));
        QCOMPARE(menu.panelText(0), QString());
        QCOMPARE(menu.sbSubMain->findChildren<QLabel *>().size(), 4);
    }

    void exitQuestion_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("No keeps everything") << "Ne" << false;
        QTest::newRow("Escape is No") << "Escape" << false;
        QTest::newRow("Yes") << "Da" << true;
        QTest::newRow("close box counts as consent") << "close" << true;
    }

    void exitQuestion()
    {
        QFETCH(QString, answer);
        QFETCH(bool, closes);
        Calls calls;
        auto w = createForm<TfMain>(services(calls));
        w->show();
        QString question;
        test::onNextModal([&](QWidget *q) {
            question = test::messageText(q);
            QCOMPARE(q->windowTitle(), QStringLiteral("Upozorenje"));
            if (answer == QLatin1String("Escape"))
                QTest::keyClick(q, Qt::Key_Escape);
            else if (answer == QLatin1String("close"))
                q->close();
            else
                test::clickButton(q, answer);
        });
        w->close();
        QCOMPARE(question, QStringLiteral("Želite li da izadjete iz programa ?"));
        QCOMPARE(w->isVisible(), !closes);
        QCOMPARE(Globalini::ReadIniString("fMain", "Gore", QStringLiteral("none")) != QLatin1String("none"), closes);
        if (!closes) {
            test::onNextModal([](QWidget *q) { test::clickButton(q, QStringLiteral("Da")); });
            w->close();
        }
        QVERIFY(!w->isVisible());
        format::applyProgramSettings();
    }

    void errorReportText_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("server refused a delete") << "DELETE statement conflicted with the REFERENCE constraint"
                                                 << "Ne mozete obrisati ovaj podatak";
        QTest::newRow("lower case is left alone") << "delete failed" << "delete failed";
        QTest::newRow("DELET is not DELETE") << "DELET" << "DELET";
        QTest::newRow("other message") << "Kolona ne postoji" << "Kolona ne postoji";
    }

    void errorReportText()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(velmora::errorReportText(message, QStringLiteral("TfGrad")),
                 QStringLiteral("Tekst : \r") + shown
                     + QStringLiteral("\r\rObjekat : TfGrad\r\rProverite sve neophodne operacije u programu."));
    }

    void errorsInEventHandlersReachTheHandler()
    {
        Thrower button;
        button.show();
        QString reported;
        test::onNextModal([&](QWidget *dialog) {
            reported = test::messageText(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Upozorenje"));
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(reported, QStringLiteral("Tekst : \nNe mozete obrisati ovaj podatak\n\nObjekat : Thrower\n\n"
                                          "Proverite sve neophodne operacije u programu."));
    }

    void keypadDecimalTypesComma_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("keypad decimal, NumLock on") << int(Qt::Key_Period) << int(Qt::KeypadModifier) << "." << "12,";
        QTest::newRow("main keyboard period") << int(Qt::Key_Period) << int(Qt::NoModifier) << "." << "12.";
        QTest::newRow("keypad Delete, NumLock off") << int(Qt::Key_Delete) << int(Qt::KeypadModifier) << "" << "1";
    }

    void keypadDecimalTypesComma()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        KeypadFilter filter;
        qApp->installEventFilter(&filter);
        QLineEdit edit(QStringLiteral("12"));
        edit.show();
        edit.setFocus();
        if (key == Qt::Key_Delete)
            edit.setCursorPosition(1);
        QTest::sendKeyEvent(QTest::Press, &edit, Qt::Key(key), typed, Qt::KeyboardModifiers(modifiers));
        QTest::sendKeyEvent(QTest::Release, &edit, Qt::Key(key), typed, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(edit.text(), expected);
        qApp->removeEventFilter(&filter);
    }

    void startUpHookRunsOnlyWithSetupSql()
    {
        QTemporaryDir work;
        const QString marker = work.filePath(QStringLiteral("ran"));
        writeFile(work.filePath(QStringLiteral("setup.sh")), "touch ran\n");
        QVERIFY(!runStartupHook(work.path()));
        writeFile(work.filePath(QStringLiteral("setup.sql")), "select 1;\n");
        QVERIFY(runStartupHook(work.path()));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
        QFile::remove(work.filePath(QStringLiteral("setup.sh")));
        QVERIFY(!runStartupHook(work.path())); // a missing script is not reported
    }
};

VELMORA_TEST_MAIN(tst_TfMain)
#include "tst_tfmain.moc"
