#include "resources/version.h"

#include <cstdio>

#include "platform/file_system.h"
#include "platform/install_layout.h"

namespace resources {

std::string versionText() {
    char text[64];
    std::snprintf(text, sizeof text, "Voxa Ver %d.%d%d%d \n  \n", kVersion[0], kVersion[1],
                  kVersion[2], kVersion[3]);
    return text;
}

std::string helpPagePath(const std::string& executableFolder) {
    std::string beside = platform::joinPath(executableFolder, kHelpPageName);
    std::string data = platform::installedDataFolder(executableFolder);
    if (data.empty() || platform::pathKind(beside) == platform::PathKind::File) return beside;
    std::string installed = platform::joinPath(data, kHelpPageName);
    return platform::pathKind(installed) == platform::PathKind::File ? installed : beside;
}

std::string helpPagePath() {
    return helpPagePath(platform::executableFolder());
}

} // namespace resources
