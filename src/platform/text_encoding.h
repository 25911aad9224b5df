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

// The same conversions appending to `out`, for callers that gather many
// texts in one buffer; on failure `out` is left as it was.
bool appendCp932(std::string& out, std::string_view utf8);
bool appendUtf8FromCp932(std::string& out, std::string_view cp932);

} // namespace platform
