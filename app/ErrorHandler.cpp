#include "ErrorHandler.h"

#include "YUDlg.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace velmora {

QString errorReportText(const QString &message, const QString &objectTypeName)
{
    const QString shown = message.startsWith(QLatin1String("DELETE"), Qt::CaseSensitive)
                              ? QStringLiteral("Ne mozete obrisati ovaj podatak")
                              : message;
    return QStringLiteral("Tekst : \r") + shown + QStringLiteral("\r\rObjekat : ") + objectTypeName
           + QStringLiteral("\r\rProverite sve neophodne operacije u programu.");
}

QString objectTypeName(const QObject *origin)
{
    if (!origin)
        return QApplication::applicationName();
    // Events reach top-level widgets through their platform window; name the widget.
    if (const auto *window = qobject_cast<const QWindow *>(origin)) {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == window)
                return QString::fromLatin1(widget->metaObject()->className());
        }
    }
    return QString::fromLatin1(origin->metaObject()->className());
}

void reportError(const QString &message, const QObject *origin)
{
    MessageDialog(errorReportText(message, objectTypeName(origin)), mtWarning, mbOK);
}

void reportError(const std::exception &error, const QObject *origin)
{
    if (dynamic_cast<const SilentAbort *>(&error))
        return;
    reportError(QString::fromUtf8(error.what()), origin);
}

} // namespace velmora
