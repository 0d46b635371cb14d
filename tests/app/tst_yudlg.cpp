#include "app/YUDlg.h"
#include "support/ModalDriver.h"
#include "support/TestMain.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

using namespace velmora;
using velmora::test::onNextModal;

Q_DECLARE_METATYPE(velmora::MsgDlgType)

namespace {

enum class Gesture { Enter, Escape, CloseBox };

void perform(QWidget *dialog, Gesture gesture)
{
    switch (gesture) {
    case Gesture::Enter:
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Return);
        break;
    case Gesture::Escape:
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
        break;
    case Gesture::CloseBox:
        dialog->close();
        break;
    }
}

QStringList captions(QWidget *dialog)
{
    QStringList list;
    auto buttons = dialog->findChildren<QPushButton *>();
    std::sort(buttons.begin(), buttons.end(), [](auto *a, auto *b) { return a->x() < b->x(); });
    for (auto *b : buttons)
        list << b->text();
    return list;
}

} // namespace

class tst_YUDlg : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        QVERIFY(test::allModalActionsRan());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void results_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("gesture");
        QTest::addColumn<int>("expected");
        const int enter = int(Gesture::Enter), escape = int(Gesture::Escape), closeBox = int(Gesture::CloseBox);
        QTest::newRow("yes/no, Enter is Yes") << (mbYes | mbNo) << enter << int(mrYes);
        QTest::newRow("yes/no, Escape is No") << (mbYes | mbNo) << escape << int(mrNo);
        QTest::newRow("yes/no, close box") << (mbYes | mbNo) << closeBox << int(mrCancel);
        QTest::newRow("OK, Enter") << int(mbOK) << enter << int(mrOk);
        QTest::newRow("OK, Escape is OK") << int(mbOK) << escape << int(mrOk);
        QTest::newRow("OK/Cancel, Escape") << (mbOK | mbCancel) << escape << int(mrCancel);
        QTest::newRow("yes/no/cancel, Enter") << (mbYes | mbNo | mbCancel) << enter << int(mrYes);
        QTest::newRow("yes/no/cancel, Escape") << (mbYes | mbNo | mbCancel) << escape << int(mrCancel);
        QTest::newRow("abort/retry/ignore, Enter is Retry") << (mbAbort | mbRetry | mbIgnore) << enter << int(mrRetry);
        QTest::newRow("abort/retry/ignore, close box") << (mbAbort | mbRetry | mbIgnore) << closeBox << int(mrCancel);
    }

    void results()
    {
        QFETCH(int, buttons);
        QFETCH(int, gesture);
        QFETCH(int, expected);
        onNextModal([gesture](QWidget *dialog) { perform(dialog, Gesture(gesture)); });
        QCOMPARE(MessageDialog(QStringLiteral("Obrisati podatak !!! "), mtConfirmation, buttons), expected);
    }

    void everyButtonInOrderWithItsResult()
    {
        const int all = 2047;
        const QStringList expectedCaptions = {"&Da", "&Ne", "&U Redu", "&Odustani", "Pre&kini", "Pono&vi",
                                              "&Ignoriši", "Uve&k", "Uvek N&e", "Uvek D&a", "&Pomoć"};
        const QList<int> results = {6, 7, 1, 2, 3, 4, 5, 8, 9, 10};
        for (int i = 0; i < results.size(); ++i) {
            onNextModal([&, i](QWidget *dialog) {
                const QStringList shown = captions(dialog);
                QCOMPARE(shown, expectedCaptions);
                // every button has the same width, the row is centred
                auto buttons = dialog->findChildren<QPushButton *>();
                for (auto *b : buttons)
                    QCOMPARE(b->width(), buttons.first()->width());
                int left = dialog->width(), right = 0;
                for (auto *b : buttons) {
                    left = std::min(left, b->x());
                    right = std::max(right, b->geometry().right() + 1);
                }
                QVERIFY(qAbs(left - (dialog->width() - right)) <= 1);
                test::clickButton(dialog, QString(expectedCaptions[i]).remove(u'&'));
            });
            QCOMPARE(MessageDialog(QStringLiteral("Tekst"), mtWarning, all), results[i]);
        }
    }

    void helpKeepsTheDialogOpen()
    {
        onNextModal([](QWidget *dialog) {
            // The help page is missing here: the program reports it, and the dialog stays.
            onNextModal([dialog](QWidget *report) {
                QVERIFY(test::messageText(report).startsWith(QStringLiteral("Datoteka pomoći ne postoji")));
                report->close();
                QVERIFY(dialog->isVisible());
                test::clickButton(dialog, QStringLiteral("Ne"));
            });
            test::clickButton(dialog, QStringLiteral("Pomoć"));
        });
        QCOMPARE(MessageDialog(QStringLiteral("Pitanje?"), mtConfirmation, mbYes | mbNo | mbHelp), int(mrNo));
    }

    void captionsAndIcons_data()
    {
        QTest::addColumn<MsgDlgType>("type");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<bool>("icon");
        QTest::newRow("warning") << mtWarning << "Upozorenje" << "Upozorenje" << true;
        QTest::newRow("error") << mtError << "Greška" << "Greska" << true;
        QTest::newRow("information") << mtInformation << "Obaveštenje" << "Informacije" << true;
        QTest::newRow("confirmation") << mtConfirmation << "Pitanje" << "Potvrdi" << true;
        QTest::newRow("custom") << mtCustom << "Velmora" << "Velmora" << false;
    }

    void captionsAndIcons()
    {
        QFETCH(MsgDlgType, type);
        QFETCH(QString, program);
        QFETCH(QString, plain);
        QFETCH(bool, icon);
        TMessageForm own(QStringLiteral("x"), type, mbOK, 0, CaptionSet::Program);
        QCOMPARE(own.windowTitle(), program);
        QCOMPARE(own.findChild<QLabel *>(QStringLiteral("Image")) != nullptr, icon);
        TMessageForm second(QStringLiteral("x"), type, mbOK, 0, CaptionSet::Plain);
        QCOMPARE(second.windowTitle(), plain);
        // Without an icon the text starts at the margin.
        const auto *text = own.findChild<QLabel *>(QStringLiteral("Message"));
        QCOMPARE(text->x() > 32, icon);
    }

    void layoutFollowsTheMessageFont()
    {
        const int halfScreen = QGuiApplication::primaryScreen()->geometry().width() / 2;
        QString words;
        for (int i = 0; i < 120; ++i)
            words += QStringLiteral("pacijent ");
        TMessageForm wrapped(words, mtWarning, mbOK, 0, CaptionSet::Program);
        const auto *text = wrapped.findChild<QLabel *>(QStringLiteral("Message"));
        QVERIFY(text->width() <= halfScreen);
        QVERIFY(text->height() > 3 * QFontMetrics(wrapped.font()).height());

        const QString unbroken(halfScreen / 4, u'W');
        TMessageForm wide(unbroken, mtWarning, mbOK, 0, CaptionSet::Program);
        const auto *wideText = wide.findChild<QLabel *>(QStringLiteral("Message"));
        QVERIFY(wideText->width() > halfScreen);
        QCOMPARE(wideText->height(), QFontMetrics(wide.font()).height());

        // Client height: text (or icon) + button height + spacing + margins.
        const QFontMetrics fm(wide.font());
        const int y = fm.height();
        const auto *button = wide.findChild<QPushButton *>();
        QCOMPARE(button->height(), qRound(14.0 * y / 8));
        QCOMPARE(wide.height(), std::max(y, 32) + button->height() + qRound(10.0 * y / 8) + 2 * qRound(8.0 * y / 8));
    }

    void carriageReturnsBreakLines()
    {
        TMessageForm form(QStringLiteral("Tekst : \rporuka\r\rkraj"), mtWarning, mbOK, 0, CaptionSet::Program);
        QCOMPARE(form.messageText(), QStringLiteral("Tekst : \nporuka\n\nkraj"));
    }

    void plainDialogCopiesItself()
    {
        QGuiApplication::clipboard()->clear();
        onNextModal([](QWidget *dialog) {
            QCOMPARE(captions(dialog), (QStringList{"&Da", "&Ne"}));
            QTest::keyClick(dialog, Qt::Key_C, Qt::ControlModifier);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(PlainMessageDialog(QStringLiteral("Backup je uspešno napravljen"), mtConfirmation, mbYes | mbNo), int(mrNo));
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY2(copied.contains(QStringLiteral("Potvrdi")) && copied.contains(QStringLiteral("Backup je uspešno napravljen"))
                     && copied.contains(QStringLiteral("Da   Ne")),
                 qPrintable(copied));
    }

    void plainInformationBox()
    {
        onNextModal([](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Velmora"));
            QCOMPARE(captions(dialog), QStringList{"U redu"});
            QVERIFY(!dialog->findChild<QLabel *>(QStringLiteral("Image")));
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        });
        PlainInformationBox(QStringLiteral("Neispravan unos"));
    }

    void inputBox()
    {
        onNextModal([](QWidget *dialog) {
            auto *edit = dialog->findChild<QLineEdit *>();
            edit->setText(QStringLiteral("/usr/bin/bsdtar"));
            test::clickButton(dialog, QStringLiteral("U redu"));
        });
        QCOMPARE(InputBox(QStringLiteral("WinRar putanja"), QStringLiteral("Putanja WinRar: "), QString()),
                 QStringLiteral("/usr/bin/bsdtar"));

        onNextModal([](QWidget *dialog) {
            dialog->findChild<QLineEdit *>()->setText(QStringLiteral("typed"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(InputBox(QStringLiteral("WinRar putanja"), QStringLiteral("Putanja WinRar: "), QStringLiteral("old")),
                 QStringLiteral("old"));
    }

    void platformMessageBox()
    {
        onNextModal([](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Velmora - erroR"));
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->text(), QStringLiteral("Nemate pravo pristupa nad bazom : ward\nPokušajte ponovo"));
            box->button(QMessageBox::Ok)->click();
        });
        PlatformMessageBox(QStringLiteral("Nemate pravo pristupa nad bazom : ward\rPokušajte ponovo"),
                           QStringLiteral("Velmora - erroR"));
    }
};

VELMORA_TEST_MAIN(tst_YUDlg)
#include "tst_yudlg.moc"
