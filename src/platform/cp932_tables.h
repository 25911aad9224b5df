// cp932_tables.h - ICU's CP932 (windows-31j) mapping as lookup tables.
//
// The tables are asked of ICU once, code by code, at first use, so a
// conversion through them gives exactly what ICU's strict converter gives,
// at the cost of a table lookup per character.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace platform {

// The UTF-8 form of the character a CP932 code stands for, packed: its up to
// three bytes from the lowest byte up, their count in the top byte; 0 when the
// code stands for none.
using Utf8Char = std::uint32_t;
inline unsigned utf8Length(Utf8Char character) { return character >> 24; }

struct Cp932Decoding {
    // What a byte stands for alone; 0 for a lead byte and for a byte that is
    // no character at all.
    std::array<Utf8Char, 256> single{};
    // What lead << 8 | trail stands for, for every byte that is not a
    // character alone.
    std::vector<Utf8Char> pairs;
};

// Per BMP code point its CP932 code: below 0x100 one byte, else lead << 8 |
// trail; kNoCp932 when it has none, kDroppedInCp932 when it has none but is
// left out without failing (ICU does so for default-ignorable characters).
inline constexpr std::uint16_t kNoCp932 = 0xFFFF;
inline constexpr std::uint16_t kDroppedInCp932 = 0xFFFE;
using Cp932Encoding = std::vector<std::uint16_t>;

// Empty tables (every code unmapped) when ICU has no CP932 converter.
const Cp932Decoding& cp932Decoding();
const Cp932Encoding& cp932Encoding();

// cp932Decoding without the codes that do not come back from writing their
// character: the second codes of characters that have two (the NEC and IBM
// rows share many), which ICU reads but always writes as the other.
const Cp932Decoding& cp932ExactDecoding();
// cp932Encoding likewise: kNoCp932 for a character whose code reads back as
// another (ICU writes some private-use characters with codes of others).
const Cp932Encoding& cp932ExactEncoding();

// The same for a code point beyond the BMP, which never has a code: asked of
// ICU each time, as such characters are rare in what is converted.
std::uint16_t cp932BeyondBmp(char32_t codePoint);

// ICU's fallback code for a character without a code of its own (the wave
// dash 〜 as ～, the minus sign − as －, kanji variants as the form CP932
// has), or kNoCp932. Asked of ICU each time.
std::uint16_t cp932Fallback(char32_t codePoint);

} // namespace platform
