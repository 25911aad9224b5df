// install_layout.h - where an installed viewer finds its files.
//
// `cmake --install` and the Debian package put the executable and its
// plug-ins in <prefix>/lib/voxa/ (bin/voxa is a link to it) and the shared
// data, the help page among them, in <prefix>/share/voxa/. Any other folder
// holds a viewer that keeps everything beside itself: a build folder or a
// copy carried around. The executable's folder is its real path, so a
// viewer started through the link still sits in lib/voxa/.
#pragma once

#include <string>

namespace platform {

// The <prefix>/ of an executable in <prefix>/lib/voxa/ (both ending with a
// separator); empty for an executable anywhere else.
std::string installPrefix(const std::string& executableFolder);

// <prefix>/share/voxa/ of an installed executable; empty for any other.
std::string installedDataFolder(const std::string& executableFolder);

} // namespace platform
