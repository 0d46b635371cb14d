#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::office {

// Windows-1250, the code page of the settings files. The five bytes the code
// page leaves undefined map to the C1 control points of the same value, so any
// byte sequence survives a decode and an encode unchanged.
QString decodeCp1250(const QByteArray &bytes);
// Characters outside the code page become '?', as the Windows conversion does.
QByteArray encodeCp1250(const QString &text);

} // namespace velmora::office
