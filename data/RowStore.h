#pragma once

#include <cstddef>
#include <vector>

namespace korvat {

// Room for one data set's stored rows, handed out row after row from blocks
// that are all freed together when the data set lets its rows go. Blocks
// grow with the rows up to 1 MiB; a row then costs no allocation of its own
// and no allocator's bookkeeping beside its bytes.
class RowStore {
public:
    RowStore() = default;
    ~RowStore();
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    // Room for `bytes`, word-aligned. It stays until clear().
    char* allocate(std::size_t bytes);
    // Frees every block: the rooms handed out are gone.
    void clear() noexcept;

private:
    struct Block {
        char* data;
        std::size_t size;
    };
    void addBlock(std::size_t atLeast);

    std::vector<Block> m_blocks;
    std::size_t m_used = 0;  // of the last block
};

}  // namespace korvat
