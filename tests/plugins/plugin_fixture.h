// plugin_fixture.h - a shipped .spi loaded from the build tree and called the
// way the host calls it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "susie_plugin.h"
#include "support/temp_folder.h"

namespace plugin_testing {

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

} // namespace plugin_testing
