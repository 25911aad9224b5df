#include "resources/version.h"

#include <cstdio>

#include "platform/file_system.h"

namespace resources {

std::string versionText() {
    char text[64];
    std::snprintf(text, sizeof text, "Voxa Ver %d.%d%d%d \n  \n", kVersion[0], kVersion[1],
                  kVersion[2], kVersion[3]);
    return text;
}

std::string helpPagePath() {
    return platform::joinPath(platform::executableFolder(), kHelpPageName);
}

} // namespace resources
