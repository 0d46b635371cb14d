#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace velmora::test {
namespace {

int pending = 0;

void watch(std::function<void(QWidget *)> action, int timeoutMs)
{
    ++pending;
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto *timer = new QTimer(qApp);
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, qApp, [=]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != before && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            --pending;
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            qWarning("onNextModal: no modal window appeared within %d ms", timeoutMs);
        }
    });
    timer->start(10);
}

} // namespace

void onNextModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    watch(std::move(action), timeoutMs);
}

ModalHandler::ModalHandler(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(qApp);
    m_timer = timer;
    QPointer<QWidget> before = QApplication::activeModalWidget();
    QObject::connect(timer, &QTimer::timeout, qApp, [this, timer, before, action]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != before && modal->isVisible() && !modal->property("velmoraHandled").toBool()) {
            modal->setProperty("velmoraHandled", true);
            ++m_handled;
            timer->stop();
            action(modal);
            timer->start(10);
        }
    });
    timer->start(10);
}

ModalHandler::~ModalHandler()
{
    delete m_timer;
}

bool allModalActionsRan()
{
    return pending == 0;
}

QString messageText(QWidget *dialog)
{
    const auto *label = dialog->findChild<QLabel *>(QStringLiteral("Message"));
    return label ? label->text() : QString();
}

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void clickButton(QWidget *dialog, const QString &caption)
{
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (button->text().remove(u'&') == caption) {
            button->click();
            return;
        }
    }
    qWarning("clickButton: no button '%s'", qPrintable(caption));
}

} // namespace velmora::test
