// file_filter.h - the file-type filter of the open dialog.
//
// The plug-in host writes the filter as texts ended by zero characters, taken
// in pairs (a description, then its patterns separated by ";"), the list
// closed by an empty text: "All Files(*.*)\0*.*\0BMP files(*.bmp)\0*.bmp\0\0".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FileFilterPair {
    std::string description;
    std::string patterns; // as given, e.g. "*.jpg;*.jpeg"
};

// The pairs of `filter`, in order. Reading stops at the first empty text or
// at the end of the bytes, whichever comes first; a description without
// patterns is dropped.
std::vector<FileFilterPair> parseFileFilter(std::string_view filter);

// The patterns as a list, "*.*" read as every file ("*"), empty parts dropped.
std::vector<std::string> splitFilterPatterns(std::string_view patterns);

} // namespace platform
