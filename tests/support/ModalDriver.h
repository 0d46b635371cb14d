#pragma once

#include <QString>

#include <functional>

class QObject;

class QWidget;

namespace velmora::test {

// Runs `action` on the next modal window that opens, while the caller blocks in
// its exec(). A window that does not appear is reported, and allModalActionsRan()
// stays false, which the tests' cleanup() checks.
void onNextModal(std::function<void(QWidget *modal)> action, int timeoutMs = 5000);
// Handles the modal windows that open while it lives (a call that may or may
// not show a message); it stops with the scope.
class ModalHandler {
public:
    explicit ModalHandler(std::function<void(QWidget *modal)> action);
    ~ModalHandler();
    ModalHandler(const ModalHandler &) = delete;
    ModalHandler &operator=(const ModalHandler &) = delete;
    int handled() const { return m_handled; }

private:
    QObject *m_timer;
    int m_handled = 0;
};

// True when every action queued with onNextModal has run.
bool allModalActionsRan();

// The text of a TMessageForm (or any window with a QLabel named "Message").
QString messageText(QWidget *dialog);

// Types text the way a keyboard does, Serbian letters included.
void typeText(QWidget *widget, const QString &text);

// Presses the button whose caption, without "&", equals `caption`.
void clickButton(QWidget *dialog, const QString &caption);

} // namespace velmora::test
