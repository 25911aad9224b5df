#include "platform/text_match.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr unsigned kFoldAll =
    kMatchIgnoreCase | kMatchIgnoreWidth | kMatchIgnoreKanaType | kMatchIgnoreNonSpace;

std::string replaced(std::string_view s, std::string_view t, std::string_view r, unsigned options,
                     bool expectReplaced = true) {
    std::string result = "left over from before";
    EXPECT_EQ(replaceInText(s, t, r, options, result), expectReplaced) << s << " in " << t;
    return result;
}

} // namespace

TEST(TextMatch, EachOptionFoldsItsOwnDifferenceOnly) {
    EXPECT_TRUE(matchText("abc", "xABCx", kMatchIgnoreCase));
    EXPECT_FALSE(matchText("abc", "xABCx", 0));
    EXPECT_TRUE(matchText("ａｂ", "ＡＢ", kMatchIgnoreCase)); // full-width letters fold too
    EXPECT_TRUE(matchText("σοφία", "ΣΟΦΊΑ", kMatchIgnoreCase));
    EXPECT_TRUE(matchText("ΣΟΦΊΑ", "σοφια", kMatchIgnoreCase | kMatchIgnoreNonSpace));

    EXPECT_TRUE(matchText("ＡＢ", "xABy", kMatchIgnoreWidth));
    EXPECT_FALSE(matchText("ＡＢ", "xABy", kMatchIgnoreCase));
    EXPECT_TRUE(matchText("ｶﾅ", "カナ", kMatchIgnoreWidth));
    EXPECT_FALSE(matchText("ｶﾅ", "カナ", kFoldAll & ~kMatchIgnoreWidth));
    EXPECT_TRUE(matchText("ａｂ", "AB", kMatchIgnoreWidth | kMatchIgnoreCase));

    EXPECT_TRUE(matchText("かな", "カナ", kMatchIgnoreKanaType));
    EXPECT_FALSE(matchText("かな", "カナ", kMatchIgnoreWidth | kMatchIgnoreCase));
    EXPECT_TRUE(matchText("かな", "ｶﾅ", kMatchIgnoreKanaType | kMatchIgnoreWidth));

    EXPECT_TRUE(matchText("cafe", "Café", kMatchIgnoreCase | kMatchIgnoreNonSpace));
    EXPECT_FALSE(matchText("cafe", "Café", kMatchIgnoreCase));
    // A precomposed letter and its decomposed spelling are the same text, and
    // a letter with its combining marks is one character.
    EXPECT_TRUE(matchText("Cafe\xCC\x81", "Café", 0));
    EXPECT_TRUE(matchText("é", "xe\xCC\x81y", 0));
    EXPECT_EQ(replaced("e", "xe\xCC\x81y", "E", kMatchIgnoreNonSpace), "xEy");

    // Symbols are left out of each window's comparison; the windows still
    // count them as characters.
    EXPECT_TRUE(matchText("a-b", "xa+bx", kMatchIgnoreSymbols));
    EXPECT_TRUE(matchText("a b", "a・b", kMatchIgnoreSymbols));
    EXPECT_FALSE(matchText("a-b", "xa+bx", 0));
}

TEST(TextMatch, AHalfWidthVoicedKanaIsOneCharacter) {
    EXPECT_TRUE(matchText("ガ", "ｶﾞ", kMatchIgnoreWidth));
    EXPECT_TRUE(matchText("ｶﾞｲﾄﾞ", "ガイド", kMatchIgnoreWidth));
    EXPECT_FALSE(matchText("ガ", "ｶﾞ", 0));
    // The two-code-point ｶﾞ is replaced as a whole, never split from its mark.
    EXPECT_EQ(replaced("ガ", "xｶﾞy", "ka", kMatchIgnoreWidth), "xkay");
}

TEST(TextMatch, EmptySearchMatchesEverythingAndReplacesNothing) {
    EXPECT_TRUE(matchText("", "", 0));
    EXPECT_TRUE(matchText("", "abc", kFoldAll));
    EXPECT_FALSE(matchText("abcd", "abc", kFoldAll));
    EXPECT_EQ(replaced("", "abc", "x", 0, false), "abc");
}

TEST(TextMatch, ReplacementShiftsLaterWindows) {
    EXPECT_EQ(replaced("b", "abcb", "xyz", 0), "axyzcxyz");
    EXPECT_EQ(replaced("B", "abcb", "", kMatchIgnoreCase), "ac");
    EXPECT_EQ(replaced("かな", "カナとかな", "仮名", kMatchIgnoreKanaType), "仮名と仮名");
    EXPECT_EQ(replaced("q", "abc", "x", kFoldAll, false), "abc");
    // Overlapping windows: left to right, each character replaced at most once.
    EXPECT_EQ(replaced("aa", "aaa", "b", 0), "ba");
}

TEST(TextMatch, MalformedUtf8IsKeptByteForByte) {
    std::string broken = "a\xFF\xE3\x81" "b";
    EXPECT_TRUE(matchText("b", broken, 0));
    EXPECT_EQ(replaced("b", broken, "c", 0), "a\xFF\xE3\x81" "c");
    EXPECT_EQ(replaced("a", broken, "", 0), "\xFF\xE3\x81" "b");
}
