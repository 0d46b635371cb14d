#include "ChunkedArray.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <sys/mman.h>

namespace velmora::data {
namespace blocks {

void *allocate(size_t bytes)
{
    void *p = nullptr;
    if (bytes >= kBlockBytes) {
        const size_t rounded = (bytes + kBlockBytes - 1) & ~(kBlockBytes - 1);
        p = std::aligned_alloc(kBlockBytes, rounded);
        if (p)
            madvise(p, rounded, MADV_HUGEPAGE); // a hint: without huge pages the block works the same
    } else {
        p = std::malloc(bytes);
    }
    if (!p)
        throw std::bad_alloc();
    return p;
}

void *grow(void *block, size_t usedBytes, size_t newBytes)
{
    void *bigger = allocate(newBytes);
    if (usedBytes)
        std::memcpy(bigger, block, usedBytes);
    std::free(block);
    return bigger;
}

} // namespace blocks

void TextArena::makeRoom(size_t needed)
{
    if (m_blocks.size() == 1 && m_blocks[0].capacity < kBlockSize && m_blocks[0].used + needed <= kBlockSize) {
        // The first block doubles until it is a full one: a small catalogue stays small.
        Block &first = m_blocks[0];
        size_t capacity = first.capacity;
        while (capacity < first.used + needed)
            capacity *= 2;
        capacity = std::min(capacity, kBlockSize);
        first.data.reset(static_cast<char *>(blocks::grow(first.data.release(), first.used, capacity)));
        first.capacity = capacity;
        return;
    }
    if (m_blocks.size() + 1 >= (size_t(1) << (32 - kOffsetBits)))
        throw std::length_error("text column larger than 4 GiB");
    const size_t capacity = m_blocks.empty() ? std::max<size_t>(4096, needed) : std::max(kBlockSize, needed);
    m_blocks.push_back(Block{blocks::Block(static_cast<char *>(blocks::allocate(capacity))), capacity, 0});
}

uint32_t TextArena::append(const char *data, size_t size)
{
    const size_t needed = size + 5; // the longest varint
    if (m_blocks.empty() || m_blocks.back().used + needed > m_blocks.back().capacity) [[unlikely]]
        makeRoom(needed);
    Block &block = m_blocks.back();
    const uint32_t address = uint32_t((m_blocks.size() - 1) << kOffsetBits) | uint32_t(block.used);
    auto *p = reinterpret_cast<unsigned char *>(block.data.get() + block.used);
    size_t length = size;
    while (length >= 0x80) {
        *p++ = static_cast<unsigned char>(length | 0x80);
        length >>= 7;
    }
    *p++ = static_cast<unsigned char>(length);
    if (size)
        std::memcpy(p, data, size);
    block.used = size_t(reinterpret_cast<char *>(p) - block.data.get()) + size;
    return address;
}

size_t TextArena::memoryBytes() const
{
    size_t bytes = m_blocks.capacity() * sizeof(Block);
    for (const Block &block : m_blocks)
        bytes += block.capacity;
    return bytes;
}

} // namespace velmora::data
