#include "StartupHook.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace velmora {

bool runStartupHook(const QString &workingDirectory)
{
    const QDir dir(workingDirectory);
    if (!QFileInfo::exists(dir.filePath(QStringLiteral("setup.sql"))))
        return false;
    const QString script = dir.filePath(QStringLiteral("setup.sh"));
    if (!QFileInfo::exists(script))
        return false;
    return QProcess::startDetached(QStringLiteral("/bin/sh"), {script}, dir.absolutePath());
}

} // namespace velmora
