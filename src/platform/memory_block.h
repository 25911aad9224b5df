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
// it. Freed like any other block; null when it cannot be had.
inline MemoryHandle allocateUnfilledBlock(std::size_t size) {
    return spiAllocUnfilled(size);
}

// Frees a block; null is ignored.
inline void freeBlock(MemoryHandle block) {
    spiFree(block);
}

// Makes the C library keep freed memory for the next allocations instead of
// handing it back to the system at once. Decoded pictures are large and are
// replaced all the time: by default the first ones are mapped afresh for each
// allocation, and every first touch of their pages costs a fault, until the
// library's own thresholds have grown past a picture's size. A picture that
// takes the place of one of about its size then reuses memory the process
// already holds. Threads share at most two heaps. Process-wide; call it
// before the first picture is decoded and before other threads start.
void keepFreedMemoryForReuse();

// Faults in `bytes` of memory that the next allocations will take, once
// keepFreedMemoryForReuse is in force: the first turn after a book opens
// then decodes into memory the process already holds, like every later one.
// Only bytes beyond those prepared before are touched. Message-loop thread.
void prepareFreedMemory(std::size_t bytes);

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
