#include "RowStore.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdlib>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace korvat {

namespace {

constexpr std::size_t firstBlockSize = 16 * 1024;
constexpr std::size_t largeBlockSize = 2 * 1024 * 1024;  // a huge page on x86-64 and arm64
constexpr std::size_t alignment = alignof(std::max_align_t);

std::size_t roundUp(std::size_t bytes, std::size_t unit)
{
    return (bytes + unit - 1) / unit * unit;
}

char* allocateBlock(std::size_t size)
{
    void* data = nullptr;
#ifdef Q_OS_LINUX
    if (size >= largeBlockSize) {
        data = std::aligned_alloc(largeBlockSize, size);
        // Only a hint: without huge pages the block is backed as any other.
        if (data)
            madvise(data, size, MADV_HUGEPAGE);
    } else {
        data = std::malloc(size);
    }
#else
    data = std::malloc(size);
#endif
    if (!data)
        throw std::bad_alloc();
    return static_cast<char*>(data);
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
    // Each block doubles the last, up to the large size; a row larger than
    // that gets a block of its own size.
    std::size_t size = m_blocks.empty() ? firstBlockSize : std::min(m_blocks.back().size * 2, largeBlockSize);
    if (atLeast > size)
        size = roundUp(atLeast, largeBlockSize);
    m_blocks.reserve(m_blocks.size() + 1);
    m_blocks.push_back({allocateBlock(size), size});
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
