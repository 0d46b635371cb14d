#include "KeypadFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace velmora {

bool KeypadFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool keypadDecimal = (key->modifiers() & Qt::KeypadModifier)
                               && (key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma)
                               && key->text() != QStringLiteral(",");
    if (!keypadDecimal)
        return false;
    QKeyEvent comma(key->type(), Qt::Key_Comma, key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
                    key->nativeModifiers(), QStringLiteral(","), key->isAutoRepeat(), key->count());
    QCoreApplication::sendEvent(watched, &comma);
    return true;
}

} // namespace velmora
