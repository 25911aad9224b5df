#include "settings/profile_file.h"

#include <gtest/gtest.h>

namespace {

std::string withValue(const std::string& text, const char* section, const char* key,
                      const char* value) {
    ProfileFile profile = parseProfile(text);
    setProfileValue(profile, section, key, value);
    return profileText(profile);
}

} // namespace

TEST(ProfileFile, NamesIgnoreCaseAndBlanks) {
    ProfileFile profile = parseProfile("[normal]\r\n  KakuSyuku = 7 \r\n[ Option ]\nMENU=1\n");
    EXPECT_EQ(profileInt(profile, "NORMAL", "kakusyuku", -1), 7);
    EXPECT_EQ(profileInt(profile, "OPTION", "menu", -1), 1);
    EXPECT_EQ(profileInt(profile, "OPTION", "kakusyuku", -1), -1);
    EXPECT_EQ(profileInt(profile, "MODE2", "menu", -1), -1);
}

TEST(ProfileFile, NumbersComeFromLeadingDigits) {
    ProfileFile profile = parseProfile("[A]\na=12abc\nb=abc\nc=-5\nd=\ne=99999999999999\nf=+3\n");
    EXPECT_EQ(profileInt(profile, "A", "a", -1), 12);
    EXPECT_EQ(profileInt(profile, "A", "b", -1), 0);
    EXPECT_EQ(profileInt(profile, "A", "c", -1), 0);
    EXPECT_EQ(profileInt(profile, "A", "d", -1), 0);
    EXPECT_EQ(profileInt(profile, "A", "e", -1), 2147483647);
    EXPECT_EQ(profileInt(profile, "A", "f", -1), 0);
}

TEST(ProfileFile, FirstSectionAndFirstKeyCount) {
    ProfileFile profile = parseProfile("[A]\nx=1\nx=2\n[B]\ny=3\n[a]\nx=4\nz=5\n");
    EXPECT_EQ(profileInt(profile, "A", "x", -1), 1);
    EXPECT_EQ(profileInt(profile, "A", "z", -1), -1);
}

TEST(ProfileFile, CommentsHeadlessLinesAndBrokenHeadersAreNotKeys) {
    ProfileFile profile = parseProfile("x=9\n[A]\n;x=1\n[B\nx=2\n");
    EXPECT_EQ(profileInt(profile, "A", "x", -1), 2); // "[B" lacks its "]": still section A
    EXPECT_FALSE(profileValue(profile, "", "x").has_value());
}

TEST(ProfileFile, ReplacesInPlaceKeepingSpellingAndEnding) {
    EXPECT_EQ(withValue("; top\r\n[A]\r\n Key = 1 \r\nother=2\r\n", "a", "KEY", "30"),
              "; top\r\n[A]\r\n Key =30\r\nother=2\r\n");
    EXPECT_EQ(withValue("[A]\nk=1", "A", "k", "2"), "[A]\nk=2");
}

TEST(ProfileFile, NewKeyGoesAfterTheLastKeyOfItsSection) {
    EXPECT_EQ(withValue("[A]\na=1\n; note\n\n[B]\nb=1\n", "A", "n", "5"),
              "[A]\na=1\nn=5\n; note\n\n[B]\nb=1\n");
    EXPECT_EQ(withValue("[A]\n\n[B]\n", "A", "n", "5"), "[A]\nn=5\n\n[B]\n");
    EXPECT_EQ(withValue("[A]\na=1", "A", "n", "5"), "[A]\na=1\nn=5\n");
}

TEST(ProfileFile, NewSectionGoesAtTheEnd) {
    EXPECT_EQ(withValue("", "A", "k", "1"), "[A]\nk=1\n");
    EXPECT_EQ(withValue("[A]\r\nk=1\r\n", "B", "k", "2"), "[A]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n");
    EXPECT_EQ(withValue("[A]\nk=1", "B", "k", "2"), "[A]\nk=1\n\n[B]\nk=2\n");
    EXPECT_EQ(withValue("[A]\nk=1\n\n", "B", "k", "2"), "[A]\nk=1\n\n[B]\nk=2\n");
}

TEST(ProfileFile, GarbageSurvivesAndStaysUnmatched) {
    const char raw[] = "\0\xff[\x01=\n\r\r=\n]]\n";
    std::string junk(raw, sizeof raw - 1);
    std::string text = withValue(junk, "A", "k", "1");
    EXPECT_EQ(text.substr(0, junk.size()), junk);
    EXPECT_EQ(profileInt(parseProfile(text), "A", "k", -1), 1);
}
