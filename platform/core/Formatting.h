#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>

// The process-wide number and date formats. Every conversion of a number or a
// date to or from text in the program goes through here, so that grids, edit
// fields, reports and SQL date literals agree: decimal ",", thousands ".",
// dates dd.MM.yyyy.
namespace velmora::format {

struct Settings {
    QChar decimalSeparator = u',';
    QChar thousandSeparator = u'.';
    QChar dateSeparator = u'.';
    // "/" stands for the date separator.
    QString shortDateFormat = QStringLiteral("dd/MM/yyyy");
};

const Settings &settings();

// The program's formats, set once at start-up; also makes Qt's own editors
// use the same separators.
void applyProgramSettings();
// Gives the date separator and the short date format back to the user's locale;
// the number separators stay as they are.
void restoreUserDateFormat();

QString dateToText(const QDate &date);
QString dateTimeToText(const QDateTime &dateTime); // the date, then hh:mm:ss when not midnight
// Accepts the short date format; an empty text gives a null date with ok = true.
QDate textToDate(const QString &text, bool *ok = nullptr);

QString numberToText(double value, int decimals = -1);
// Accepts the decimal separator and ignores the thousands separator.
double textToNumber(const QString &text, bool *ok = nullptr);

} // namespace velmora::format
