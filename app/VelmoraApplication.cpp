#include "VelmoraApplication.h"

#include "ErrorHandler.h"

namespace velmora {

VelmoraApplication::VelmoraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora"));
    setApplicationVersion(QStringLiteral(VELMORA_VERSION));
}

bool VelmoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        reportError(error, receiver);
    }
    return false;
}

} // namespace velmora
