#include "Formatting.h"

#include <QLocale>

namespace velmora::format {
namespace {

Settings &mutableSettings()
{
    static Settings s;
    return s;
}

QString qtDateFormat()
{
    const Settings &s = settings();
    QString format = s.shortDateFormat;
    format.replace(u'/', s.dateSeparator);
    return format;
}

} // namespace

const Settings &settings()
{
    return mutableSettings();
}

void applyProgramSettings()
{
    mutableSettings() = Settings{};
    // Serbian (Latin) uses the same separators, so Qt's spin boxes and
    // validators agree with the program's own conversions.
    QLocale locale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);
}

void restoreUserDateFormat()
{
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    QChar separator = u'.';
    for (const QChar c : format) {
        if (!c.isLetter() && !c.isSpace()) {
            separator = c;
            break;
        }
    }
    format.replace(separator, u'/');
    Settings &s = mutableSettings();
    s.dateSeparator = separator;
    s.shortDateFormat = format;
}

QString dateToText(const QDate &date)
{
    return date.isValid() ? date.toString(qtDateFormat()) : QString();
}

QString dateTimeToText(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return QString();
    const QString date = dateToText(dateTime.date());
    if (dateTime.time() == QTime(0, 0))
        return date;
    return date + u' ' + dateTime.time().toString(QStringLiteral("HH:mm:ss"));
}

QDate textToDate(const QString &text, bool *ok)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        if (ok)
            *ok = true;
        return QDate();
    }
    QDate date = QDate::fromString(trimmed, qtDateFormat());
    if (!date.isValid()) {
        // Single-digit day and month are typed as often as the padded form.
        QString loose = settings().shortDateFormat;
        loose.replace(QStringLiteral("dd"), QStringLiteral("d")).replace(QStringLiteral("MM"), QStringLiteral("M"));
        loose.replace(u'/', settings().dateSeparator);
        date = QDate::fromString(trimmed, loose);
    }
    if (ok)
        *ok = date.isValid();
    return date;
}

QString numberToText(double value, int decimals)
{
    QString text = decimals < 0 ? QString::number(value, 'g', 15) : QString::number(value, 'f', decimals);
    text.replace(u'.', settings().decimalSeparator);
    return text;
}

double textToNumber(const QString &text, bool *ok)
{
    const Settings &s = settings();
    QString plain = text.trimmed();
    if (s.thousandSeparator != s.decimalSeparator)
        plain.remove(s.thousandSeparator);
    plain.replace(s.decimalSeparator, u'.');
    return plain.toDouble(ok);
}

} // namespace velmora::format
