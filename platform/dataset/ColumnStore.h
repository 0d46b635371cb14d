#pragma once

#include "ChunkedArray.h"
#include "platform/db/Types.h"

#include <QVariant>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::data {

// One result column held as a typed array: integers (32-bit, or 64-bit for
// dates as stored milliseconds and for values that need it), floating-point
// numbers, or UTF-8 text in block arenas. Search and sort caches live beside
// the values and follow every change.
class ColumnStore {
public:
    enum class Storage { Integer, Real, Text };

    explicit ColumnStore(const db::ColumnInfo &info);

    const db::ColumnInfo &info() const { return m_info; }
    Storage storage() const { return m_storage; }
    size_t size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }

    // Loading: one value per row, in row order.
    void appendNull();
    void appendInteger(qint64 value);
    void appendReal(double value);
    void appendText(std::string_view utf8);
    void appendDateTime(qint64 storedMsecs) { appendInteger(storedMsecs); }
    void appendVariant(const QVariant &value);
    void popBack();

    bool isNull(size_t row) const
    {
        return m_storage == Storage::Text ? m_addresses[row] == TextArena::kNone : m_null[row] != 0;
    }
    qint64 integer(size_t row) const { return m_wide ? m_ints64[row] : qint64(m_ints32[row]); }
    double real(size_t row) const { return m_reals[row]; }
    std::string_view text(size_t row) const
    {
        const uint32_t address = m_addresses[row];
        return address == TextArena::kNone ? std::string_view() : m_arena.at(address);
    }
    // The value in the column's own kind (QDateTime for dates); invalid for NULL.
    QVariant value(size_t row) const;
    void setValue(size_t row, const QVariant &value);

    // Lower-case (folded) copy of a text value, built for all rows at first use.
    std::string_view foldedText(size_t row) const;
    // ICU sort key of a text value, built for all rows at first use.
    std::string_view sortKey(size_t row) const;
    // The first 8 bytes of the sort key, big-endian, for a cheap first compare.
    uint64_t sortKeyPrefix(size_t row) const;

    // Converts a value given as text or number to this column's kind; invalid
    // when it does not convert.
    QVariant coerce(const QVariant &value) const;

    size_t memoryBytes() const;

private:
    void ensureFolded() const;
    void ensureKeys() const;
    void writeCaches(size_t row) const;
    void pushInteger(qint64 value, bool null);
    void storeInteger(size_t row, qint64 value);
    void widen();
    void pushText(std::string_view utf8);

    db::ColumnInfo m_info;
    Storage m_storage;
    bool m_wide = false;
    size_t m_size = 0;
    ChunkedArray<uint8_t> m_null;
    ChunkedArray<int32_t> m_ints32;
    ChunkedArray<qint64> m_ints64;
    ChunkedArray<double> m_reals;
    ChunkedArray<uint32_t> m_addresses; // TextArena::kNone for NULL
    TextArena m_arena;

    // Folded texts and sort keys, built for every row at first use.
    struct TextCache {
        bool built = false;
        TextArena arena;
        ChunkedArray<uint32_t> addresses;
        std::string_view at(size_t row) const { return arena.at(addresses[row]); }
        void set(size_t row, const std::string &bytes);
        size_t memoryBytes() const { return arena.memoryBytes() + addresses.memoryBytes(); }
    };
    mutable TextCache m_folded;
    mutable TextCache m_keys;
    mutable ChunkedArray<uint64_t> m_keyPrefix;
    mutable std::string m_scratch;
};

} // namespace velmora::data
