#include "platform/volume_label.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace platform {

namespace {

constexpr unsigned kScsiCdromMajor = 11;
// The SCSI peripheral type of a CD or DVD drive, as sysfs gives it in device/type.
constexpr const char* kOpticalDeviceType = "5";
// Where the desktop mounts removable media, each in a folder of its own below.
constexpr const char* kMediaFolders[] = {"/media", "/run/media"};

struct Mount {
    std::string point;
    unsigned major = 0;
    unsigned minor = 0;
};

std::string realPathOf(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

std::string linkTarget(const std::string& path) {
    char target[PATH_MAX];
    ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

std::string lastComponent(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// `path` below `root`, which is "/" for the running system.
std::string underRoot(const std::string& root, const std::string& path) {
    return joinPath(root, path.empty() || path.front() != '/' ? path : path.substr(1));
}

// `path` as the mount table names places: absolute, its links resolved when
// it exists, else without ".", ".." and doubled separators.
std::string resolvedPath(const std::string& path, const std::string& root) {
    const std::string rootReal = realPathOf(root);
    if (rootReal == "/") {
        std::string real = realPathOf(path);
        if (!real.empty()) return real;
    } else if (!rootReal.empty() && !path.empty() && path.front() == '/') {
        std::string real = realPathOf(underRoot(rootReal, path));
        if (real.size() > rootReal.size() && real.compare(0, rootReal.size(), rootReal) == 0 &&
            real[rootReal.size()] == '/')
            return real.substr(rootReal.size());
    }
    std::filesystem::path absolute(path);
    if (absolute.is_relative()) absolute = std::filesystem::path(currentDirectory()) / absolute;
    std::string normal = absolute.lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

// Whether `place` is `folder` or lies below it.
bool covers(const std::string& folder, const std::string& place) {
    if (folder == "/") return true;
    return place.compare(0, folder.size(), folder) == 0 &&
           (place.size() == folder.size() || place[folder.size()] == '/');
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// The mount table escapes blanks, tabs, new lines and backslashes as \ooo.
std::string unescapeMountPoint(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && isOctal(text[i + 1]) &&
            isOctal(text[i + 2]) && isOctal(text[i + 3])) {
            out += static_cast<char>(std::strtol(text.substr(i + 1, 3).c_str(), nullptr, 8));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Labels under dev/disk/by-label escape unusual bytes as \xNN.
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

// The mount whose point holds `place`: the longest point that covers it, the
// later of two at the same point (a mount over another).
std::optional<Mount> mountHolding(const std::string& root, const std::string& place) {
    std::ifstream table(underRoot(root, "/proc/self/mountinfo"));
    std::optional<Mount> found;
    std::string line;
    while (std::getline(table, line)) {
        // id, parent id, major:minor, root in the file system, mount point, ...
        std::istringstream fields(line);
        std::string id, parent, device, fsRoot, point;
        if (!(fields >> id >> parent >> device >> fsRoot >> point)) continue;
        Mount mount;
        mount.point = unescapeMountPoint(point);
        if (std::sscanf(device.c_str(), "%u:%u", &mount.major, &mount.minor) != 2) continue;
        if (!covers(mount.point, place)) continue;
        if (!found || mount.point.size() >= found->point.size()) found = mount;
    }
    return found;
}

// The block device's folder in sysfs; empty when it has none (virtual file systems).
std::string deviceFolder(const std::string& root, const Mount& mount) {
    return realPathOf(underRoot(root, "/sys/dev/block/" + std::to_string(mount.major) + ":" +
                                          std::to_string(mount.minor)));
}

bool isRemovableOrOptical(const std::string& folder) {
    return firstLine(folder + "/removable") == "1" ||
           firstLine(folder + "/device/type") == kOpticalDeviceType;
}

// A partition takes the flags of the disk it belongs to.
bool isRemovableDevice(const Mount& mount, const std::string& folder) {
    if (mount.major == kScsiCdromMajor) return true;
    if (folder.empty()) return false;
    if (isRemovableOrOptical(folder)) return true;
    return pathKind(folder + "/partition") == PathKind::File &&
           isRemovableOrOptical(folder + "/..");
}

// The label the system gives the device named `kernelName` (for example sr0).
std::string labelOf(const std::string& root, const std::string& kernelName) {
    const std::string labels = underRoot(root, "/dev/disk/by-label");
    auto entries = listFolder(labels);
    if (!entries) return {};
    for (const FolderEntry& entry : *entries)
        if (lastComponent(linkTarget(joinPath(labels, entry.name))) == kernelName)
            return std::string(utf8Prefix(unescapeLabel(entry.name), kVolumeLabelLimit));
    return {};
}

} // namespace

std::string removableVolumeLabel(const std::string& path, const std::string& systemRoot) {
    if (path.empty()) return {};
    const std::string place = resolvedPath(path, systemRoot);
    auto mount = mountHolding(systemRoot, place);
    if (!mount) return {};
    const std::string folder = deviceFolder(systemRoot, *mount);
    if (folder.empty() || !isRemovableDevice(*mount, folder)) return {};
    return labelOf(systemRoot, lastComponent(folder));
}

bool isOnRemovableMedia(const std::string& path, const std::string& systemRoot) {
    if (path.empty()) return false;
    const std::string place = resolvedPath(path, systemRoot);
    auto mount = mountHolding(systemRoot, place);
    if (mount && isRemovableDevice(*mount, deviceFolder(systemRoot, *mount))) return true;
    for (const char* media : kMediaFolders) {
        if (!covers(media, place) || place == media) continue;
        // Nothing is mounted for the path below the media folder: its disc is out.
        if (!mount || covers(mount->point, media)) return true;
    }
    return false;
}

} // namespace platform
