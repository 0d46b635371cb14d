#pragma once

#include <QByteArray>
#include <QString>

// The program's settings files. The four routines reach the main settings file
// ("Velmora.ini" in the program folder); each opens it, does one read or one
// write and closes it, so every key is on disk as soon as it is written.
namespace velmora::Globalini {

QString ReadIniString(const QString &section, const QString &key, const QString &defaultValue);
int ReadIniInteger(const QString &section, const QString &key, int defaultValue);
void WriteIniString(const QString &section, const QString &key, const QString &value);
void WriteIniInteger(const QString &section, const QString &key, int value);

// The program folder + the application title + ".ini": the file of the
// window geometry.
QString mainSettingsPath();
// The executable's own path with its extension replaced by ".ini": the file
// of the login and the backup. Both are "Velmora.ini" when the executable is
// named after the program, in any case ("velmora").
QString executableSettingsPath();
// "Verzija.ini" in the program folder.
QString versionFilePath();
// "email.ini" in the program folder.
QString emailFilePath();

// Writes the compiled program version under "Verzija", key ProgramNumber.
void WriteVersionRecord();

struct EmailSettings {
    bool exists = false;
    QString recipient;  // "EMail"
    QString smtpHost;   // "SMTP"
    QString sender;     // "EmailFrom"
};
EmailSettings ReadEmailSettings();

// Byte-wise scrambling of the stored administrator connection: every byte but
// carriage return moves by 128, so the two routines are the same operation.
QByteArray ScrambleText(const QByteArray &text);
QByteArray UnscrambleText(const QByteArray &text);
// The same on text, through Windows-1250 (the settings files' code page).
QString ScrambleText(const QString &text);
QString UnscrambleText(const QString &text);

} // namespace velmora::Globalini
