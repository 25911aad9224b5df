// dib_layout.h - the shape of a packed device-independent bitmap, checked
// against the bytes that hold it.
//
// A DIB is a 40-byte header (width at byte 4, height at 8, depth at 14,
// compression at 16, colours used at 32), a palette of 4-byte entries (blue,
// green, red, unused), then rows padded to 4 bytes, bottom row first unless
// the height is negative.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

inline constexpr std::size_t kDibHeaderSize = 40;
// The longest side of a picture the picture operations take.
inline constexpr int kMaxPictureSide = 1 << 20;

struct DibLayout {
    int width = 0;
    int height = 0;             // always positive
    bool topDown = false;       // the header's height was negative
    int bitCount = 0;           // 1, 2, 4, 8, 16, 24 or 32
    int paletteCount = 0;       // entries stored after the header
    int usablePalette = 0;      // entries a pixel index may name (at most 2^depth)
    int stride = 0;             // bytes per row
    std::size_t pixelBytes = 0; // height x stride
};

// True for the depths a DIB's rows may have: 1, 2, 4, 8, 16, 24 and 32 bits.
bool isDibDepth(int bitCount);

// Bytes per row of `width` pixels of `bitCount` bits, padded to 4 bytes.
std::int64_t dibRowBytes(std::int64_t width, int bitCount);

// The layout of a DIB whose header and palette are the `headerSize` bytes at
// `header` and whose rows are `bitsSize` bytes. Nothing when the depth or the
// compression is not one drawn here, when the size is empty or absurd, or
// when either part is shorter than the header says.
std::optional<DibLayout> readDibLayout(const unsigned char* header, std::size_t headerSize,
                                       std::size_t bitsSize);

// The same, held to what the picture operations read as it stands and the
// loader hands out: a header of exactly 40 bytes, bottom-up rows of 1, 2, 4,
// 8, 16 or 24 bits, no side over kMaxPictureSide, no more than
// kMaxPicturePixels pixels, and a palette of at most 256 entries, all of
// them present.
std::optional<DibLayout> readPlainDibLayout(const unsigned char* header, std::size_t headerSize,
                                            std::size_t bitsSize);

// The same for a packed DIB: header, palette and rows in one run of `size` bytes.
// The rows start at 40 + 4 x paletteCount.
std::optional<DibLayout> readPackedDibLayout(const unsigned char* dib, std::size_t size);

} // namespace platform
