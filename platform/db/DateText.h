#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

namespace velmora::db {

// "YYYY-MM-DD[ HH:MM[:SS[.fff...]]]" (a "T" may stand for the space) to the
// stored milliseconds of Types.h; false when the text is no such date.
bool parseIsoDateTime(std::string_view text, qint64 *msecs);
// The canonical text of a date-time: "YYYY-MM-DD HH:MM:SS", with ".zzz" when
// there are milliseconds.
QString isoDateTimeText(qint64 msecs);

} // namespace velmora::db
