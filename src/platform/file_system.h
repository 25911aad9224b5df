// file_system.h - files and folders as the picture sources need them.
#pragma once

#include <compare>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr char kPathSeparator = '/';

enum class PathKind { Missing, File, Folder };

// What is at `path` (symbolic links are followed). A trailing separator is allowed.
PathKind pathKind(const std::string& path);

std::optional<std::uint64_t> fileSize(const std::string& path);

// Last modification time, seconds since 1970.
std::optional<std::time_t> lastWriteTime(const std::string& path);

// Which file or folder a path reaches (links followed): every path to the
// same one gives the same identity.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};
std::optional<FileIdentity> fileIdentity(const std::string& path);

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// The names in `folder`, in the order the file system returns them, without
// "." and "..". Empty when the folder cannot be listed.
std::optional<std::vector<FolderEntry>> listFolder(const std::string& folder);

std::string currentDirectory();
bool setCurrentDirectory(const std::string& folder);

// The folder of the running executable, ending with a separator.
std::string executableFolder();

// True when files can be created in `folder`.
bool isWritableFolder(const std::string& folder);

// Creates `folder` and any missing parents; true when it exists afterwards.
bool makeFolders(const std::string& folder);

// $XDG_CONFIG_HOME, else ~/.config, ending with a separator; empty when
// neither can be found.
std::string userConfigFolder();

// `name` resolved against `folder` (which may or may not end with a separator);
// an absolute `name` is returned as it is.
std::string joinPath(const std::string& folder, const std::string& name);

// Reads a whole regular file (see ReadOnlyFile) of at most `maxBytes`;
// nothing when it cannot be read, is no regular file or is larger. No file
// read whole by the viewer (a list file, a JPEG for its statistics) is
// anywhere near the default.
std::optional<std::string> readFile(const std::string& path,
                                    std::uint64_t maxBytes = std::uint64_t{256} << 20);

// The file `path` stands for: symbolic links followed to the end (a link to
// a file not there yet stands for that file); nothing for a loop of links.
std::optional<std::string> followLinks(const std::string& path);

// Writes `bytes` to a new file beside the file `path` stands for (its links
// followed) and renames it over that file, so a failure at any point leaves
// the old file as it was and a link keeps pointing at the new one. Refuses a
// file the user may not write and anything that is not a plain file. The
// rename is made durable by syncing the folder, and temporaries an earlier
// save left behind (a crash between writing and renaming) are removed.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Renames `from` to `to` unless `to` exists; false when it does or the rename fails.
bool renameWithoutReplacing(const std::string& from, const std::string& to);

} // namespace platform
