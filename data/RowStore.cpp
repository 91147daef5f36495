#include "RowStore.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace korvat {

namespace {

constexpr std::size_t firstBlockSize = 16 * 1024;
constexpr std::size_t largestBlockSize = 1024 * 1024;
constexpr std::size_t alignment = alignof(double);  // rows are read with memcpy; this keeps them word-aligned

std::size_t roundUp(std::size_t bytes, std::size_t unit)
{
    return (bytes + unit - 1) / unit * unit;
}

}  // namespace

RowStore::~RowStore()
{
    clear();
}

char* RowStore::allocate(std::size_t bytes)
{
    bytes = roundUp(std::max<std::size_t>(bytes, 1), alignment);
    if (m_blocks.empty() || m_used + bytes > m_blocks.back().size)
        addBlock(bytes);
    char* room = m_blocks.back().data + m_used;
    m_used += bytes;
    return room;
}

void RowStore::addBlock(std::size_t atLeast)
{
    // Each block doubles the last, up to the largest size; a row larger than
    // that gets a block of its own size.
    std::size_t size =
        m_blocks.empty() ? firstBlockSize : std::min(m_blocks.back().size * 2, largestBlockSize);
    size = std::max(size, atLeast);
    m_blocks.reserve(m_blocks.size() + 1);
    char* data = static_cast<char*>(std::malloc(size));
    if (!data)
        throw std::bad_alloc();
    m_blocks.push_back({data, size});
    m_used = 0;
}

void RowStore::clear() noexcept
{
    for (const Block& block : m_blocks)
        std::free(block.data);
    m_blocks.clear();
    m_used = 0;
}

}  // namespace korvat
