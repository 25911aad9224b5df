#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/read_only_file.h"

namespace platform {

namespace {

std::optional<struct stat> statOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
    return info;
}

// The folder part of `path` with its separator; empty for a bare name.
std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind(kPathSeparator);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// writeFileAtomically's temporaries are "<file>.voxa-" and six characters.
constexpr char kTemporaryMark[] = ".voxa-";

// Removes the temporaries of `target` that no save holds any more: a live save
// keeps its temporary locked until it is renamed.
void removeStaleTemporaries(const std::string& target) {
    std::string folder = folderOf(target);
    std::string prefix = target.substr(folder.size()) + kTemporaryMark;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        std::string stale = folder + std::string(name);
        int fd = ::open(stale.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {}, named {};
        // Still under that name once locked: it was not renamed into place meanwhile.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::lstat(stale.c_str(), &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev)
            ::unlink(stale.c_str());
        ::close(fd);
    }
}

// Makes a rename in `folder` durable. Some file systems cannot sync a folder;
// the rename has happened either way.
void syncFolder(const std::string& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

PathKind pathKind(const std::string& path) {
    auto info = statOf(path);
    if (!info) return PathKind::Missing;
    return S_ISDIR(info->st_mode) ? PathKind::Folder : PathKind::File;
}

std::optional<std::uint64_t> fileSize(const std::string& path) {
    auto info = statOf(path);
    if (!info || S_ISDIR(info->st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(info->st_size);
}

std::optional<std::time_t> lastWriteTime(const std::string& path) {
    auto info = statOf(path);
    if (!info) return std::nullopt;
    return info->st_mtime;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    auto info = statOf(path);
    if (!info) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info->st_dev),
                        static_cast<std::uint64_t>(info->st_ino)};
}

std::optional<std::vector<FolderEntry>> listFolder(const std::string& folder) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return std::nullopt;
    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK)
            isFolder = pathKind(joinPath(folder, name)) == PathKind::Folder;
        entries.push_back({name, isFolder});
    }
    return entries;
}

std::string currentDirectory() {
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) return {};
    return buffer;
}

bool setCurrentDirectory(const std::string& folder) {
    return !folder.empty() && ::chdir(folder.c_str()) == 0;
}

std::string executableFolder() {
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "./";
    std::string path(buffer, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind(kPathSeparator) + 1);
}

bool isWritableFolder(const std::string& folder) {
    return pathKind(folder) == PathKind::Folder && ::access(folder.c_str(), W_OK) == 0;
}

bool makeFolders(const std::string& folder) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != kPathSeparator) continue;
        std::string prefix = folder.substr(0, at);
        if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return pathKind(folder) == PathKind::Folder;
}

std::string userConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == kPathSeparator) return joinPath(config, "");
    const char* home = std::getenv("HOME");
    if (home && *home) return joinPath(joinPath(home, ".config"), "");
    return {};
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || (!name.empty() && name.front() == kPathSeparator)) return name;
    if (folder.back() == kPathSeparator) return folder + name;
    return folder + kPathSeparator + name;
}

std::optional<std::string> readFile(const std::string& path, std::uint64_t maxBytes) {
    ReadOnlyFile file(path);
    if (!file.isOpen() || file.size() > maxBytes) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    if (!file.readAt(0, bytes.data(), bytes.size())) return std::nullopt;
    return bytes;
}

std::optional<std::string> followLinks(const std::string& path) {
    std::string at = path;
    // As many links as the kernel follows in one path before it calls it a loop.
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        ssize_t length = ::readlink(at.c_str(), target, sizeof target);
        if (length < 0) return at; // not a link, or nothing there yet
        if (static_cast<std::size_t>(length) == sizeof target) return std::nullopt;
        std::string next(target, static_cast<std::size_t>(length));
        at = next.front() == kPathSeparator ? next : folderOf(at) + next;
    }
    return std::nullopt;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::optional<std::string> target = followLinks(path);
    if (!target) return false;
    struct stat old {};
    bool exists = ::stat(target->c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || ::access(target->c_str(), W_OK) != 0)) return false;
    removeStaleTemporaries(*target);

    std::string temporary = *target + kTemporaryMark + "XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    // Held until the rename is done, so another save's clean-up leaves this one alone.
    ::flock(fd, LOCK_EX);
    // Keep the permissions an existing file had; a new file gets the usual 0644.
    ::fchmod(fd, exists ? (old.st_mode & 07777) : 0644);
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    bool ok = written == bytes.size() && ::fsync(fd) == 0 && ::rename(temporary.c_str(), target->c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    ::close(fd);
    if (ok) syncFolder(folderOf(*target));
    return ok;
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    // File systems without the flag: a hard link cannot replace anything either.
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

} // namespace platform
