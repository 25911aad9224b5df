// hostile_loader.cpp - opens one file through the real loader, as the viewer
// does, and says what came of it on its standard output:
//   picture WIDTH HEIGHT    the picture the buffer holds
//   error TEXT              the page list's error text
//   refused                 a picture the picture buffer would not handle
// Usage: hostile_loader PLUGIN_FOLDER PATH
//
// The suite runs it under an address-space limit. Outside the sanitizer
// build every allocation of the C library is watched as well: one that fails
// ends the process at once with kAllocationFailed, so that a decoder that
// asks for more than the limit is caught even when it would have coped.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "picture/picture_buffer.h"
#include "sources/page_list.h"

namespace {

constexpr int kAllocationFailed = 86;

} // namespace

#if !defined(__SANITIZE_ADDRESS__)
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);

namespace {
// Reports the size asked for without allocating anything.
[[noreturn]] void allocationFailed(size_t size) {
    char line[64];
    const int length = std::snprintf(line, sizeof line, "allocation of %zu bytes failed\n", size);
    if (length > 0) (void)!::write(2, line, size_t(length));
    ::_exit(kAllocationFailed);
}
} // namespace

void* malloc(size_t size) {
    void* p = __libc_malloc(size);
    if (!p && size) allocationFailed(size);
    return p;
}

void* calloc(size_t count, size_t size) {
    void* p = __libc_calloc(count, size);
    if (!p && count && size) allocationFailed(count * size);
    return p;
}

void* realloc(void* old, size_t size) {
    void* p = __libc_realloc(old, size);
    if (!p && size) allocationFailed(size);
    return p;
}

void* memalign(size_t alignment, size_t size) {
    void* p = __libc_memalign(alignment, size);
    if (!p && size) allocationFailed(size);
    return p;
}

void* aligned_alloc(size_t alignment, size_t size) {
    return memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) {
    *out = memalign(alignment, size);
    return 0;
}
}
#endif

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    PageList pages(argv[1]);
    if (!pages.open(argv[2])) {
        std::printf("error %s\n", pages.errorText.c_str());
        return 0;
    }
    PictureBuffer picture;
    picture.attach(pages.loadedHeader, pages.loadedBits);
    if (!picture.isHandled()) {
        std::printf("refused\n");
        return 0;
    }
    std::printf("picture %d %d\n", picture.width, picture.height);
    return 0;
}
