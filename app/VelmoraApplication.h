#pragma once

#include <QApplication>

namespace velmora {

// The application object: the title "Velmora", and the one place where an
// error that no window handled ends up, so the program reports it and goes on.
class VelmoraApplication : public QApplication {
    Q_OBJECT
public:
    VelmoraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace velmora
