// text_encoding.h - conversion between UTF-8 (in memory) and CP932 (on disk).
//
// Both directions are strict: a character that has no round-trip mapping, or
// a malformed byte sequence, fails the whole conversion rather than being
// replaced, so no text is ever changed silently. The mapping is ICU's
// windows-31j, taken into tables at first use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::optional<std::string> utf8ToCp932(std::string_view utf8);
std::optional<std::string> cp932ToUtf8(std::string_view cp932);

// The same conversions into a buffer of the caller's, for callers that
// gather many texts in one: `out` has room for cp932Room(utf8.size()) or
// utf8Room(cp932.size()) bytes. They return the end of what they wrote, or
// nullptr when the text does not convert (the room then holds anything).
inline constexpr std::size_t cp932Room(std::size_t utf8Bytes) { return utf8Bytes; }
inline constexpr std::size_t utf8Room(std::size_t cp932Bytes) { return 3 * cp932Bytes + 1; }
char* writeCp932(std::string_view utf8, char* out);
char* writeUtf8FromCp932(std::string_view cp932, char* out);

// The longest start of `utf8` of at most `limit` bytes that ends between
// characters.
std::string_view utf8Prefix(std::string_view utf8, std::size_t limit);

} // namespace platform
