#include "sources/jpeg_check.h"

#include <algorithm>
#include <array>

namespace {

// The bytes of a file, read a window at a time as the walk asks for them: the
// walk moves forward through the header and then looks at the last bytes,
// so each window is read from the byte asked for, or ends at the file's end.
class FileBytes {
public:
    FileBytes(const platform::ReadOnlyFile& file, std::uint64_t size) : file_(file), size_(size) {}
    unsigned char operator[](std::uint64_t i) {
        if (i < start_ || i - start_ >= length_) load(i);
        return i >= start_ && i - start_ < length_ ? window_[i - start_] : 0;
    }
    bool failed() const { return failed_; }

private:
    static constexpr std::uint64_t kWindow = 16384;

    void load(std::uint64_t i) {
        start_ = std::min(i, size_ > kWindow ? size_ - kWindow : 0);
        length_ = std::min(kWindow, size_ - start_);
        if (file_.readAt(start_, window_.data(), length_)) return;
        failed_ = true;
        length_ = 0;
    }

    const platform::ReadOnlyFile& file_;
    std::uint64_t size_;
    std::uint64_t start_ = 0;
    std::uint64_t length_ = 0;
    bool failed_ = false;
    std::array<unsigned char, kWindow> window_;
};

template <typename Bytes> unsigned bigEndian16(Bytes& bytes, std::uint64_t at) {
    return (unsigned(bytes[at]) << 8) | bytes[at + 1];
}

// The end of the data after the start of scan: FF D9 as the last two bytes,
// or, when the second-to-last byte is not FF, FF D9 starting 3 to 11 bytes
// before the end (up to 9 trailing bytes are tolerated).
template <typename Bytes> int judgeEnd(Bytes& bytes, std::uint64_t size) {
    if (bytes[size - 2] == 0xFF) return bytes[size - 1] == 0xD9 ? kJpegWellFormed : kJpegBroken;
    for (std::uint64_t back = 3; back <= 11 && back <= size; ++back) {
        std::uint64_t at = size - back;
        if (bytes[at] == 0xFF && bytes[at + 1] == 0xD9) return kJpegWellFormed;
    }
    return kJpegBroken;
}

// The walk over `size` bytes that `bytes[i]` gives, one byte at a time.
template <typename Bytes> int walk(Bytes& bytes, std::uint64_t size, int* width, int* height) {
    *width = *height = 0;
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return kNotJpeg;
    if (size <= 6) return kJpegBroken;
    std::uint64_t i = 2; // the first byte of a marker
    for (;;) {
        if (bytes[i] != 0xFF) return kNotJpeg;
        while (i + 1 < size && bytes[i + 1] == 0xFF)
            ++i;
        if (i + 1 >= size) return kJpegBroken;
        ++i; // now at the marker code
        const unsigned code = bytes[i];
        if (code == 0xDA) return judgeEnd(bytes, size);
        if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
            i += 1;
        } else {
            const bool frame = code == 0xC0 || code == 0xC2;
            if (frame && size - i <= 8) return kJpegBroken;
            if (i + 2 >= size) return kJpegBroken;
            if (frame) {
                *height = static_cast<int>(bigEndian16(bytes, i + 4));
                *width = static_cast<int>(bigEndian16(bytes, i + 6));
            }
            i += 1 + bigEndian16(bytes, i + 1);
            if (i >= size) return kJpegBroken;
        }
        if (i >= size || size - i == 4) return kJpegBroken;
    }
}

} // namespace

int checkJpeg(const unsigned char* bytes, std::size_t size, int* width, int* height) {
    return walk(bytes, size, width, height);
}

int checkJpegFile(const platform::ReadOnlyFile& file, std::uint64_t size, int* width, int* height) {
    FileBytes bytes(file, size);
    int result = walk(bytes, size, width, height);
    return bytes.failed() ? kJpegBroken : result;
}
