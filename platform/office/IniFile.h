#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <stdexcept>

namespace velmora::office {

class IniError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A Windows-style settings file in Windows-1250. Sections and keys compare
// without case; a write replaces the value in place or appends the key or the
// section, and every other line stays byte for byte as it was.
class IniFile {
public:
    // Reads the file; a missing file is an empty one.
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }
    bool exists() const;

    bool hasKey(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // A value that is not a whole number yields the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // Change the text in memory; save() puts it on disk.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    // Replaces the file as a whole, so a failed write leaves the old one; throws IniError.
    void save() const;

private:
    struct Location {
        qsizetype sectionLine = -1; // the "[section]" line
        qsizetype lastLine = -1;    // last non-blank line of the section
        qsizetype keyLine = -1;
    };
    Location locate(const QString &section, const QString &key) const;

    QString m_path;
    QList<QByteArray> m_lines;
    QByteArray m_eol = "\n";
};

} // namespace velmora::office
