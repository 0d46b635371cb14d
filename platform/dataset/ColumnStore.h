#pragma once

#include "platform/db/Types.h"

#include <QVariant>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::data {

// One result column held as a typed array: integers (also flags and dates, as
// stored milliseconds), floating-point numbers, or UTF-8 text in one arena.
// Search and sort caches live beside the values and follow every change.
class ColumnStore {
public:
    enum class Storage { Integer, Real, Text };

    explicit ColumnStore(const db::ColumnInfo &info);

    const db::ColumnInfo &info() const { return m_info; }
    Storage storage() const { return m_storage; }
    size_t size() const { return m_null.size(); }

    // Loading: one value per row, in row order.
    void appendNull();
    void appendInteger(qint64 value);
    void appendReal(double value);
    void appendText(std::string_view utf8);
    void appendDateTime(qint64 storedMsecs) { appendInteger(storedMsecs); }
    void appendVariant(const QVariant &value);
    void popBack();
    void reserve(size_t rows);

    bool isNull(size_t row) const { return m_null[row] != 0; }
    qint64 integer(size_t row) const { return m_ints[row]; }
    double real(size_t row) const { return m_reals[row]; }
    std::string_view text(size_t row) const
    {
        return std::string_view(m_arena.data() + m_offsets[row], m_lengths[row]);
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

    db::ColumnInfo m_info;
    Storage m_storage;
    std::vector<uint8_t> m_null;
    std::vector<qint64> m_ints;
    std::vector<double> m_reals;
    std::vector<uint32_t> m_offsets;
    std::vector<uint32_t> m_lengths;
    std::string m_arena;

    mutable bool m_foldedBuilt = false;
    mutable std::string m_foldedArena;
    mutable std::vector<uint32_t> m_foldedOffsets;
    mutable std::vector<uint32_t> m_foldedLengths;
    mutable bool m_keysBuilt = false;
    mutable std::string m_keyArena;
    mutable std::vector<uint32_t> m_keyOffsets;
    mutable std::vector<uint32_t> m_keyLengths;
    mutable std::vector<uint64_t> m_keyPrefix;
};

} // namespace velmora::data
