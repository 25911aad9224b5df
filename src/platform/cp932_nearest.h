// cp932_nearest.h - what CP932 can hold in place of a character it has no
// code for.
#pragma once

#include <cstddef>

namespace platform {

// The longest form nearestCp932 gives one character.
inline constexpr std::size_t kNearestCp932Most = 8;

// Writes into `form` (room for kNearestCp932Most bytes) the CP932 bytes
// nearest to `codePoint`, a character without a code of its own, and returns
// their count. In order of preference: ICU's fallback (〜 as ～, − as －,
// — as ―, kanji variants as the form CP932 has); the full-width sign CP932
// has for ¢ £ ¬ ¯; the letters of its compatibility decomposition with the
// accents left out (é as e, ﬁ as fi, ㌀ as アパート); nothing for an accent
// alone; else "?".
std::size_t nearestCp932(char32_t codePoint, char* form);

} // namespace platform
