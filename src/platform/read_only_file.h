// read_only_file.h - a file opened for reading, closed when it goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class ReadOnlyFile {
public:
    // Opens an existing file for reading; isOpen() tells whether that worked.
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    // The operating system's descriptor, for handing to a plug-in.
    int descriptor() const { return descriptor_; }
    std::uint64_t size() const;
    // Reads exactly `count` bytes at `offset`; false when the file is shorter
    // or the read fails.
    bool readAt(std::uint64_t offset, void* buffer, std::size_t count) const;

private:
    int descriptor_ = -1;
};

} // namespace platform
