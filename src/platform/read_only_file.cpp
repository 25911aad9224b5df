#include "platform/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

ReadOnlyFile::ReadOnlyFile(const std::string& path) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (descriptor_ >= 0 && (::fstat(descriptor_, &info) != 0 || S_ISDIR(info.st_mode))) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

ReadOnlyFile::~ReadOnlyFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::uint64_t ReadOnlyFile::size() const {
    struct stat info {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

bool ReadOnlyFile::readAt(std::uint64_t offset, void* buffer, std::size_t count) const {
    auto* out = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        ssize_t got = ::pread(descriptor_, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

} // namespace platform
