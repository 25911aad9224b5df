// Feeds arbitrary bytes to the built-in BMP reader, as an archive member.
#include <cstring>

#include "sources/page_list.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static PageList list("/nonexistent/");
    platform::MemoryHandle block = platform::allocateBlock(size);
    if (size) std::memcpy(platform::lockBlock(block), data, size);
    if (list.readBmpMemory(block, size)) {
        platform::freeBlock(list.loadedHeader);
        platform::freeBlock(list.loadedBits);
    }
    platform::freeBlock(block);
    return 0;
}
