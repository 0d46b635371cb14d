#include "app/Globalini.h"
#include "app/Globals.h"
#include "app/TcMain.h"
#include "support/ModalDriver.h"
#include "support/TestMain.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>

using namespace velmora;

class Sample : public TcMain {
    Q_OBJECT
public:
    Sample()
    {
        setObjectName(QStringLiteral("fSample"));
        auto *layout = new QVBoxLayout(this);
        for (QWidget *w : std::initializer_list<QWidget *>{first = new QLineEdit(this), second = new QLineEdit(this),
                                                           memo = new QPlainTextEdit(this), grid = new QTableView(this),
                                                           button = new QPushButton(QStringLiteral("&U redu"), this)})
            layout->addWidget(w);
        grid->setModel(new QStandardItemModel(2, 2, grid));
        connect(button, &QPushButton::clicked, this, [this] { ++pressed; });
        setGeometry(100, 80, 400, 300);
    }
    QLineEdit *first, *second;
    QPlainTextEdit *memo;
    QTableView *grid;
    QPushButton *button;
    int pressed = 0;
};

class SampleDialog : public Sample {
    Q_OBJECT
public:
    SampleDialog() { setObjectName(QStringLiteral("fSampleDijalog")); }
    bool isEditDialog() const override { return true; }
};

class tst_TcMain : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    static void store(const QString &section, int top, int left, int width, int height, const QString &status)
    {
        Globalini::WriteIniString(section, "Gore", QString::number(top));
        Globalini::WriteIniString(section, "Levo", QString::number(left));
        Globalini::WriteIniString(section, "Sirina", QString::number(width));
        Globalini::WriteIniString(section, "Visina", QString::number(height));
        Globalini::WriteIniString(section, "Status", status);
    }

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

    void missingSettingsKeepTheDesignedGeometry()
    {
        Sample w;
        w.show();
        QCOMPARE(w.geometry(), QRect(100, 80, 400, 300));
        QVERIFY(!w.isMaximized());
    }

    void restoresAndSavesUnderTheComponentName()
    {
        store("fSample", 50, 60, 500, 350, "1");
        {
            Sample w;
            w.show();
            QCOMPARE(w.pos(), QPoint(60, 50));
            QCOMPARE(w.size(), QSize(500, 350));
            w.move(70, 40);
            w.resize(520, 360);
            QTest::keyClick(w.first, Qt::Key_Escape); // closes, and saves
            QVERIFY(!w.isVisible());
        }
        QCOMPARE(Globalini::ReadIniString("fSample", "Gore", {}), QStringLiteral("40"));
        QCOMPARE(Globalini::ReadIniString("fSample", "Levo", {}), QStringLiteral("70"));
        QCOMPARE(Globalini::ReadIniString("fSample", "Sirina", {}), QStringLiteral("520"));
        QCOMPARE(Globalini::ReadIniString("fSample", "Visina", {}), QStringLiteral("360"));
        QCOMPARE(Globalini::ReadIniInteger("fSample", "Status", 0), 1);
    }

    void status_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("1 normal") << "1" << false;
        QTest::newRow("2 maximised") << "2" << true;
        QTest::newRow("0 maximised") << "0" << true;
        QTest::newRow("3 maximised") << "3" << true;
        QTest::newRow("abc reads as 1") << "abc" << false;
    }

    void status()
    {
        QFETCH(QString, status);
        QFETCH(bool, maximised);
        store("fSample", 10, 10, 300, 200, status);
        Sample w;
        w.show();
        QCOMPARE(w.isMaximized(), maximised);
        w.close();
        QCOMPARE(Globalini::ReadIniInteger("fSample", "Status", 0), maximised ? 2 : 1);
    }

    void editDialogKeepsItsDesignedSize()
    {
        store("fSampleDijalog", 30, 40, 900, 700, "1");
        SampleDialog d;
        d.show();
        QCOMPARE(d.pos(), QPoint(40, 30));
        QCOMPARE(d.size(), QSize(400, 300));
        d.close();
        // The section still holds the size it closed with.
        QCOMPARE(Globalini::ReadIniString("fSampleDijalog", "Sirina", {}), QStringLiteral("400"));
    }

    void centredWindowsIgnoreTheStoredPosition()
    {
        store("fSample", 5, 5, 300, 200, "1");
        Sample w;
        w.setPlacement(TcMain::Placement::ScreenCentre);
        w.show();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(w.frameGeometry().center().x() - area.center().x()) <= 1);
        QVERIFY(qAbs(w.frameGeometry().center().y() - area.center().y()) <= 1);
    }

    void badTopFailsTheShowButShowsTheWindow()
    {
        Globalini::WriteIniString("fSample", "Gore", "abc");
        Globalini::WriteIniString("fSample", "Sirina", "640");
        QString reported;
        test::onNextModal([&](QWidget *dialog) {
            reported = test::messageText(dialog);
            dialog->close();
        });
        Sample w;
        w.show();
        QCOMPARE(reported, QStringLiteral("Tekst : \n'abc' nije ispravna celobrojna vrednost\n\nObjekat : Sample\n\n"
                                          "Proverite sve neophodne operacije u programu."));
        QVERIFY(w.isVisible());
        QCOMPARE(w.width(), 400); // the restore stopped at the failure
    }

    void enterMovesToTheNextControl()
    {
        Sample w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.first->setFocus();
        QTest::keyClick(w.first, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.second);
        // A memo and a grid keep Enter.
        w.memo->setFocus();
        QTest::keyClick(w.memo, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.memo);
        QCOMPARE(w.memo->toPlainText(), QStringLiteral("\n"));
        w.grid->setFocus();
        QTest::keyClick(w.grid, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.grid);
        // A focused push button is pressed.
        w.button->setFocus();
        QTest::keyClick(w.button, Qt::Key_Return);
        QCOMPARE(w.pressed, 1);
        QVERIFY(w.isVisible());
    }

    void escapeClosesEvenWithUnsavedText()
    {
        Sample w;
        w.show();
        w.first->setText(QStringLiteral("nesačuvano"));
        const int top = w.y();
        QTest::keyClick(w.first, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(Globalini::ReadIniString("fSample", "Gore", {}), QString::number(top));
    }

    void programFont()
    {
        Sample w;
        QCOMPARE(w.font().pixelSize(), 11);
        QCOMPARE(w.font().family(), QStringLiteral("Tahoma"));
    }
};

VELMORA_TEST_MAIN(tst_TcMain)
#include "tst_tcmain.moc"
