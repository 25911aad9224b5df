#include "settings/profile_file.h"

#include <climits>
#include <string_view>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The line without its ending and without blanks at either end.
std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || isBlank(line.back())))
        line.remove_suffix(1);
    while (!line.empty() && isBlank(line.front()))
        line.remove_prefix(1);
    return line;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

// The name of a section header line, or nothing for any other line. A '['
// without its ']' (a truncated file) is not a header.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimmed(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return KeyLine{trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

// Where a section lies: its header line and the line after its last key.
struct SectionSpan {
    std::size_t header;
    std::size_t afterLastKey;
    std::optional<std::size_t> keyAt;
};

std::optional<SectionSpan> findSection(const ProfileFile& profile, std::string_view section,
                                       std::string_view key) {
    const auto& lines = profile.lines;
    std::size_t at = 0;
    while (at < lines.size()) {
        auto name = sectionName(lines[at]);
        if (name && sameName(*name, section)) break;
        ++at;
    }
    if (at == lines.size()) return std::nullopt;
    SectionSpan span{at, at + 1, std::nullopt};
    for (std::size_t i = at + 1; i < lines.size() && !sectionName(lines[i]); ++i) {
        auto entry = keyLine(lines[i]);
        if (!entry) continue;
        span.afterLastKey = i + 1;
        if (!span.keyAt && sameName(entry->key, key)) span.keyAt = i;
    }
    return span;
}

std::string_view endingOf(const std::string& line) {
    std::string_view text(line);
    if (text.ends_with("\r\n")) return "\r\n";
    if (text.ends_with("\n")) return "\n";
    return "";
}

} // namespace

ProfileFile parseProfile(const std::string& text) {
    ProfileFile profile;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        profile.lines.push_back(text.substr(start, end - start));
        start = end;
    }
    for (const auto& line : profile.lines) {
        if (auto ending = endingOf(line); !ending.empty()) {
            profile.lineEnding = ending;
            break;
        }
    }
    return profile;
}

std::string profileText(const ProfileFile& profile) {
    std::string text;
    for (const auto& line : profile.lines)
        text += line;
    return text;
}

std::optional<std::string> profileValue(const ProfileFile& profile, const std::string& section,
                                        const std::string& key) {
    auto span = findSection(profile, section, key);
    if (!span || !span->keyAt) return std::nullopt;
    return std::string(keyLine(profile.lines[*span->keyAt])->value);
}

int profileInt(const ProfileFile& profile, const std::string& section, const std::string& key,
               int fallback) {
    auto value = profileValue(profile, section, key);
    if (!value) return fallback;
    long long number = 0;
    for (char c : *value) {
        if (c < '0' || c > '9') break;
        number = number * 10 + (c - '0');
        if (number > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(number);
}

void setProfileValue(ProfileFile& profile, const std::string& section, const std::string& key,
                     const std::string& value) {
    auto& lines = profile.lines;
    auto span = findSection(profile, section, key);
    if (span && span->keyAt) {
        std::string& line = lines[*span->keyAt];
        // Keep the key as it was spelled and the line's own ending.
        std::size_t equals = line.find('=');
        line = line.substr(0, equals + 1) + value + std::string(endingOf(line));
        return;
    }
    // The line before an insertion must be ended, or the new line would join it.
    auto endLineBefore = [&](std::size_t at) {
        if (at > 0 && endingOf(lines[at - 1]).empty()) lines[at - 1] += profile.lineEnding;
    };
    std::string entry = key + "=" + value + profile.lineEnding;
    if (span) {
        endLineBefore(span->afterLastKey);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(span->afterLastKey), entry);
        return;
    }
    endLineBefore(lines.size());
    // A blank line sets the new section apart, unless the text already ends with one.
    if (!lines.empty() && !trimmed(lines.back()).empty()) lines.push_back(profile.lineEnding);
    lines.push_back("[" + section + "]" + profile.lineEnding);
    lines.push_back(entry);
}
