// memory_block.h - the owned memory blocks that hold decoded pictures.
//
// A block is the plug-in interface's SpiBlock: the host makes its own blocks
// the same way plug-ins make theirs, so a picture's blocks are freed one way
// whoever allocated them. Every block has exactly one owner; passing a handle
// on passes the ownership with it.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

namespace platform {

using MemoryHandle = SpiHandle;

// A zero-filled block of `size` bytes; null when it cannot be had.
inline MemoryHandle allocateBlock(std::size_t size) {
    return spiAlloc(size);
}

// A block of `size` bytes whose contents are left as they come, for callers
// that write every byte: zero-filling a large block costs as much as writing
// it. Large blocks come from those lately freed where one is about the size
// asked for, so a picture replaced by one of the same size (a page turn, a
// conversion) reuses memory the process already holds instead of faulting in
// fresh pages. Freed like any other block; null when it cannot be had.
MemoryHandle allocateUnfilledBlock(std::size_t size);

// Frees a block; null is ignored. Large blocks are kept back for
// allocateUnfilledBlock, a few at a time.
void freeBlock(MemoryHandle block);

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
