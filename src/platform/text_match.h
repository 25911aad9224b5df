// text_match.h - finding and replacing a text inside another the way a reader
// of Japanese expects: letter case, half-width and full-width forms, hiragana
// and katakana, symbols and nonspacing marks can each be ignored.
//
// Texts are UTF-8. Both texts are cut into characters, where a half-width
// katakana followed by a half-width voicing mark counts as the one character
// it stands for (ｶﾞ is one character, like ガ). The search text of k
// characters is compared with every run of k consecutive characters of the
// searched text; a run matches when both fold to the same key under the
// options. An empty search text matches everything.
#pragma once

#include <string>
#include <string_view>

namespace platform {

enum MatchOption : unsigned {
    kMatchIgnoreCase = 1,      // A = a, Ａ = ａ, Σ = σ
    kMatchIgnoreWidth = 2,     // A = Ａ, ｶ = カ, ｶﾞ = ガ
    kMatchIgnoreKanaType = 4,  // か = カ
    kMatchIgnoreSymbols = 8,   // punctuation, symbols and spaces are left out of the comparison
    kMatchIgnoreNonSpace = 16, // combining marks are left out: é = e, が = か
};

bool matchText(std::string_view search, std::string_view text, unsigned options);

// Replaces each matching run, scanning left to right; a run that overlaps one
// already replaced is not replaced again. `result` receives the new text (the
// text itself when nothing matched), reusing its storage, so a replacement
// over many cells allocates little. True when any run was replaced.
bool replaceInText(std::string_view search, std::string_view text, std::string_view replacement,
                   unsigned options, std::string& result);

} // namespace platform
