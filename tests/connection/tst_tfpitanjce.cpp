#include "app/Globalini.h"
#include "app/Globals.h"
#include "connection/TfPitanjce.h"
#include "support/ModalDriver.h"
#include "support/TestMain.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace velmora;

class tst_TfPitanjce : public QObject {
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

    void layoutAndTexts()
    {
        TfPitanjce d;
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("Inicijalizacija servera"));
        QVERIFY(d.rbSql->isChecked());
        QCOMPARE(d.loginMode(), QStringLiteral("SQL"));
        const auto groups = d.findChildren<QGroupBox *>();
        QCOMPARE(groups.size(), 2);
        for (auto *group : groups)
            QVERIFY(group->font().bold());
        QVERIFY(d.btnOK->font().bold());
        QVERIFY(!d.edSerName->font().bold());
        QVERIFY(d.btnOK->x() < d.btnOdustani->x());
        QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    }

    void answers_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("nt");
        QTest::newRow("SQL") << "localhost" << false;
        QTest::newRow("NT") << "bolnica-srv:5433" << true;
        QTest::newRow("spaces count as a name") << "   " << false;
    }

    void answers()
    {
        QFETCH(QString, server);
        QFETCH(bool, nt);
        TfPitanjce d;
        test::onNextModal([&](QWidget *) {
            QTest::keyClicks(d.edSerName, server);
            // Enter moves from the field on, as in every window.
            QTest::keyClick(d.edSerName, Qt::Key_Return);
            QVERIFY(d.edSerName != QApplication::focusWidget());
            if (nt)
                d.rbNT->click();
            d.btnOK->click();
        });
        d.exec();
        QVERIFY(!d.endsProgram());
        QCOMPARE(d.serverName(), server);
        QCOMPARE(d.loginMode(), nt ? QStringLiteral("NT") : QStringLiteral("SQL"));
    }

    void emptyNameIsRefused()
    {
        TfPitanjce d;
        QString message;
        test::onNextModal([&](QWidget *) {
            test::onNextModal([&](QWidget *box) {
                message = test::messageText(box);
                QCOMPARE(box->windowTitle(), QStringLiteral("Velmora"));
                test::clickButton(box, QStringLiteral("U redu"));
                QVERIFY(d.isVisible());
                d.edSerName->setText(QStringLiteral("srv"));
                d.btnOK->click();
            });
            d.btnOK->click();
        });
        d.exec();
        QCOMPARE(message, QStringLiteral("Neispravan unos - ime servera je obavezno za unos"));
        QVERIFY(!d.endsProgram());
    }

    void cancelEndsTheProgram_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Odustani") << false;
        QTest::newRow("Escape") << true;
    }

    void cancelEndsTheProgram()
    {
        QFETCH(bool, escape);
        TfPitanjce d;
        test::onNextModal([&](QWidget *) {
            if (escape)
                QTest::keyClick(d.edSerName, Qt::Key_Escape);
            else
                d.btnOdustani->click();
        });
        d.exec();
        QVERIFY(d.endsProgram());
        // closed like every window: its geometry is kept
        QVERIFY(!Globalini::ReadIniString("fPitanjce", "Gore", {}).isEmpty());
    }
};

VELMORA_TEST_MAIN(tst_TfPitanjce)
#include "tst_tfpitanjce.moc"
