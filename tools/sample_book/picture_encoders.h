// picture_encoders.h - pictures written with each format's own library, for
// the sample book, the plug-in tests, the fuzz seeds and the benchmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace encoders {

// Pixels top-down, `channels` bytes per pixel, rows unpadded:
// 1 grey, 2 grey+alpha, 3 RGB, 4 RGBA (or CMYK for encodeJpeg).
struct Picture {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<std::uint8_t> pixels;
};

// A picture of the given shape with a smooth, seeded pattern.
Picture makePattern(int width, int height, int channels, std::uint32_t seed = 1);

// JPEG: channels 1, 3 or 4 (4 is written as Adobe CMYK).
std::string encodeJpeg(const Picture& picture, int quality = 90, bool progressive = false);
// PNG: channels 1 to 4 at 8 or 16 bits per channel, optionally interlaced.
std::string encodePng(const Picture& picture, int bitDepth = 8, bool interlaced = false);
// A palette PNG: one index per pixel, packed to `bitDepth` (1, 2, 4, 8);
// `alphas` non-empty writes a tRNS chunk.
std::string encodePalettePng(int width, int height, const std::vector<std::uint8_t>& indices,
                             const std::vector<std::uint8_t>& paletteRgb, int bitDepth,
                             const std::vector<std::uint8_t>& alphas = {});
// A one-frame GIF (palette of up to 256 RGB triples); transparent < 0 for none.
std::string encodeGif(int width, int height, const std::vector<std::uint8_t>& indices,
                      const std::vector<std::uint8_t>& paletteRgb, int transparent = -1,
                      bool interlaced = false);
// WebP: channels 3 or 4, lossy at `quality` or lossless.
std::string encodeWebp(const Picture& picture, bool lossless = false, float quality = 90);
// A 24-bit BMP (channels 3).
std::string encodeBmp(const Picture& picture);

} // namespace encoders
