#include "platform/install_layout.h"

#include <string_view>

#include "platform/file_system.h"

namespace platform {
namespace {

// The folders below the prefix, as the install rules name them
// (VOXA_PROGRAM_DIR and VOXA_DATA_DIR in the top CMakeLists.txt).
constexpr std::string_view kProgramFolder = VOXA_PROGRAM_DIR "/";
constexpr std::string_view kDataFolder = VOXA_DATA_DIR "/";

} // namespace

std::string installPrefix(const std::string& executableFolder) {
    std::string folder = joinPath(executableFolder, "");
    if (folder.size() <= kProgramFolder.size() || !folder.ends_with(kProgramFolder)) return {};
    std::string prefix = folder.substr(0, folder.size() - kProgramFolder.size());
    return prefix.back() == kPathSeparator ? prefix : std::string();
}

std::string installedDataFolder(const std::string& executableFolder) {
    std::string prefix = installPrefix(executableFolder);
    return prefix.empty() ? prefix : prefix + std::string(kDataFolder);
}

} // namespace platform
