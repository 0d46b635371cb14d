#include "IniFile.h"

#include "Cp1250.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace velmora::office {
namespace {

bool isSectionHeader(const QString &trimmed, QString *name)
{
    if (!trimmed.startsWith(u'['))
        return false;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return false;
    *name = trimmed.mid(1, close - 1).trimmed();
    return true;
}

bool isKeyLine(const QString &trimmed, QString *name, QString *value)
{
    if (trimmed.startsWith(u';'))
        return false;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq <= 0)
        return false;
    *name = trimmed.left(eq).trimmed();
    if (value)
        *value = trimmed.mid(eq + 1).trimmed();
    return true;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    if (content.contains("\r\n"))
        m_eol = "\r\n";
    m_lines = content.split('\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast(); // the final line break
    for (QByteArray &line : m_lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
}

bool IniFile::exists() const
{
    return QFileInfo::exists(m_path);
}

IniFile::Location IniFile::locate(const QString &section, const QString &key) const
{
    Location loc;
    bool inSection = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString trimmed = decodeCp1250(m_lines[i]).trimmed();
        QString name;
        if (isSectionHeader(trimmed, &name)) {
            if (inSection)
                break; // the section ended without the key
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                loc.sectionLine = loc.lastLine = i;
            continue;
        }
        if (!inSection || trimmed.isEmpty())
            continue;
        loc.lastLine = i;
        if (isKeyLine(trimmed, &name, nullptr) && name.compare(key, Qt::CaseInsensitive) == 0) {
            loc.keyLine = i;
            break;
        }
    }
    return loc;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return locate(section, key).keyLine >= 0;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Location loc = locate(section, key);
    if (loc.keyLine < 0)
        return defaultValue;
    QString name;
    QString value;
    isKeyLine(decodeCp1250(m_lines[loc.keyLine]).trimmed(), &name, &value);
    return value;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key, QString()).toInt(&ok);
    return ok ? value : defaultValue;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const Location loc = locate(section, key);
    if (loc.keyLine >= 0) {
        QByteArray &line = m_lines[loc.keyLine];
        line = line.left(line.indexOf('=') + 1) + encodeCp1250(value);
        return;
    }
    const QByteArray keyLine = encodeCp1250(key + u'=' + value);
    if (loc.sectionLine >= 0) {
        m_lines.insert(loc.lastLine + 1, keyLine);
        return;
    }
    if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
        m_lines.append(QByteArray());
    m_lines.append(encodeCp1250(u'[' + section + u']'));
    m_lines.append(keyLine);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::save() const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        throw IniError(QStringLiteral("Ne mogu da upišem datoteku %1: %2").arg(m_path, file.errorString()).toStdString());
    for (const QByteArray &line : m_lines) {
        file.write(line);
        file.write(m_eol);
    }
    if (!file.commit())
        throw IniError(QStringLiteral("Ne mogu da upišem datoteku %1: %2").arg(m_path, file.errorString()).toStdString());
}

} // namespace velmora::office
