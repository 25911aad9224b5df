#include "platform/memory_block.h"

#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

// Blocks from 1 MiB to 256 MiB are kept back when freed, up to kKept of them.
constexpr std::size_t kKeptMinSize = std::size_t{1} << 20;
constexpr std::size_t kKeptMaxSize = std::size_t{1} << 28;
constexpr int kKept = 2;

struct KeptBlocks {
    std::mutex lock;
    MemoryHandle blocks[kKept] = {};
    std::size_t capacity[kKept] = {};
    int oldest = 0;

    // A kept block that holds `size` bytes and wastes at most a quarter.
    MemoryHandle take(std::size_t size) {
        const std::lock_guard<std::mutex> hold(lock);
        for (int k = 0; k < kKept; ++k)
            if (blocks[k] && capacity[k] >= size && capacity[k] - size <= size / 4) {
                MemoryHandle block = blocks[k];
                blocks[k] = nullptr;
                return block;
            }
        return nullptr;
    }

    // Keeps the block in an empty place or the oldest one's; returns the
    // block that makes way, or null.
    MemoryHandle keep(MemoryHandle block) {
        const std::lock_guard<std::mutex> hold(lock);
        int k = 0;
        while (k < kKept && blocks[k])
            ++k;
        if (k == kKept) {
            k = oldest;
            oldest = (oldest + 1) % kKept;
        }
        MemoryHandle out = blocks[k];
        blocks[k] = block;
        capacity[k] = block->size;
        block->magic = 0; // a stale handle to it is no longer valid
        return out;
    }
};

// Never destroyed: buffers that outlive it at exit still free through it.
KeptBlocks& kept() {
    static KeptBlocks* const blocks = new KeptBlocks;
    return *blocks;
}

} // namespace

MemoryHandle allocateUnfilledBlock(std::size_t size) {
    if (size > static_cast<std::size_t>(-1) - SPI_BLOCK_HEADER_BYTES) return nullptr;
    MemoryHandle block = size >= kKeptMinSize ? kept().take(size) : nullptr;
    if (!block) {
        block = static_cast<MemoryHandle>(std::malloc(SPI_BLOCK_HEADER_BYTES + (size ? size : 1)));
        if (!block) return nullptr;
    }
    block->magic = SPI_BLOCK_MAGIC;
    block->reserved = 0;
    block->size = size;
    return block;
}

void freeBlock(MemoryHandle block) {
    if (spiIsValid(block) && block->size >= kKeptMinSize && block->size <= kKeptMaxSize)
        block = kept().keep(block);
    if (block) std::free(block); // a block that made way no longer carries the magic
}

} // namespace platform
