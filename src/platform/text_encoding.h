// text_encoding.h - conversion between UTF-8 (in memory) and CP932 (on disk).
//
// Both directions are strict: a character that has no round-trip mapping, or
// a malformed byte sequence, fails the whole conversion rather than being
// replaced, so no text is ever changed silently.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::optional<std::string> utf8ToCp932(std::string_view utf8);
std::optional<std::string> cp932ToUtf8(std::string_view cp932);

} // namespace platform
