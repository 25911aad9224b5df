// text_compare.h - the locale's comparison of texts, letter case ignored.
//
// File names and extensions are compared this way everywhere: page-list
// sorting, extension matching, catalog text columns. The order is the
// collation of the user's locale (LC_ALL, LC_COLLATE or LANG; Japanese when
// none is set, as the interface is) applied to the case-folded texts, with
// digits compared as characters, so "10.jpg" sorts before "2.jpg".
#pragma once

#include <string>
#include <string_view>

namespace platform {

// < 0, 0 or > 0 as `a` sorts before, with or after `b`. Texts are UTF-8;
// malformed bytes compare as U+FFFD.
int compareNoCase(std::string_view a, std::string_view b);

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return compareNoCase(a, b) == 0;
}

// A key whose byte-wise order is the order of compareNoCase: compare two keys
// with `<` or std::string::compare. For sorting many texts, make each key once.
std::string sortKeyNoCase(std::string_view text);

} // namespace platform
