#include "resources/version.h"

#include <cstdio>

namespace resources {

std::string versionText() {
    char text[64];
    std::snprintf(text, sizeof text, "Voxa Ver %d.%d%d%d \n  \n", kVersion[0], kVersion[1],
                  kVersion[2], kVersion[3]);
    return text;
}

} // namespace resources
