#pragma once

#include <QObject>

namespace velmora {

// Application-wide: the keypad's decimal key types ",", the program's decimal
// separator. With NumLock off the key arrives as the keypad's Delete and
// passes unchanged, as does every other key.
class KeypadFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace velmora
