#include "Globalini.h"

#include "Globals.h"
#include "platform/office/Cp1250.h"
#include "platform/office/IniFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velmora::Globalini {

QString mainSettingsPath()
{
    return Globals.ProgramFolder + QCoreApplication::applicationName() + QStringLiteral(".ini");
}

QString executableSettingsPath()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    // The executable named after the program ("velmora" on Linux) shares the
    // main settings file, as the two names meet on a file system that ignores case.
    if (exe.completeBaseName().compare(QCoreApplication::applicationName(), Qt::CaseInsensitive) == 0)
        return mainSettingsPath();
    return exe.absolutePath() + u'/' + exe.completeBaseName() + QStringLiteral(".ini");
}

QString versionFilePath()
{
    return Globals.ProgramFolder + QStringLiteral("Verzija.ini");
}

QString emailFilePath()
{
    return Globals.ProgramFolder + QStringLiteral("email.ini");
}

QString ReadIniString(const QString &section, const QString &key, const QString &defaultValue)
{
    return office::IniFile(mainSettingsPath()).readString(section, key, defaultValue);
}

int ReadIniInteger(const QString &section, const QString &key, int defaultValue)
{
    return office::IniFile(mainSettingsPath()).readInteger(section, key, defaultValue);
}

void WriteIniString(const QString &section, const QString &key, const QString &value)
{
    office::IniFile file(mainSettingsPath());
    file.writeString(section, key, value);
    file.save();
}

void WriteIniInteger(const QString &section, const QString &key, int value)
{
    WriteIniString(section, key, QString::number(value));
}

void WriteVersionRecord()
{
    office::IniFile file(versionFilePath());
    file.writeString(QStringLiteral("Verzija"), QString::number(Globals.ProgramNumber), QStringLiteral(VELMORA_VERSION));
    file.save();
}

EmailSettings ReadEmailSettings()
{
    const office::IniFile file(emailFilePath());
    EmailSettings s;
    s.exists = file.exists();
    const QString section = QStringLiteral("EMail");
    s.recipient = file.readString(section, QStringLiteral("EMail"), QString());
    s.smtpHost = file.readString(section, QStringLiteral("SMTP"), QString());
    s.sender = file.readString(section, QStringLiteral("EmailFrom"), QString());
    return s;
}

QByteArray ScrambleText(const QByteArray &text)
{
    QByteArray out = text;
    for (char &c : out) {
        if (c != '\r')
            c = static_cast<char>((static_cast<unsigned char>(c) + 128) % 256);
    }
    return out;
}

QByteArray UnscrambleText(const QByteArray &text)
{
    return ScrambleText(text); // +128 and -128 are the same modulo 256
}

QString ScrambleText(const QString &text)
{
    return office::decodeCp1250(ScrambleText(office::encodeCp1250(text)));
}

QString UnscrambleText(const QString &text)
{
    return ScrambleText(text);
}

} // namespace velmora::Globalini
