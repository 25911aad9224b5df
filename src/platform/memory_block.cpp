#include "platform/memory_block.h"

#include <algorithm>
#include <cstdlib>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

namespace {

// Blocks up to this size come from the heap, whose freed memory is reused;
// only larger ones are mapped (and unmapped) on their own. The C library's
// largest setting.
constexpr int kMappedFromBytes = 32 << 20;
// Freed memory at the heap's top is handed back only beyond this much.
constexpr int kReturnedBeyondBytes = 256 << 20;

} // namespace

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kMappedFromBytes);
    mallopt(M_TRIM_THRESHOLD, kReturnedBeyondBytes);
    // At most two heaps: with a heap per thread, pictures decoded on the
    // decoding threads and freed on this one stay in their thread's heap,
    // and the process holds several times the pictures it uses (a 60-page
    // two-page read peaked at 408 MB against 349). One heap for all threads
    // peaks no lower, and made the second turn of a two-page book a third
    // slower than the others: its pictures no longer fitted the memory the
    // first ones freed.
    mallopt(M_ARENA_MAX, 2);
#endif
}

void prepareFreedMemory(std::size_t bytes) {
#if defined(__GLIBC__)
    static std::size_t prepared = 0;
    if (bytes <= prepared) return;
    // In pieces the heap serves, which coalesce again once freed.
    std::vector<unsigned char*> pieces;
    for (std::size_t left = bytes; left > 0;) {
        const std::size_t piece = std::min<std::size_t>(left, kMappedFromBytes / 2);
        auto* memory = static_cast<unsigned char*>(std::malloc(piece));
        if (!memory) break;
        for (std::size_t at = 0; at < piece; at += 4096)
            memory[at] = 0;
        pieces.push_back(memory);
        left -= piece;
    }
    for (unsigned char* memory : pieces)
        std::free(memory);
    prepared = bytes;
#else
    (void)bytes;
#endif
}


} // namespace platform
