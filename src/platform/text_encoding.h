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

// --- Keeping every byte and every character ----------------------------------
//
// For files that must keep their texts in CP932 whatever they hold (list
// files). Reading keeps every byte: a byte that does not begin a character
// whose code is exactly the bytes found (a byte ICU cannot decode, a lead byte
// without its trail, the second code of a character that has two) becomes the
// stand-in kByteStandIn + byte, a private-use character. Writing never fails:
// a stand-in becomes its byte again, so what was read writes back byte for
// byte; a character with a code takes it; a default-ignorable one (U+200B,
// U+00AD, variation selectors) is left out as ICU leaves it out; any other the
// form nearestCp932 gives it; a byte that is not UTF-8 is written as it is (a
// name from a disk in the old Japanese encoding is CP932 already).

inline constexpr char32_t kByteStandIn = 0x10FF00;

// `out` has room for utf8KeepingRoom(cp932.size()) bytes; returns the end of
// what was written.
inline constexpr std::size_t utf8KeepingRoom(std::size_t cp932Bytes) { return 4 * cp932Bytes; }
char* writeUtf8KeepingBytes(std::string_view cp932, char* out);

struct NearestCp932 {
    std::size_t length = 0; // bytes written
    std::size_t taken = 0;  // bytes of the text they stand for: whole characters
    bool exact = true;      // writeUtf8KeepingBytes gives back exactly those
};

// Writes the CP932 form of `utf8` into `out`, which has room for `limit`
// bytes, stopping before the first character whose form would pass `limit`.
NearestCp932 writeNearestCp932(std::string_view utf8, std::size_t limit, char* out);

} // namespace platform
