#include "platform/volume_label.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <climits>
#include <cstdlib>
#include <fstream>

#include "platform/file_system.h"

namespace platform {

namespace {

constexpr unsigned kScsiCdromMajor = 11;
constexpr std::size_t kLabelLimit = 50;

// At most `limit` bytes of UTF-8 text, never ending inside a character.
std::string cutAtCharacter(std::string text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

std::string realPathOf(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// Labels under /dev/disk/by-label escape unusual bytes as \xNN.
std::string unescapeLabel(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            out += static_cast<char>(std::strtol(name.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

// Whether the block device is a removable drive or an optical disc: its own
// "removable" flag, or that of the disk a partition belongs to.
bool isRemovable(unsigned major, unsigned minor) {
    if (major == kScsiCdromMajor) return true;
    std::string device =
        realPathOf("/sys/dev/block/" + std::to_string(major) + ":" + std::to_string(minor));
    if (device.empty()) return false;
    if (firstLine(device + "/removable") == "1") return true;
    return firstLine(device + "/../removable") == "1";
}

} // namespace

std::string removableVolumeLabel(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    const unsigned major = ::major(info.st_dev), minor = ::minor(info.st_dev);
    if (!isRemovable(major, minor)) return {};
    auto labels = listFolder("/dev/disk/by-label/");
    if (!labels) return {};
    for (const FolderEntry& entry : *labels) {
        struct stat node {};
        if (::stat(("/dev/disk/by-label/" + entry.name).c_str(), &node) != 0) continue;
        if (S_ISBLK(node.st_mode) && node.st_rdev == info.st_dev)
            return cutAtCharacter(unescapeLabel(entry.name), kLabelLimit);
    }
    return {};
}

} // namespace platform
