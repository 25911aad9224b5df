// plugin_fixture.h - a shipped .spi loaded from the build tree and called the
// way the host calls it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sample_book/picture_encoders.h"
#include "susie_plugin.h"
#include "support/temp_folder.h"

namespace plugin_testing {

// An archive plug-in's listing as the host reads it.
struct Listed {
    int result = -100; // -200: success without a valid block, -300: no closing record
    std::vector<SpiFileInfo> members;
};

// What a GetArchiveInfo or a GetFile to memory that returned `result` left
// in `block`; the block is freed.
Listed listingIn(int result, SpiHandle block);
std::string bytesIn(int& result, SpiHandle block);

struct LoadedPlugin {
    void* library = nullptr;
    SpiGetPluginInfo getPluginInfo = nullptr;
    SpiIsSupported isSupported = nullptr;
    SpiGetPicture getPicture = nullptr;
    SpiGetArchiveInfo getArchiveInfo = nullptr;
    SpiGetFile getFile = nullptr;

    explicit LoadedPlugin(const std::string& name); // "jpeg" loads jpeg.spi
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    std::string info(int infono) const;
    // IsSupported through an open descriptor of a file holding `bytes`, and
    // through a memory image padded as the host pads it.
    int supportsFile(const testing_support::TempFolder& folder, const std::string& bytes) const;
    int supportsMemory(const std::string& bytes) const;

    // GetArchiveInfo and GetFile to memory, as the host calls them.
    Listed list(const char* buf, long len, unsigned flag) const;
    Listed listFile(const std::string& path) const { return list(path.c_str(), 0, SPI_INPUT_FILE); }
    // The member's bytes, or "" with the code in `result`.
    std::string extract(const std::string& path, long position, int& result) const;
};

// A decoded DIB as the host receives it.
struct Decoded {
    int result = -100;
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int paletteSize = 0;
    std::string info; // header and palette
    std::string bits;

    // The colour at (x, y) counted from the top-left, as {B, G, R}.
    std::array<std::uint8_t, 3> pixel(int x, int y) const;
    size_t stride() const { return (size_t(width) * size_t(bitCount) + 31) / 32 * 4; }
};

Decoded decodeMemory(const LoadedPlugin& plugin, const std::string& bytes);
// Writes `bytes` after `offset` bytes of junk and decodes with len = offset.
Decoded decodeFile(const LoadedPlugin& plugin, const testing_support::TempFolder& folder,
                   const std::string& bytes, long offset = 0);

// Each decode from memory of every shorter prefix (in steps) must fail cleanly
// or succeed; returns the number of prefixes that decoded.
int decodePrefixes(const LoadedPlugin& plugin, const std::string& bytes, size_t step);

// The DIB inside a BMP file (as the host's own reader would take it), for
// checking the pages book plug-ins hand out.
Decoded decodedBmp(const std::string& bmp);

// A smooth picture (channels 3) that lossy encoders keep close to itself.
encoders::Picture gradient(int width, int height);

// The picture turned `quarters` quarter turns anticlockwise, and mirrored.
encoders::Picture turnedAnticlockwise(const encoders::Picture& picture, int quarters);
encoders::Picture mirroredLeftRight(const encoders::Picture& picture);

// The 24-bit DIB must be, header fields and pixel bytes, the DIB of the same
// picture written as a BMP file (channels 1 or 3; grey is spread to RGB).
void expectSameAsBmp(const Decoded& d, const encoders::Picture& picture);
// The largest difference of one sample between the 24-bit DIB and the picture.
int largestDifference(const Decoded& d, const encoders::Picture& picture);
// An RGB picture: each RGBA (or grey and alpha) pixel composed over white the
// way the plug-ins compose it.
encoders::Picture composedOverWhite(const encoders::Picture& picture);

} // namespace plugin_testing
