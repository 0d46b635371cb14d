#include "DateText.h"

namespace velmora::db {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<qint64>(doe) - 719468;
}

void civilFromDays(qint64 z, qint64 *y, unsigned *m, unsigned *d)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<qint64>(yoe) + era * 400 + (*m <= 2);
}

bool digits(std::string_view s, size_t at, size_t count, int *value)
{
    if (at + count > s.size())
        return false;
    int v = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        v = v * 10 + (s[i] - '0');
    }
    *value = v;
    return true;
}

} // namespace

bool parseIsoDateTime(std::string_view s, qint64 *msecs)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millis = 0;
    if (!digits(s, 0, 4, &year) || s.size() < 10 || s[4] != '-' || !digits(s, 5, 2, &month) || s[7] != '-'
        || !digits(s, 8, 2, &day))
        return false;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
        return false;
    size_t at = 10;
    if (at < s.size()) {
        if ((s[at] != ' ' && s[at] != 'T') || !digits(s, at + 1, 2, &hour) || at + 3 >= s.size() || s[at + 3] != ':'
            || !digits(s, at + 4, 2, &minute))
            return false;
        at += 6;
        if (at < s.size() && s[at] == ':') {
            if (!digits(s, at + 1, 2, &second))
                return false;
            at += 3;
            if (at < s.size() && s[at] == '.') {
                int scale = 100;
                for (++at; at < s.size() && s[at] >= '0' && s[at] <= '9'; ++at) {
                    millis += (s[at] - '0') * scale;
                    scale /= 10;
                }
            }
        }
        if (hour > 23 || minute > 59 || second > 59)
            return false;
    }
    if (year % 4 != 0 || (year % 100 == 0 && year % 400 != 0)) {
        if (month == 2 && day == 29)
            return false;
    }
    *msecs = ((daysFromCivil(year, unsigned(month), unsigned(day)) * 24 + hour) * 60 + minute) * 60000LL
             + second * 1000LL + millis;
    return true;
}

QString isoDateTimeText(qint64 msecs)
{
    qint64 days = msecs / 86400000;
    qint64 rest = msecs % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    qint64 y = 0;
    unsigned m = 0, d = 0;
    civilFromDays(days, &y, &m, &d);
    const int ms = int(rest % 1000);
    const int sec = int(rest / 1000);
    QString text = QStringLiteral("%1-%2-%3 %4:%5:%6")
                       .arg(y, 4, 10, QLatin1Char('0'))
                       .arg(m, 2, 10, QLatin1Char('0'))
                       .arg(d, 2, 10, QLatin1Char('0'))
                       .arg(sec / 3600, 2, 10, QLatin1Char('0'))
                       .arg(sec / 60 % 60, 2, 10, QLatin1Char('0'))
                       .arg(sec % 60, 2, 10, QLatin1Char('0'));
    if (ms)
        text += QStringLiteral(".%1").arg(ms, 3, 10, QLatin1Char('0'));
    return text;
}

} // namespace velmora::db
