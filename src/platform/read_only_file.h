// read_only_file.h - a regular file opened for reading, closed when it goes.
//
// Every file the viewer reads (pages, the descriptors handed to plug-ins,
// the settings file, list files) is opened here, so none of them can stall
// the viewer or feed it without end: the open never waits (a FIFO without a
// writer would block it for good), and only a regular file is kept (a FIFO,
// a device such as /dev/zero or a socket is refused). The size is what
// fstat says of the open descriptor, so a cap applied to it holds for the
// file actually read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class ReadOnlyFile {
public:
    // Opens an existing regular file for reading; isOpen() tells whether
    // that worked.
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    // The operating system's descriptor, for handing to a plug-in.
    int descriptor() const { return descriptor_; }
    // The size when it was opened.
    std::uint64_t size() const { return size_; }
    // Reads exactly `count` bytes at `offset`; false when the file is shorter
    // or the read fails.
    bool readAt(std::uint64_t offset, void* buffer, std::size_t count) const;

private:
    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace platform
