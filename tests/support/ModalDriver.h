#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace velmora::test {

// Runs `action` on the next modal window that opens, while the caller blocks in
// its exec(). A window that does not appear within the timeout fails the test
// run through QFAIL-like output at the end of the wait (see waitForModalActions).
void onNextModal(std::function<void(QWidget *modal)> action, int timeoutMs = 5000);

// True when every action queued with onNextModal has run.
bool allModalActionsRan();

// The text of a TMessageForm (or any window with a QLabel named "Message").
QString messageText(QWidget *dialog);

// Presses the button whose caption, without "&", equals `caption`.
void clickButton(QWidget *dialog, const QString &caption);

} // namespace velmora::test
