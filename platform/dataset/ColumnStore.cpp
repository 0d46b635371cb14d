#include "ColumnStore.h"

#include "Collation.h"
#include "TextFold.h"
#include "platform/core/Formatting.h"
#include "platform/db/DateText.h"

#include <QDateTime>

#include <charconv>

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

} // namespace

ColumnStore::ColumnStore(const db::ColumnInfo &info)
    : m_info(info)
    , m_storage(storageFor(info.type))
{
}

void ColumnStore::reserve(size_t rows)
{
    m_null.reserve(rows);
    switch (m_storage) {
    case Storage::Integer: m_ints.reserve(rows); break;
    case Storage::Real: m_reals.reserve(rows); break;
    case Storage::Text:
        m_offsets.reserve(rows);
        m_lengths.reserve(rows);
        break;
    }
}

void ColumnStore::appendNull()
{
    m_null.push_back(1);
    switch (m_storage) {
    case Storage::Integer: m_ints.push_back(0); break;
    case Storage::Real: m_reals.push_back(0); break;
    case Storage::Text:
        m_offsets.push_back(uint32_t(m_arena.size()));
        m_lengths.push_back(0);
        break;
    }
    if (m_foldedBuilt || m_keysBuilt)
        writeCaches(size() - 1);
}

void ColumnStore::appendInteger(qint64 value)
{
    switch (m_storage) {
    case Storage::Integer:
        m_null.push_back(0);
        m_ints.push_back(value);
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
    if (m_foldedBuilt || m_keysBuilt)
        writeCaches(size() - 1);
}

void ColumnStore::appendReal(double value)
{
    switch (m_storage) {
    case Storage::Real:
        m_null.push_back(0);
        m_reals.push_back(value);
        break;
    case Storage::Integer:
        appendInteger(qint64(value));
        return;
    case Storage::Text:
        appendText(format::numberToText(value).toStdString());
        return;
    }
    if (m_foldedBuilt || m_keysBuilt)
        writeCaches(size() - 1);
}

void ColumnStore::appendText(std::string_view utf8)
{
    switch (m_storage) {
    case Storage::Text:
        m_null.push_back(0);
        m_offsets.push_back(uint32_t(m_arena.size()));
        m_lengths.push_back(uint32_t(utf8.size()));
        m_arena.append(utf8);
        break;
    case Storage::Integer: {
        // A text in an integer or date column: a driver that has no declared type for it.
        const QVariant v = coerce(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
        if (!v.isValid())
            appendNull();
        else if (m_info.type == db::ColumnType::DateTime)
            appendInteger(db::toStoredMsecs(v.toDateTime()));
        else
            appendInteger(v.toLongLong());
        return;
    }
    case Storage::Real: {
        const QVariant v = coerce(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
        if (v.isValid())
            appendReal(v.toDouble());
        else
            appendNull();
        return;
    }
    }
    if (m_foldedBuilt || m_keysBuilt)
        writeCaches(size() - 1);
}

void ColumnStore::appendVariant(const QVariant &value)
{
    appendNull();
    setValue(size() - 1, value);
}

void ColumnStore::popBack()
{
    m_null.pop_back();
    switch (m_storage) {
    case Storage::Integer: m_ints.pop_back(); break;
    case Storage::Real: m_reals.pop_back(); break;
    case Storage::Text:
        m_offsets.pop_back();
        m_lengths.pop_back();
        break;
    }
    if (m_foldedBuilt) {
        m_foldedOffsets.pop_back();
        m_foldedLengths.pop_back();
    }
    if (m_keysBuilt) {
        m_keyOffsets.pop_back();
        m_keyLengths.pop_back();
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
            return db::fromStoredMsecs(m_ints[row]);
        if (m_info.type == db::ColumnType::Boolean)
            return m_ints[row] != 0;
        return m_ints[row];
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
    if (!value.isValid()) {
        m_null[row] = 1;
        if (m_storage == Storage::Text)
            m_lengths[row] = 0;
    } else {
        m_null[row] = 0;
        switch (m_storage) {
        case Storage::Integer:
            m_ints[row] = m_info.type == db::ColumnType::DateTime ? db::toStoredMsecs(value.toDateTime()) : value.toLongLong();
            break;
        case Storage::Real:
            m_reals[row] = value.toDouble();
            break;
        case Storage::Text: {
            const QByteArray utf8 = value.toString().toUtf8();
            m_offsets[row] = uint32_t(m_arena.size());
            m_lengths[row] = uint32_t(utf8.size());
            m_arena.append(utf8.constData(), size_t(utf8.size()));
            break;
        }
        }
    }
    if (m_foldedBuilt || m_keysBuilt)
        writeCaches(row);
}

void ColumnStore::writeCaches(size_t row) const
{
    const std::string_view t = m_storage == Storage::Text && !isNull(row) ? text(row) : std::string_view();
    if (m_foldedBuilt) {
        if (m_foldedOffsets.size() <= row) {
            m_foldedOffsets.resize(row + 1);
            m_foldedLengths.resize(row + 1);
        }
        const size_t start = m_foldedArena.size();
        appendFolded(t, m_foldedArena);
        m_foldedOffsets[row] = uint32_t(start);
        m_foldedLengths[row] = uint32_t(m_foldedArena.size() - start);
    }
    if (m_keysBuilt) {
        if (m_keyOffsets.size() <= row) {
            m_keyOffsets.resize(row + 1);
            m_keyLengths.resize(row + 1);
            m_keyPrefix.resize(row + 1);
        }
        const size_t start = m_keyArena.size();
        Collation::serbian().appendSortKey(t, m_keyArena);
        m_keyOffsets[row] = uint32_t(start);
        m_keyLengths[row] = uint32_t(m_keyArena.size() - start);
        m_keyPrefix[row] = prefixOf(sortKey(row));
    }
}

void ColumnStore::ensureFolded() const
{
    if (m_foldedBuilt)
        return;
    const size_t n = size();
    m_foldedOffsets.resize(n);
    m_foldedLengths.resize(n);
    m_foldedArena.clear();
    m_foldedArena.reserve(m_arena.size());
    for (size_t row = 0; row < n; ++row) {
        const size_t start = m_foldedArena.size();
        if (m_storage == Storage::Text && !isNull(row))
            appendFolded(text(row), m_foldedArena);
        m_foldedOffsets[row] = uint32_t(start);
        m_foldedLengths[row] = uint32_t(m_foldedArena.size() - start);
    }
    m_foldedBuilt = true;
}

void ColumnStore::ensureKeys() const
{
    if (m_keysBuilt)
        return;
    const size_t n = size();
    m_keyOffsets.resize(n);
    m_keyLengths.resize(n);
    m_keyPrefix.resize(n);
    m_keyArena.clear();
    m_keyArena.reserve(m_arena.size() * 2);
    Collation &collation = Collation::serbian();
    for (size_t row = 0; row < n; ++row) {
        const size_t start = m_keyArena.size();
        if (m_storage == Storage::Text && !isNull(row))
            collation.appendSortKey(text(row), m_keyArena);
        m_keyOffsets[row] = uint32_t(start);
        m_keyLengths[row] = uint32_t(m_keyArena.size() - start);
    }
    for (size_t row = 0; row < n; ++row)
        m_keyPrefix[row] = prefixOf(std::string_view(m_keyArena.data() + m_keyOffsets[row], m_keyLengths[row]));
    m_keysBuilt = true;
}

std::string_view ColumnStore::foldedText(size_t row) const
{
    ensureFolded();
    return std::string_view(m_foldedArena.data() + m_foldedOffsets[row], m_foldedLengths[row]);
}

std::string_view ColumnStore::sortKey(size_t row) const
{
    ensureKeys();
    return std::string_view(m_keyArena.data() + m_keyOffsets[row], m_keyLengths[row]);
}

uint64_t ColumnStore::sortKeyPrefix(size_t row) const
{
    ensureKeys();
    return m_keyPrefix[row];
}

size_t ColumnStore::memoryBytes() const
{
    return m_null.capacity() + m_ints.capacity() * sizeof(qint64) + m_reals.capacity() * sizeof(double)
           + (m_offsets.capacity() + m_lengths.capacity()) * sizeof(uint32_t) + m_arena.capacity()
           + m_foldedArena.capacity() + (m_foldedOffsets.capacity() + m_foldedLengths.capacity()) * sizeof(uint32_t)
           + m_keyArena.capacity() + (m_keyOffsets.capacity() + m_keyLengths.capacity()) * sizeof(uint32_t)
           + m_keyPrefix.capacity() * sizeof(uint64_t);
}

} // namespace velmora::data
