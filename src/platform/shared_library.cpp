#include "platform/shared_library.h"

#include <dlfcn.h>

namespace platform {

LibraryHandle loadLibrary(const std::string& path) {
    // RTLD_LOCAL keeps each plug-in's symbols to itself: every plug-in exports
    // the same function names.
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* findFunction(LibraryHandle library, const char* name) {
    return library ? ::dlsym(library, name) : nullptr;
}

void freeLibrary(LibraryHandle library) {
    if (library) ::dlclose(library);
}

} // namespace platform
