#include "SampleWindows.h"
#include "app/Globals.h"
#include "framework/ExportGridToExcel.h"
#include "platform/core/Formatting.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "support/TestMain.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

using namespace velmora;

namespace {

const QStringList kPlaces = {QStringLiteral("Beograd"), QStringLiteral("Novi Sad"), QStringLiteral("Beočin"), QStringLiteral("Niš"),
                             QStringLiteral("Bela Crkva"), QStringLiteral("Čačak"), QStringLiteral("Zaječar"), QStringLiteral("Subotica")};

void clickTitle(TfrmGrid *frame, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QHeaderView *header = frame->dbGrid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
}

int currentId(data::Dataset *d)
{
    return int(d->fieldByName(QStringLiteral("ID"))->asInteger());
}

template <class Window, class... Args>
std::unique_ptr<Window> openWindow(Args &&...args)
{
    auto w = createForm<Window>(std::forward<Args>(args)...);
    w->show();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the window did not become active");
    w->frmMain->dbGrid->setFocus();
    return w;
}

} // namespace

class tst_DataWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_db;

private slots:
    void initTestCase_data() { test::addBackendRows(); }
    void initTestCase() { format::applyProgramSettings(); }

    void init()
    {
        m_db = std::make_unique<test::TestDatabase>(test::currentBackend());
        for (int i = 0; i < kPlaces.size(); ++i)
            m_db->connection().execute(QStringLiteral("insert into GRAD (ID, MESTO, POSTANSKI_BROJ) values (?, ?, ?)"),
                                       {i + 1, kPlaces[i], QString::number(11000 + i * 100)});
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

    void sortByTitleClicks()
    {
        auto w = openWindow<test::TfGrad>();
        TfrmGrid *grid = w->frmMain;
        QCOMPARE(grid->dataset()->sort(), QStringLiteral("Id"));
        for (const char *expected : {"Sort: MESTO ASC", "Sort: MESTO DESC", "Sort: MESTO ASC"}) {
            clickTitle(grid, 1);
            QCOMPARE(grid->panelText(3), QString::fromLatin1(expected));
        }
        QCOMPARE(grid->dataset()->displayTextAt(0, 1), QStringLiteral("Bela Crkva"));
        QVERIFY(grid->Panel1->isVisible());
        QCOMPARE(grid->model()->titleColor(1), QColor(255, 0, 0));
        clickTitle(grid, 0, Qt::ShiftModifier);
        QCOMPARE(grid->panelText(3), QStringLiteral("Sort: MESTO ASC, ID ASC"));
        clickTitle(grid, 0, Qt::ShiftModifier);
        QCOMPARE(grid->panelText(3), QStringLiteral("Sort: MESTO ASC, ID DESC"));
        QCOMPARE(grid->model()->titleColor(0), QColor(255, 255, 0));
    }

    void shiftClickFirstChangesNoSort()
    {
        auto w = openWindow<test::TfGrad>();
        TfrmGrid *grid = w->frmMain;
        clickTitle(grid, 1, Qt::ShiftModifier);
        QCOMPARE(grid->dataset()->sort(), QStringLiteral("Id"));
        QVERIFY(grid->SearchActive);
        QCOMPARE(grid->SearchField, QStringLiteral("MESTO"));
    }

    void locateAsYouType()
    {
        auto w = openWindow<test::TfGrad>();
        TfrmGrid *grid = w->frmMain;
        clickTitle(grid, 1);
        QTest::keyClicks(grid->edPretraga, QStringLiteral("beo"));
        QCOMPARE(currentId(grid->dataset()), 3); // Beočin, the first in the grid's order that begins so
        QVERIFY(grid->Found);
        QCOMPARE(grid->panelText(2), QStringLiteral("Polje: MESTO= beo"));
        grid->edPretraga->clear();
        QTest::keyClicks(grid->edPretraga, QStringLiteral("GRAD"));
        QVERIFY(!grid->Found);
        grid->cbPretPoDeluReci->click();
        QVERIFY(grid->Found);
        QCOMPARE(currentId(grid->dataset()), 1); // Beograd: part of the word
        QCOMPARE(grid->panelText(1), QStringLiteral("Slog: 3 od 8"));
    }

    void filterExpressions_data()
    {
        QTest::addColumn<bool>("partOfWord");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("prefix") << false << "MESTO LIKE 'Bel%' AND ID=5" << QList<int>{5};
        QTest::newRow("part of word") << true << "MESTO LIKE '%Bel%' AND ID=5" << QList<int>{5};
    }

    void filterExpressions()
    {
        QFETCH(bool, partOfWord);
        QFETCH(QString, expression);
        QFETCH(QList<int>, ids);
        auto w = openWindow<test::TfGrad>();
        TfrmGrid *grid = w->frmMain;
        grid->cbPretPoDeluReci->setChecked(partOfWord);
        clickTitle(grid, 1);
        QTest::keyClicks(grid->edPretraga, QStringLiteral("Bel"));
        w->aPostaviFilter->trigger();
        QVERIFY(grid->FilterMode);
        QCOMPARE(w->findChild<QPushButton *>(QStringLiteral("btnPostaviFilter"))->text(), QStringLiteral("Skini filter"));
        QCOMPARE(grid->dataset()->recordCount(), partOfWord ? 1 : 1);
        clickTitle(grid, 0);
        QCOMPARE(grid->edPretraga->text(), QString());
        QTest::keyClicks(grid->edPretraga, QStringLiteral("5"));
        QCOMPARE(grid->FilterText, expression);
        QCOMPARE(grid->panelText(4), expression);
        QList<int> shown;
        for (int i = 0; i < grid->dataset()->recordCount(); ++i)
            shown << grid->dataset()->valueAt(i, 0).toInt();
        QCOMPARE(shown, ids);
        // Clearing one criterion keeps the other.
        grid->edPretraga->clear();
        QTest::keyClicks(grid->edPretraga, QString());
        grid->edPretragaChange();
        QCOMPARE(grid->FilterText, partOfWord ? QStringLiteral("MESTO LIKE '%Bel%'") : QStringLiteral("MESTO LIKE 'Bel%'"));
        // Removing the filter shows every row again.
        w->aSkiniFilter->trigger();
        QCOMPARE(grid->dataset()->recordCount(), kPlaces.size());
        QCOMPARE(grid->panelText(4), QString());
        QVERIFY(!grid->FilterMode);
        QCOMPARE(w->findChild<QPushButton *>(QStringLiteral("btnPostaviFilter"))->text(), QStringLiteral("Postavi  filter"));
    }

    void typedValuesAreNeverFilterSyntax()
    {
        auto w = openWindow<test::TfGrad>();
        TfrmGrid *grid = w->frmMain;
        clickTitle(grid, 1);
        w->aPostaviFilter->trigger();
        QTest::keyClicks(grid->edPretraga, QStringLiteral("O'Ne"));
        QCOMPARE(grid->FilterText, QStringLiteral("MESTO LIKE 'O''Ne%'"));
        QCOMPARE(grid->dataset()->recordCount(), 0);
        clickTitle(grid, 0);
        QTest::keyClicks(grid->edPretraga, QStringLiteral("1 OR 1=1"));
        QCOMPARE(grid->dataset()->recordCount(), 0);
    }

    void insertEditDeleteRefresh()
    {
        auto w = openWindow<test::TfGrad>();
        TfrmGrid *grid = w->frmMain;
        clickTitle(grid, 1);
        QCOMPARE(grid->panelText(3), QStringLiteral("Sort: MESTO ASC"));
        test::onNextModal([&](QWidget *dialog) {
            auto *d = qobject_cast<test::TfGradDijalog *>(dialog);
            QCOMPARE(d->windowTitle(), QStringLiteral("Unos podataka"));
            QCOMPARE(d->btnOk->text(), QStringLiteral("&Snimi"));
            QVERIFY(d->cbKont->isEnabled());
            QTest::keyClicks(d->edMesto, QStringLiteral("Kikinda"));
            d->btnOk->click();
        });
        w->aInsert->trigger();
        QCOMPARE(grid->panelText(3), QString()); // insert cleared the sort
        QCOMPARE(currentId(grid->dataset()), 9);
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select MESTO from GRAD where ID = 9")).toString(), QStringLiteral("Kikinda"));

        // Edit keeps the key.
        test::onNextModal([&](QWidget *dialog) {
            auto *d = qobject_cast<test::TfGradDijalog *>(dialog);
            QCOMPARE(d->windowTitle(), QStringLiteral("Izmena podataka"));
            QVERIFY(!d->cbKont->isEnabled());
            d->edMesto->selectAll();
            QTest::keyClicks(d->edMesto, QStringLiteral("Kikinda 2"));
            QTest::keyClick(d, Qt::Key_S, Qt::ControlModifier);
        });
        QTest::keyClick(grid->dbGrid, Qt::Key_Return); // Enter edits
        QCOMPARE(currentId(grid->dataset()), 9);
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select MESTO from GRAD where ID = 9")).toString(), QStringLiteral("Kikinda 2"));

        // Escape in a half-filled insert leaves no row.
        test::onNextModal([&](QWidget *dialog) {
            QTest::keyClicks(qobject_cast<test::TfGradDijalog *>(dialog)->edMesto, QStringLiteral("Pola"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        w->aInsert->trigger();
        QCOMPARE(grid->dataset()->recordCount(), 9);
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select count(*) from GRAD")).toInt(), 9);

        // Delete asks, and removes the row.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        grid->dbGrid->setFocus();
        QVERIFY(grid->GridFocused);
        QVERIFY(grid->dataset()->locate(QStringLiteral("ID"), {9}, 0));
        test::onNextModal([](QWidget *q) {
            QCOMPARE(test::messageText(q), QStringLiteral("Obrisati podatak !!! "));
            test::clickButton(q, QStringLiteral("Da"));
        });
        w->aDelete->trigger();
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select count(*) from GRAD")).toInt(), 8);

        // Refresh keeps the filter and the row.
        clickTitle(grid, 1);
        w->aPostaviFilter->trigger();
        QTest::keyClicks(grid->edPretraga, QStringLiteral("B"));
        grid->dbGrid->setFocus();
        QVERIFY(grid->dataset()->locate(QStringLiteral("ID"), {3}, 0));
        m_db->connection().execute(QStringLiteral("insert into GRAD (ID, MESTO) values (20, N'Bor')"));
        w->aRefresh->trigger();
        QCOMPARE(grid->dataset()->recordCount(), 4); // Beograd, Beočin, Bela Crkva, Bor
        QCOMPARE(currentId(grid->dataset()), 3);
    }

    void editOnAnEmptyListInserts()
    {
        m_db->connection().execute(QStringLiteral("delete from GRAD"));
        auto w = openWindow<test::TfGrad>();
        test::onNextModal([](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Unos podataka"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        w->aEdit->trigger();
        QVERIFY(w->frmMain->dataset()->isEmpty());
    }

    void pickerReturnsTheCurrentKey_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter") << "enter";
        QTest::newRow("double click") << "double";
        QTest::newRow("Izlaz") << "exit";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }

    void pickerReturnsTheCurrentKey()
    {
        QFETCH(QString, how);
        auto w = createForm<test::TfGrad>();
        w->LookupMode = true;
        Globals.LastKey = QStringLiteral("4");
        TcData::LookupLocateField.clear();
        test::onNextModal([&](QWidget *) {
            QCOMPARE(currentId(w->frmMain->dataset()), 4); // opened on the key it was given
            w->frmMain->dataset()->moveTo(6);
            if (how == QLatin1String("enter"))
                QTest::keyClick(w->frmMain->dbGrid, Qt::Key_Return);
            else if (how == QLatin1String("double"))
                w->frmMain->dbGridDblClick();
            else if (how == QLatin1String("exit"))
                w->aExit->trigger();
            else if (how == QLatin1String("escape"))
                QTest::keyClick(w->frmMain->dbGrid, Qt::Key_Escape);
            else
                w->close();
        });
        w->exec();
        QCOMPARE(Globals.LastKey.toInt(), 7);
        QVERIFY(w->frmMain->dataset()->active()); // a picker leaves the list open
    }

    void dialogChecksKeysAndRequiredColumns()
    {
        db::Connection &c = m_db->connection();
        c.executeScript(test::currentBackend() == db::Backend::SQLite
                            ? QStringLiteral("CREATE TABLE PROBA (ID INT NOT NULL, NAZIV NVARCHAR(20) NOT NULL, NAPOMENA NVARCHAR(50), PRIMARY KEY (ID))")
                            : QStringLiteral("CREATE TABLE PROBA (ID integer NOT NULL PRIMARY KEY, NAZIV varchar(20) NOT NULL, NAPOMENA varchar(50))"));
        c.execute(QStringLiteral("insert into PROBA (ID, NAZIV) values (1, 'prvi')"));
        data::Dataset proba(QStringLiteral("adsProba"));
        proba.setConnection(dmPodaci->acConnect());
        proba.setCommandText(QStringLiteral("select * from PROBA"));
        proba.setIndexFieldNames(QStringLiteral("ID"));
        auto w = openWindow<test::TfProba>(&proba);
        auto *dialog = qobject_cast<test::TfProbaDijalog *>(w->frmMain->EditDialog);

        QStringList messages;
        const auto step = [&](auto &&act) {
            test::onNextModal([&, act](QWidget *q) {
                messages << test::messageText(q);
                q->close();
                act();
            });
        };
        test::onNextModal([&](QWidget *) {
            QVERIFY(dialog->edId->hasFocus() || dialog->edId->isEnabled()); // the key takes the focus on insert
            QCOMPARE(dialog->edNaziv->styleSheet().contains(QStringLiteral("255, 255, 0")), true);
            // Empty key.
            step([&] {
                // Taken key.
                step([&] {
                    // Required column on the second page.
                    step([&] {
                        QCOMPARE(dialog->pcDialog->currentIndex(), 1);
                        dialog->edNaziv->setFocus();
                        QTest::keyClicks(dialog->edNaziv, QStringLiteral("drugi"));
                        dialog->cbKont->setChecked(true);
                        dialog->btnOk->click(); // saved; a fresh row waits
                        QVERIFY(dialog->isVisible());
                        QCOMPARE(dialog->dataset()->state(), data::DatasetState::Insert);
                        QTest::keyClick(dialog, Qt::Key_Escape);
                    });
                    dialog->edId->setText(QString());
                    QTest::keyClicks(dialog->edId, QStringLiteral("2"));
                    dialog->btnOk->click();
                });
                QTest::keyClicks(dialog->edId, QStringLiteral("1"));
                dialog->btnOk->click();
            });
            dialog->btnOk->click();
        });
        w->aInsert->trigger();
        QCOMPARE(messages, (QStringList{QStringLiteral("Vrednost primarnog ključa ne može biti prazno polje."),
                                        QStringLiteral("Vrednost sa unetim primarnim ključem vec postoji."),
                                        QStringLiteral("Unos vrednosti u polje je obavezno!")}));
        QCOMPARE(c.selectValue(QStringLiteral("select NAZIV from PROBA where ID = 2")).toString(), QStringLiteral("drugi"));
        QCOMPARE(c.selectValue(QStringLiteral("select count(*) from PROBA")).toInt(), 2); // the continuous row was dropped
        w->close();
    }

    void lookupFrame()
    {
        m_db->connection().execute(QStringLiteral("insert into KLINIKE (ID, NAZIV_KLINIKE, GRAD) values (1, N'Kardiologija', 1)"));
        auto w = openWindow<test::TfKlinike>();
        auto *dialog = qobject_cast<test::TfKlinikeDijalog *>(w->frmMain->EditDialog);
        TfrmLookUp *frame = dialog->frmLookUp1;
        test::onNextModal([&](QWidget *) {
            QCOMPARE(frame->dbLookField->text(), QStringLiteral("1"));
            QCOMPARE(frame->listText(), QStringLiteral("Beograd"));
            // A typed code shows its place and is stored.
            frame->dbLookField->clear();
            QTest::keyClicks(frame->dbLookField, QStringLiteral("6"));
            frame->dbLookFieldExit();
            frame->FrameExit();
            QCOMPARE(frame->listText(), QStringLiteral("Čačak"));
            QCOMPARE(dialog->dataset()->fieldByName(QStringLiteral("GRAD"))->asInteger(), 6);
            // An unknown code is refused.
            frame->dbLookField->clear();
            QTest::keyClicks(frame->dbLookField, QStringLiteral("999"));
            QString refused;
            test::onNextModal([&](QWidget *q) {
                refused = test::messageText(q);
                q->close();
            });
            frame->dbLookFieldExit();
            frame->FrameExit();
            QCOMPARE(refused, QStringLiteral("Podatak ne postoji u traženom katalogu !!!"));
            QVERIFY(frame->dbLookField->text().isEmpty());
            QVERIFY(dialog->dataset()->fieldByName(QStringLiteral("GRAD"))->isNull());
            // A choice in the list is stored with its key.
            frame->cbLookBox->setCurrentIndex(frame->cbLookBox->findData(4));
            frame->cbLookBoxExit();
            QCOMPARE(frame->dbLookField->text(), QStringLiteral("4"));
            QCOMPARE(dialog->dataset()->fieldByName(QStringLiteral("GRAD"))->asInteger(), 4);
            // F2 opens the places window on the code; closing it on place 7 stores 7.
            test::onNextModal([&](QWidget *picker) {
                auto *places = qobject_cast<test::TfGrad *>(picker);
                QCOMPARE(currentId(places->frmMain->dataset()), 4);
                places->frmMain->dataset()->locate(QStringLiteral("ID"), {7}, 0);
                places->aExit->trigger();
            });
            frame->dbLookField->setFocus();
            QTest::keyClick(frame->dbLookField, Qt::Key_F2);
            QCOMPARE(frame->dbLookField->text(), QStringLiteral("7"));
            QCOMPARE(frame->listText(), QStringLiteral("Zaječar"));
            // An emptied code stores NULL.
            frame->dbLookField->clear();
            QTest::keyClicks(frame->dbLookField, QString());
            frame->dbLookFieldExit();
            frame->FrameExit();
            QVERIFY(dialog->dataset()->fieldByName(QStringLiteral("GRAD"))->isNull());
            frame->dbLookField->setText(QStringLiteral("7"));
            frame->dbLookFieldExit();
            frame->FrameExit();
            dialog->btnOk->click();
        });
        w->aEdit->trigger();
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select GRAD from KLINIKE where ID = 1")).toInt(), 7);
        // The joined list's delete removes the clinic alone.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->frmMain->dbGrid->setFocus();
        test::onNextModal([](QWidget *q) { test::clickButton(q, QStringLiteral("Da")); });
        w->aDelete->trigger();
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select count(*) from KLINIKE")).toInt(), 0);
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select count(*) from GRAD where ID = 7")).toInt(), 1);
    }

    void spreadsheetReadBack()
    {
        m_db->connection().execute(QStringLiteral("update GRAD set POSTANSKI_BROJ = NULL where ID = 2"));
        auto w = openWindow<test::TfGrad>();
        TfrmGrid *grid = w->frmMain;
        clickTitle(grid, 1); // rows in the grid's order: by place
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("export.xlsx"));
        WriteGridWorkbook(grid, path);
        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"), QStringLiteral(
                         "import sys, openpyxl\n"
                         "wb = openpyxl.load_workbook(sys.argv[1])\n"
                         "ws = wb.active\n"
                         "print(wb.sheetnames)\n"
                         "for row in ws.iter_rows(min_row=1, max_row=3, values_only=True): print(repr(row))\n"
                         "print(ws.cell(row=2, column=2).number_format, ws.cell(row=2, column=1).data_type)\n"),
                      path});
        QVERIFY(reader.waitForFinished(30000));
        const QString out = QString::fromUtf8(reader.readAllStandardOutput());
        QVERIFY2(reader.exitCode() == 0, qPrintable(QString::fromUtf8(reader.readAllStandardError())));
        const QStringList lines = out.split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("['Ruzudor']"));
        QCOMPARE(lines.value(1), QStringLiteral("('ID', 'MESTO', 'POŠTANSKI BROJ', 'POZIVNI BROJ')"));
        QCOMPARE(lines.value(2), QStringLiteral("(5, 'Bela Crkva', '11400', None)")); // a number, text, text, an empty cell
        QCOMPARE(lines.value(4), QStringLiteral("@ n"));
    }
};

VELMORA_TEST_MAIN(tst_DataWindows)
#include "tst_datawindows.moc"
