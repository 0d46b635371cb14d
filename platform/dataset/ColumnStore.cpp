#include "ColumnStore.h"

#include "Collation.h"
#include "TextFold.h"
#include "platform/core/Formatting.h"
#include "platform/db/DateText.h"

#include <QDateTime>

#include <charconv>
#include <limits>

namespace velmora::data {
namespace {

ColumnStore::Storage storageFor(db::ColumnType type)
{
    switch (type) {
    case db::ColumnType::Integer:
    case db::ColumnType::SmallInt:
    case db::ColumnType::Boolean:
    case db::ColumnType::DateTime:
        return ColumnStore::Storage::Integer;
    case db::ColumnType::Float:
        return ColumnStore::Storage::Real;
    default:
        return ColumnStore::Storage::Text;
    }
}

uint64_t prefixOf(std::string_view key)
{
    uint64_t p = 0;
    for (size_t i = 0; i < 8; ++i)
        p = (p << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return p;
}

bool fitsInt32(qint64 v)
{
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

} // namespace

void ColumnStore::TextCache::set(size_t row, const std::string &bytes)
{
    const uint32_t address = arena.append(bytes.data(), bytes.size());
    if (row == addresses.size())
        addresses.push_back(address);
    else
        addresses[row] = address;
}

ColumnStore::ColumnStore(const db::ColumnInfo &info)
    : m_info(info)
    , m_storage(storageFor(info.type))
    // Dates are milliseconds; expressions may count past 32 bits.
    , m_wide(info.type == db::ColumnType::DateTime || info.baseTable.isEmpty())
{
}

void ColumnStore::widen()
{
    ChunkedArray<qint64> wide;
    for (size_t i = 0; i < m_ints32.size(); ++i)
        wide.push_back(m_ints32[i]);
    m_ints64 = std::move(wide);
    m_ints32.clear();
    m_wide = true;
}

void ColumnStore::pushInteger(qint64 value, bool null)
{
    if (!m_wide && !fitsInt32(value))
        widen();
    if (m_wide)
        m_ints64.push_back(value);
    else
        m_ints32.push_back(int32_t(value));
    m_null.push_back(null ? 1 : 0);
    ++m_size;
}

void ColumnStore::storeInteger(size_t row, qint64 value)
{
    if (!m_wide && !fitsInt32(value))
        widen();
    if (m_wide)
        m_ints64[row] = value;
    else
        m_ints32[row] = int32_t(value);
}

void ColumnStore::pushText(std::string_view utf8)
{
    m_addresses.push_back(m_arena.append(utf8.data(), utf8.size()));
    ++m_size;
}

void ColumnStore::appendNull()
{
    switch (m_storage) {
    case Storage::Integer:
        pushInteger(0, true);
        break;
    case Storage::Real:
        m_reals.push_back(0);
        m_null.push_back(1);
        ++m_size;
        break;
    case Storage::Text:
        m_addresses.push_back(TextArena::kNone);
        ++m_size;
        break;
    }
    if (m_folded.built || m_keys.built)
        writeCaches(m_size - 1);
}

void ColumnStore::appendInteger(qint64 value)
{
    switch (m_storage) {
    case Storage::Integer:
        pushInteger(value, false);
        break;
    case Storage::Real:
        appendReal(double(value));
        return;
    case Storage::Text: {
        char buffer[24];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        appendText(std::string_view(buffer, size_t(end - buffer)));
        return;
    }
    }
    if (m_folded.built || m_keys.built)
        writeCaches(m_size - 1);
}

void ColumnStore::appendReal(double value)
{
    switch (m_storage) {
    case Storage::Real:
        m_reals.push_back(value);
        m_null.push_back(0);
        ++m_size;
        break;
    case Storage::Integer:
        appendInteger(qint64(value));
        return;
    case Storage::Text:
        appendText(format::numberToText(value).toStdString());
        return;
    }
    if (m_folded.built || m_keys.built)
        writeCaches(m_size - 1);
}

void ColumnStore::appendText(std::string_view utf8)
{
    switch (m_storage) {
    case Storage::Text:
        pushText(utf8);
        break;
    case Storage::Integer:
    case Storage::Real: {
        // A text in a number or date column: a driver that has no declared type for it.
        const QVariant v = coerce(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
        if (!v.isValid())
            appendNull();
        else if (m_storage == Storage::Real)
            appendReal(v.toDouble());
        else if (m_info.type == db::ColumnType::DateTime)
            appendInteger(db::toStoredMsecs(v.toDateTime()));
        else
            appendInteger(v.toLongLong());
        return;
    }
    }
    if (m_folded.built || m_keys.built)
        writeCaches(m_size - 1);
}

void ColumnStore::appendVariant(const QVariant &value)
{
    appendNull();
    setValue(m_size - 1, value);
}

void ColumnStore::popBack()
{
    --m_size;
    switch (m_storage) {
    case Storage::Integer:
        if (m_wide)
            m_ints64.pop_back();
        else
            m_ints32.pop_back();
        m_null.pop_back();
        break;
    case Storage::Real:
        m_reals.pop_back();
        m_null.pop_back();
        break;
    case Storage::Text:
        m_addresses.pop_back();
        break;
    }
    if (m_folded.built)
        m_folded.addresses.pop_back();
    if (m_keys.built) {
        m_keys.addresses.pop_back();
        m_keyPrefix.pop_back();
    }
}

QVariant ColumnStore::value(size_t row) const
{
    if (isNull(row))
        return QVariant();
    switch (m_storage) {
    case Storage::Integer:
        if (m_info.type == db::ColumnType::DateTime)
            return db::fromStoredMsecs(integer(row));
        if (m_info.type == db::ColumnType::Boolean)
            return integer(row) != 0;
        return integer(row);
    case Storage::Real:
        return m_reals[row];
    case Storage::Text: {
        const std::string_view t = text(row);
        return QString::fromUtf8(t.data(), qsizetype(t.size()));
    }
    }
    return QVariant();
}

QVariant ColumnStore::coerce(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    switch (m_storage) {
    case Storage::Integer:
        if (m_info.type == db::ColumnType::DateTime) {
            if (value.typeId() == QMetaType::QDateTime)
                return value;
            if (value.typeId() == QMetaType::QDate)
                return value.toDate().startOfDay();
            const QString text = value.toString().trimmed();
            qint64 msecs = 0;
            const QByteArray utf8 = text.toUtf8();
            if (db::parseIsoDateTime(std::string_view(utf8.constData(), size_t(utf8.size())), &msecs))
                return db::fromStoredMsecs(msecs);
            bool ok = false;
            const QDate date = format::textToDate(text.section(u' ', 0, 0), &ok);
            if (!ok || !date.isValid())
                return QVariant();
            const QTime time = QTime::fromString(text.section(u' ', 1), QStringLiteral("H:mm:ss"));
            return QDateTime(date, time.isValid() ? time : QTime(0, 0));
        } else {
            if (value.typeId() == QMetaType::Bool)
                return qint64(value.toBool() ? 1 : 0);
            bool ok = false;
            const qint64 n = isText ? value.toString().trimmed().toLongLong(&ok) : value.toLongLong(&ok);
            if (ok)
                return n;
            if (isText) {
                // "Da"/"Ne" of the flags, and whole numbers typed with a decimal part of zero
                const QString t = value.toString().trimmed();
                if (t.compare(QLatin1String("Da"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                    return qint64(1);
                if (t.compare(QLatin1String("Ne"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                    return qint64(0);
                const double d = format::textToNumber(t, &ok);
                if (ok && d == double(qint64(d)))
                    return qint64(d);
            }
            return QVariant();
        }
    case Storage::Real: {
        bool ok = false;
        const double d = isText ? format::textToNumber(value.toString(), &ok) : value.toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    case Storage::Text:
        if (value.typeId() == QMetaType::QDateTime)
            return format::dateTimeToText(value.toDateTime());
        if (value.typeId() == QMetaType::Double)
            return format::numberToText(value.toDouble());
        return value.toString();
    }
    return QVariant();
}

void ColumnStore::setValue(size_t row, const QVariant &raw)
{
    const QVariant value = coerce(raw);
    switch (m_storage) {
    case Storage::Integer:
        m_null[row] = value.isValid() ? 0 : 1;
        storeInteger(row, !value.isValid()                              ? 0
                          : m_info.type == db::ColumnType::DateTime ? db::toStoredMsecs(value.toDateTime())
                                                                    : value.toLongLong());
        break;
    case Storage::Real:
        m_null[row] = value.isValid() ? 0 : 1;
        m_reals[row] = value.isValid() ? value.toDouble() : 0;
        break;
    case Storage::Text:
        if (!value.isValid()) {
            m_addresses[row] = TextArena::kNone;
        } else {
            const QByteArray utf8 = value.toString().toUtf8();
            m_addresses[row] = m_arena.append(utf8.constData(), size_t(utf8.size()));
        }
        break;
    }
    if (m_folded.built || m_keys.built)
        writeCaches(row);
}

void ColumnStore::writeCaches(size_t row) const
{
    const std::string_view t = m_storage == Storage::Text ? text(row) : std::string_view();
    if (m_folded.built) {
        m_scratch.clear();
        appendFolded(t, m_scratch);
        m_folded.set(row, m_scratch);
    }
    if (m_keys.built) {
        m_scratch.clear();
        Collation::serbian().appendSortKey(t, m_scratch);
        m_keys.set(row, m_scratch);
        if (row == m_keyPrefix.size())
            m_keyPrefix.push_back(prefixOf(m_scratch));
        else
            m_keyPrefix[row] = prefixOf(m_scratch);
    }
}

void ColumnStore::ensureFolded() const
{
    if (m_folded.built)
        return;
    m_folded = TextCache();
    for (size_t row = 0; row < m_size; ++row) {
        m_scratch.clear();
        if (m_storage == Storage::Text)
            appendFolded(text(row), m_scratch);
        m_folded.set(row, m_scratch);
    }
    m_folded.built = true;
}

void ColumnStore::ensureKeys() const
{
    if (m_keys.built)
        return;
    m_keys = TextCache();
    m_keyPrefix.clear();
    Collation &collation = Collation::serbian();
    for (size_t row = 0; row < m_size; ++row) {
        m_scratch.clear();
        if (m_storage == Storage::Text && !isNull(row))
            collation.appendSortKey(text(row), m_scratch);
        m_keys.set(row, m_scratch);
        m_keyPrefix.push_back(prefixOf(m_scratch));
    }
    m_keys.built = true;
}

std::string_view ColumnStore::foldedText(size_t row) const
{
    ensureFolded();
    return m_folded.at(row);
}

std::string_view ColumnStore::sortKey(size_t row) const
{
    ensureKeys();
    return m_keys.at(row);
}

uint64_t ColumnStore::sortKeyPrefix(size_t row) const
{
    ensureKeys();
    return m_keyPrefix[row];
}

size_t ColumnStore::memoryBytes() const
{
    return m_null.memoryBytes() + m_ints32.memoryBytes() + m_ints64.memoryBytes() + m_reals.memoryBytes()
           + m_addresses.memoryBytes() + m_arena.memoryBytes() + m_folded.memoryBytes()
           + m_keys.memoryBytes() + m_keyPrefix.memoryBytes();
}

} // namespace velmora::data
