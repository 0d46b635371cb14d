#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace velmora::data {

// Memory for the column store in blocks of up to 2 MiB; a full-size block is
// aligned for, and offered to, transparent huge pages, so loading a million
// rows does not take a page fault for every 4 KiB it fills.
namespace blocks {

constexpr size_t kBlockBytes = size_t(1) << 21;

void *allocate(size_t bytes);
// Moves a small block into a larger one (the first block of a column grows
// this way until it reaches full size).
void *grow(void *block, size_t usedBytes, size_t newBytes);

struct Free {
    void operator()(void *p) const { std::free(p); }
};
using Block = std::unique_ptr<char, Free>;

} // namespace blocks

// An array that grows without moving what it holds: full blocks of 2 MiB, and
// before them one first block that starts small and doubles, so a catalogue
// of forty rows takes a few hundred bytes and a million rows take no copies.
template <class T>
class ChunkedArray {
public:
    static constexpr unsigned kBits = unsigned(std::bit_width(blocks::kBlockBytes / sizeof(T))) - 1;
    static constexpr size_t kBlock = size_t(1) << kBits;

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    [[gnu::always_inline]] void push_back(const T &value)
    {
        if (m_size == m_capacity) [[unlikely]]
            grow();
        m_tail[m_size & (kBlock - 1)] = value;
        ++m_size;
    }
    void pop_back() { --m_size; }
    void clear()
    {
        m_blocks.clear();
        m_size = m_capacity = 0;
        m_tail = nullptr;
    }

    T &operator[](size_t i) { return reinterpret_cast<T *>(m_blocks[i >> kBits].get())[i & (kBlock - 1)]; }
    const T &operator[](size_t i) const { return reinterpret_cast<const T *>(m_blocks[i >> kBits].get())[i & (kBlock - 1)]; }

    size_t memoryBytes() const
    {
        return (m_blocks.size() > 1 ? (m_blocks.size() - 1) * kBlock * sizeof(T) : 0)
               + (m_blocks.empty() ? 0 : (m_blocks.size() == 1 ? m_capacity : kBlock) * sizeof(T))
               + m_blocks.capacity() * sizeof(void *);
    }

private:
    [[gnu::noinline]] void grow()
    {
        if (m_blocks.size() == 1 && m_capacity < kBlock) {
            // The first block doubles until it is a full one.
            const size_t capacity = std::min(kBlock, m_capacity * 2);
            m_blocks[0].reset(static_cast<char *>(blocks::grow(m_blocks[0].release(), m_size * sizeof(T), capacity * sizeof(T))));
            m_capacity = capacity;
        } else {
            const size_t capacity = m_blocks.empty() ? std::min<size_t>(kBlock, 64) : kBlock;
            m_blocks.emplace_back(static_cast<char *>(blocks::allocate(capacity * sizeof(T))));
            m_capacity = m_blocks.size() == 1 ? capacity : m_capacity + kBlock;
        }
        m_tail = reinterpret_cast<T *>(m_blocks.back().get());
    }

    std::vector<blocks::Block> m_blocks;
    T *m_tail = nullptr;   // the block that takes the next element
    size_t m_size = 0;
    size_t m_capacity = 0; // elements the blocks can hold
};

// Text bytes in blocks, each text preceded by its length (a varint). A text
// never straddles two blocks (one longer than a block gets a block of its
// own), so each stays one contiguous view.
class TextArena {
public:
    static constexpr unsigned kOffsetBits = 21;
    static constexpr size_t kBlockSize = size_t(1) << kOffsetBits;
    // An address no text has: the last block is never used.
    static constexpr uint32_t kNone = 0xFFFFFFFFu;

    // Where the text was put: block << 21 | offset.
    uint32_t append(const char *data, size_t size);
    std::string_view at(uint32_t address) const
    {
        const auto *p = reinterpret_cast<const unsigned char *>(m_blocks[address >> kOffsetBits].data.get()
                                                                + (address & (kBlockSize - 1)));
        size_t length = *p & 0x7F;
        if (*p++ & 0x80) [[unlikely]] {
            for (unsigned shift = 7;; shift += 7) {
                length |= size_t(*p & 0x7F) << shift;
                if (!(*p++ & 0x80))
                    break;
            }
        }
        return std::string_view(reinterpret_cast<const char *>(p), length);
    }
    void clear() { m_blocks.clear(); }
    size_t memoryBytes() const;

private:
    struct Block {
        blocks::Block data;
        size_t capacity;
        size_t used;
    };
    [[gnu::noinline]] void makeRoom(size_t size);
    std::vector<Block> m_blocks;
};

} // namespace velmora::data
