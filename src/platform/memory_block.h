// memory_block.h - the owned memory blocks that hold decoded pictures.
//
// A block is the plug-in interface's SpiBlock: the host makes its own blocks
// the same way plug-ins make theirs, so a picture's blocks are freed one way
// whoever allocated them. Every block has exactly one owner; passing a handle
// on passes the ownership with it.
#pragma once

#include <cstddef>
#include <cstdlib>

#include "susie_plugin.h"

namespace platform {

using MemoryHandle = SpiHandle;

// A zero-filled block of `size` bytes; null when it cannot be had.
inline MemoryHandle allocateBlock(std::size_t size) {
    return spiAlloc(size);
}

// A block of `size` bytes whose contents are left as the allocator hands them
// over, for callers that write every byte: zero-filling a large block costs
// as much as writing it. Freed like any other block; null when it cannot be
// had.
inline MemoryHandle allocateUnfilledBlock(std::size_t size) {
    if (size > static_cast<std::size_t>(-1) - SPI_BLOCK_HEADER_BYTES) return nullptr;
    auto* block =
        static_cast<MemoryHandle>(std::malloc(SPI_BLOCK_HEADER_BYTES + (size ? size : 1)));
    if (!block) return nullptr;
    block->magic = SPI_BLOCK_MAGIC;
    block->reserved = 0;
    block->size = size;
    return block;
}

// Frees a block; null is ignored.
inline void freeBlock(MemoryHandle block) {
    spiFree(block);
}

// The block's bytes (null for an invalid handle). Blocks never move.
inline unsigned char* lockBlock(MemoryHandle block) {
    return static_cast<unsigned char*>(spiLock(block));
}

inline std::size_t blockSize(MemoryHandle block) {
    return spiSize(block);
}

inline bool isValidBlock(MemoryHandle block) {
    return spiIsValid(block) != 0;
}

} // namespace platform
