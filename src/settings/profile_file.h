// profile_file.h - the profile (INI) text the settings file is kept in.
//
// A section starts with a line "[name]"; the lines after it, up to the next
// section, hold "key=value". Section and key names are matched without regard
// to ASCII letter case and with surrounding blanks ignored, so a key written
// "kakuSyuku" is found as "kakusyuku". Lines starting with ';' are comments.
// Only the first section of a name, and the first key of a name in it, count.
//
// Changing a value rewrites only that key's line; a new key goes after the
// last key of its section, a new section at the end of the text. Every other
// byte (comments, unknown keys, other sections, line endings) stays as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ProfileFile {
    // Each line with its own line ending; the last may have none.
    std::vector<std::string> lines;
    // Used for lines added to the text: the first ending found, else "\n".
    std::string lineEnding = "\n";
};

ProfileFile parseProfile(const std::string& text);
std::string profileText(const ProfileFile& profile);

// The value of `key` in `section`, blanks around it removed; nothing when the
// section or the key is absent.
std::optional<std::string> profileValue(const ProfileFile& profile, const std::string& section,
                                        const std::string& key);

// The number the value's leading decimal digits make (0 when it starts with
// anything else, so "-5" reads as 0; saturated at INT_MAX), or `fallback` when
// the key is absent.
int profileInt(const ProfileFile& profile, const std::string& section, const std::string& key,
               int fallback);

// Sets `key` in `section` to `value` as described above.
void setProfileValue(ProfileFile& profile, const std::string& section, const std::string& key,
                     const std::string& value);
