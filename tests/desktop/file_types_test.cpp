// The launcher's file types: every picture and archive the shipped plug-ins
// read (their patterns in the open dialog's filter, BMP among them) and
// folders, named as the desktop's shared MIME database names them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "platform/file_system.h"
#include "sources/plugin_host.h"

namespace {

const char* const kMimeFolder = "/usr/share/mime/";

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

// The types of the desktop entry's MimeType key.
std::set<std::string> launcherTypes() {
    std::string entry = platform::readFile(VOXA_DESKTOP_ENTRY).value_or("");
    for (const std::string& line : split(entry, '\n')) {
        if (!line.starts_with("MimeType=")) continue;
        std::vector<std::string> types = split(line.substr(9), ';');
        return {types.begin(), types.end()};
    }
    return {};
}

// The database's patterns ("*.cbz") with the type of the heaviest weight;
// globs2 lists the heaviest first.
std::map<std::string, std::string> typesOfPatterns() {
    std::map<std::string, std::string> types;
    std::string globs = platform::readFile(std::string(kMimeFolder) + "globs2").value_or("");
    for (const std::string& line : split(globs, '\n')) {
        std::vector<std::string> fields = split(line, ':'); // weight:type:pattern[:flags]
        if (line.starts_with("#") || fields.size() < 3) continue;
        types.emplace(lower(fields[2]), fields[1]);
    }
    return types;
}

// Every pattern of the open dialog's filter that the shipped plug-ins give,
// with the viewer's own BMP; "*.*" aside.
std::set<std::string> shippedPatterns() {
    PluginHost host;
    host.loadPlugins(VOXA_BIN_DIR);
    std::set<std::string> patterns;
    std::vector<std::string> texts = split(host.openFilter(), '\0');
    for (std::size_t i = 1; i < texts.size(); i += 2)
        for (const std::string& pattern : split(texts[i], ';'))
            if (pattern != "*.*") patterns.insert(lower(pattern));
    return patterns;
}

} // namespace

TEST(FileTypes, TheLauncherOffersEveryShippedFormatAndFolders) {
    const std::set<std::string> offered = launcherTypes();
    const std::map<std::string, std::string> types = typesOfPatterns();
    ASSERT_FALSE(types.empty()) << "no shared MIME database in " << kMimeFolder;
    const std::set<std::string> patterns = shippedPatterns();
    ASSERT_GT(patterns.size(), 1u) << "no shipped plug-in in " VOXA_BIN_DIR;

    int known = 0;
    for (const std::string& pattern : patterns) {
        auto type = types.find(pattern);
        if (type == types.end()) continue; // a pattern the desktop has no type for (*.jfif)
        ++known;
        EXPECT_TRUE(offered.count(type->second)) << pattern << " is " << type->second;
    }
    EXPECT_GT(known, 0);
    EXPECT_TRUE(offered.count("inode/directory"));
}

TEST(FileTypes, TheLauncherNamesOnlyTypesTheDatabaseKnows) {
    // Aliases and misspellings match no file: each type must be a canonical one.
    std::vector<std::string> types =
        split(platform::readFile(std::string(kMimeFolder) + "types").value_or(""), '\n');
    const std::set<std::string> known(types.begin(), types.end());
    ASSERT_FALSE(known.empty());
    for (const std::string& type : launcherTypes())
        EXPECT_TRUE(known.count(type)) << type;
}
