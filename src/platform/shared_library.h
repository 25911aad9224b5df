// shared_library.h - shared objects loaded by path, functions found by name.
#pragma once

#include <string>

namespace platform {

// An opaque handle to a loaded library; null when nothing is loaded.
using LibraryHandle = void*;

// Loads the library at `path` (a path with a separator is taken as it is).
LibraryHandle loadLibrary(const std::string& path);

// The address of the exported function `name`, or null when it is missing.
void* findFunction(LibraryHandle library, const char* name);

// Unloads a library; null is ignored.
void freeLibrary(LibraryHandle library);

} // namespace platform
