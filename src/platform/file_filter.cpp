#include "platform/file_filter.h"

namespace platform {

std::vector<FileFilterPair> parseFileFilter(std::string_view filter) {
    std::vector<std::string_view> texts;
    std::size_t start = 0;
    while (start < filter.size()) {
        std::size_t end = filter.find('\0', start);
        if (end == std::string_view::npos) end = filter.size();
        if (end == start) break;
        texts.push_back(filter.substr(start, end - start));
        start = end + 1;
    }
    std::vector<FileFilterPair> pairs;
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2)
        pairs.push_back({std::string(texts[i]), std::string(texts[i + 1])});
    return pairs;
}

std::vector<std::string> splitFilterPatterns(std::string_view patterns) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string_view::npos) end = patterns.size();
        std::string_view part = patterns.substr(start, end - start);
        while (!part.empty() && part.front() == ' ')
            part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        // On this system a name need not have a dot, so "*.*" means every file.
        if (part == "*.*") part = "*";
        if (!part.empty()) out.emplace_back(part);
        start = end + 1;
    }
    return out;
}

} // namespace platform
