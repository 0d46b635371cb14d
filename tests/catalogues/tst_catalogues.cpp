#include "app/Globals.h"
#include "catalogues/TfGrad.h"
#include "catalogues/TfKatalog.h"
#include "catalogues/TfKlinike.h"
#include "catalogues/TfLekar.h"
#include "catalogues/TfNalazi.h"
#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/TfrmGrid.h"
#include "framework/TfrmLookUp.h"
#include "platform/core/Formatting.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>

using namespace velmora;

namespace {

template <class Window>
std::unique_ptr<Window> openWindow()
{
    auto w = createForm<Window>();
    w->show();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the window did not become active");
    w->frmMain->dbGrid->setFocus();
    return w;
}

// Adds a row through the window's dialog, filling its first editor.
void insertThroughDialog(TcData &w, const QString &text)
{
    test::onNextModal([text](QWidget *dialog) {
        auto *first = dialog->findChild<TDBEdit *>();
        test::typeText(first, text);
        dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    });
    w.aInsert->trigger();
}

} // namespace

class tst_Catalogues : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_db;

    int count(const char *sql) { return m_db->connection().selectValue(QString::fromLatin1(sql)).toInt(); }

private slots:
    void initTestCase_data() { test::addBackendRows(); }
    void initTestCase() { format::applyProgramSettings(); }
    void init()
    {
        m_db = std::make_unique<test::TestDatabase>(test::currentBackend());
        m_db->makeCurrent();
        createDataModules();
    }
    void cleanup()
    {
        QVERIFY(test::allModalActionsRan());
        QVERIFY(!QApplication::activeModalWidget());
        destroyDataModules();
        m_db.reset();
    }

    void menuOpensEveryCatalogue()
    {
        auto menu = createForm<TfKatalog>();
        menu->show();
        QVERIFY(QTest::qWaitForWindowActive(menu.get()));
        QCOMPARE(menu->windowTitle(), QStringLiteral("Katalozi"));
        QCOMPARE(QApplication::focusWidget(), menu->buttons.first());
        QStringList captions;
        for (QPushButton *b : menu->buttons)
            captions << b->text();
        QCOMPARE(captions, (QStringList{"Unos gradova", "Unos lekara", "Unos klinika", "Unos vrste nalaza", "Unos grupe nalaza",
                                        "Unos statusa", "Unos uputnih dijagnoza", "Unos MKB10", "Unos lekova", "Unos dijagnostika",
                                        "Unos konzilijarni"}));
        const QStringList titles = {"Grad", "Unos lekara", "Unos klinika", "Unos vrste nalaza", "Unos grupe nalaza", "Unos statusa",
                                    "Unos uputnih dijagnoza", "Unos MKB10", "Unos lekova", "Unos dijagnostika", "Unos konzilijarnih pregleda"};
        for (int i = 0; i < menu->buttons.size(); ++i) {
            QString shown;
            test::onNextModal([&](QWidget *window) {
                shown = window->windowTitle();
                QTest::keyClick(window, Qt::Key_Escape);
            });
            menu->buttons[i]->click();
            QCOMPARE(shown, titles[i]);
        }
        QVERIFY(menu->isVisible());
        QVERIFY(!menu->aHelp->shortcut().isEmpty()); // F1 opens the help here
    }

    void keysOfASimpleCatalogue()
    {
        auto w = openWindow<TfGrad>();
        for (const char *place : {"Beograd", "Niš", "Čačak", "Šabac", "Užice"})
            insertThroughDialog(*w, QString::fromUtf8(place));
        QCOMPARE(count("select max(ID) from GRAD"), 5);
        QCOMPARE(count("select ID from GRAD where MESTO = 'Beograd'"), 1); // the first row is 1
        m_db->connection().execute(QStringLiteral("delete from GRAD where ID = 3"));
        insertThroughDialog(*w, QStringLiteral("Kraljevo"));
        QCOMPARE(count("select ID from GRAD where MESTO = 'Kraljevo'"), 6);
        m_db->connection().execute(QStringLiteral("delete from GRAD where ID = 6"));
        m_db->connection().execute(QStringLiteral("delete from GRAD where ID = 5"));
        insertThroughDialog(*w, QStringLiteral("Sombor"));
        QCOMPARE(count("select ID from GRAD where MESTO = 'Sombor'"), 5);
        // Editing keeps the ID.
        w->aRefresh->trigger();
        QVERIFY(w->frmMain->dataset()->locate(QStringLiteral("ID"), {2}, 0));
        test::onNextModal([](QWidget *dialog) {
            auto *first = dialog->findChild<TDBEdit *>();
            first->selectAll();
            test::typeText(first, QStringLiteral("Niš 2"));
            dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        });
        w->aEdit->trigger();
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select MESTO from GRAD where ID = 2")).toString(), QStringLiteral("Niš 2"));

        // A city that a clinic refers to cannot be deleted.
        m_db->connection().execute(QStringLiteral("insert into KLINIKE (ID, GRAD) values (1, 2)"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->frmMain->dbGrid->setFocus();
        QStringList messages;
        test::onNextModal([&](QWidget *q) {
            test::onNextModal([&](QWidget *report) {
                messages << test::messageText(report);
                report->close();
            });
            test::clickButton(q, QStringLiteral("Da"));
        });
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("btnDelete")), Qt::LeftButton);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(QStringLiteral("Ne mozete obrisati ovaj podatak")), qPrintable(messages.first()));
        QCOMPARE(count("select count(*) from GRAD where ID = 2"), 1);
    }

    void newDoctorsAndClinicsKeepTheirFlags()
    {
        auto doctors = openWindow<TfLekar>();
        test::onNextModal([](QWidget *dialog) {
            auto *name = dialog->findChild<TDBEdit *>();
            test::typeText(name, QStringLiteral("Dr Ana Đurić"));
            const auto boxes = dialog->findChildren<TDBCheckBox *>();
            QCOMPARE(boxes.size(), 3);
            for (auto *box : boxes)
                QCOMPARE(box->checkState(), Qt::Unchecked); // the column defaults, 0
            dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        });
        doctors->aInsert->trigger();
        QCOMPARE(count("select count(*) from LEKAR where NACELNIK_ODELJENJA = 0 and UPRAVNIK_KLINIKE = 0 and DIREKTOR_KLINIKE = 0"), 1);
        QCOMPARE(doctors->frmMain->dataset()->fieldByName(QStringLiteral("DIREKTOR_KLINIKE"))->displayText(), QStringLiteral("Ne"));
        doctors->close();

        m_db->connection().execute(QStringLiteral("insert into GRAD (ID, MESTO) values (1, N'Beograd'), (2, N'Čačak')"));
        auto clinics = openWindow<TfKlinike>();
        test::onNextModal([&](QWidget *dialog) {
            auto *d = qobject_cast<TfKlinikeDijalog *>(dialog);
            test::typeText(d->findChild<TDBEdit *>(), QStringLiteral("Klinički centar"));
            QVERIFY(d->findChild<TDBCheckBox *>()->isEmptyValue()); // POLIKLINIKA undecided
            // The place through the picker: the places window opens, place 2 is chosen.
            test::onNextModal([](QWidget *picker) {
                auto *places = qobject_cast<TfGrad *>(picker);
                places->frmMain->dataset()->locate(QStringLiteral("ID"), {2}, 0);
                QTest::keyClick(places->frmMain->dbGrid, Qt::Key_Return);
            });
            d->frmLookUp1->sbLookClick();
            QCOMPARE(d->frmLookUp1->dbLookField->text(), QStringLiteral("2"));
            QCOMPARE(d->frmLookUp1->listText(), QStringLiteral("Čačak"));
            d->btnOk->click();
        });
        QStringList unexpected;
        {
            // Any message on the way is a failure: it is read and closed, so the test cannot hang on it.
            const test::ModalHandler messages([&](QWidget *q) {
                if (test::messageText(q).isEmpty())
                    return;
                unexpected << test::messageText(q);
                q->close();
            });
            clinics->aInsert->trigger();
        }
        QCOMPARE(unexpected, QStringList());
        QCOMPARE(count("select count(*) from KLINIKE where ID = 1 and GRAD = 2 and POLIKLINIKA is null"), 1);
        QCOMPARE(clinics->frmMain->dataset()->fieldByName(QStringLiteral("NAZIV GRADA"))->asString(), QStringLiteral("Čačak"));
    }

    void laboratoryCatalogueReloads()
    {
        db::Connection &c = m_db->connection();
        c.execute(QStringLiteral("insert into GRUPA_NALAZA (ID, NAZIV) values (1, N'Hematologija'), (2, N'Biohemija'), (3, N'Prazna')"));
        c.execute(QStringLiteral("insert into NALAZI (ID, NAZIV_NALAZA, GRUPA_NALAZA_FK) values (1, N'Leukociti', 1), (2, N'Eritrociti', 1), (3, N'Glukoza', 2)"));
        c.execute(QStringLiteral("insert into IZRAZ (NALAZ_FK, DATUM, IZRAZ) values (3, ?, '3,9 - 6,1'), (3, ?, '3,8 - 6,0')"),
                  {QDateTime(QDate(2020, 5, 1), QTime(0, 0)), QDateTime(QDate(2015, 1, 1), QTime(0, 0))});
        auto w = openWindow<TfNalazi>();
        QCOMPARE(w->frmNazivNalaza->dataset()->recordCount(), 2); // the tests of the first group
        w->frmMain->dataset()->moveTo(1);
        QTest::keyRelease(w->frmMain->dbGrid, Qt::Key_Down);
        QCOMPARE(w->frmNazivNalaza->dataset()->recordCount(), 1);
        QCOMPARE(w->frmIzraz->dataset()->recordCount(), 2);
        // Expressions in date order, oldest first.
        QCOMPARE(w->frmIzraz->dataset()->displayTextAt(0, w->frmIzraz->dataset()->fieldByName(QStringLiteral("DATUM"))->column()),
                 QStringLiteral("01.01.2015"));
        // A group without tests shows two empty lists.
        w->frmMain->dataset()->moveTo(2);
        QTest::mouseRelease(w->frmMain->dbGrid->viewport(), Qt::LeftButton);
        QVERIFY(!w->frmNazivNalaza->dataset()->active() || w->frmNazivNalaza->dataset()->isEmpty());
        QVERIFY(!w->frmIzraz->dataset()->active());

        // A new expression is offered today's date and belongs to the current test.
        w->frmMain->dataset()->moveTo(1);
        w->reloadTests();
        w->setActiveFrame(w->frmIzraz);
        test::onNextModal([](QWidget *dialog) {
            auto *d = qobject_cast<TfIzrazDijalog *>(dialog);
            QCOMPARE(d->edVaziOd->text(), format::dateToText(QDate::currentDate()));
            QTest::keyClicks(d->findChild<TDBEdit *>(), QStringLiteral("3,7 - 6,2"));
            dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        });
        w->aInsert->trigger();
        QCOMPARE(count("select count(*) from IZRAZ where NALAZ_FK = 3"), 3);
        QCOMPARE(w->frmIzraz->dataset()->recordCount(), 3);
    }
};

VELMORA_TEST_MAIN(tst_Catalogues)
#include "tst_catalogues.moc"
