// plugin_fixture.cpp - loading, sniffing and decoding through the exports.
#include "plugins/plugin_fixture.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "platform/shared_library.h"

namespace plugin_testing {

LoadedPlugin::LoadedPlugin(const std::string& name) {
    library = platform::loadLibrary(std::string(VOXA_PLUGIN_DIR) + "/" + name + ".spi");
    if (!library) throw std::runtime_error("cannot load " + name + ".spi");
    getPluginInfo = reinterpret_cast<SpiGetPluginInfo>(platform::findFunction(library, "GetPluginInfo"));
    isSupported = reinterpret_cast<SpiIsSupported>(platform::findFunction(library, "IsSupported"));
    getPicture = reinterpret_cast<SpiGetPicture>(platform::findFunction(library, "GetPicture"));
    getArchiveInfo = reinterpret_cast<SpiGetArchiveInfo>(platform::findFunction(library, "GetArchiveInfo"));
    getFile = reinterpret_cast<SpiGetFile>(platform::findFunction(library, "GetFile"));
}

LoadedPlugin::~LoadedPlugin() { platform::freeLibrary(library); }

std::string LoadedPlugin::info(int infono) const {
    char buf[256];
    std::memset(buf, 'x', sizeof buf);
    int n = getPluginInfo(infono, buf, infono == 0 ? 5 : int(sizeof buf));
    return std::string(buf, size_t(n > 0 ? n : 0));
}

int LoadedPlugin::supportsFile(const testing_support::TempFolder& folder, const std::string& bytes) const {
    std::string path = folder / "sniffed";
    testing_support::writeFile(path, bytes);
    int fd = ::open(path.c_str(), O_RDONLY);
    int answer = isSupported(path.c_str(), uintptr_t(fd));
    off_t offset = ::lseek(fd, 0, SEEK_CUR);
    ::close(fd);
    return offset == 0 ? answer : -1; // a plug-in must not move the host's descriptor
}

int LoadedPlugin::supportsMemory(const std::string& bytes) const {
    std::vector<char> image(bytes.begin(), bytes.end());
    if (image.size() < SPI_SNIFF_BYTES) image.resize(SPI_SNIFF_BYTES, 0);
    return isSupported(nullptr, reinterpret_cast<uintptr_t>(image.data()));
}

Listed listingIn(int result, SpiHandle block) {
    Listed listed;
    listed.result = result;
    if (result != SPI_ALL_RIGHT) return listed;
    if (!spiIsValid(block)) {
        listed.result = -200;
        return listed;
    }
    const auto* records = static_cast<const SpiFileInfo*>(spiLock(block));
    size_t capacity = spiSize(block) / sizeof(SpiFileInfo);
    size_t n = 0;
    while (n < capacity && records[n].method[0] != 0) ++n;
    if (n == capacity) listed.result = -300;
    listed.members.assign(records, records + n);
    spiFree(block);
    return listed;
}

std::string bytesIn(int& result, SpiHandle block) {
    if (result != SPI_ALL_RIGHT) return "";
    if (!spiIsValid(block)) {
        result = -200;
        return "";
    }
    std::string bytes(static_cast<const char*>(spiLock(block)), spiSize(block));
    spiFree(block);
    return bytes;
}

Listed LoadedPlugin::list(const char* buf, long len, unsigned flag) const {
    SpiHandle block = nullptr;
    int result = getArchiveInfo(buf, len, flag, &block);
    return listingIn(result, block);
}

std::string LoadedPlugin::extract(const std::string& path, long position, int& result) const {
    SpiHandle block = nullptr;
    result = getFile(path.c_str(), position, reinterpret_cast<char*>(&block), SPI_OUTPUT_MEMORY, nullptr, 0);
    return bytesIn(result, block);
}

namespace {

std::uint32_t read32(const std::string& s, size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | std::uint8_t(s[at + size_t(i)]);
    return v;
}

Decoded take(int result, SpiHandle info, SpiHandle bits) {
    Decoded d;
    d.result = result;
    if (result != SPI_ALL_RIGHT) return d;
    if (!spiIsValid(info) || !spiIsValid(bits)) {
        d.result = -200; // success with unusable handles
        return d;
    }
    d.info.assign(static_cast<const char*>(spiLock(info)), spiSize(info));
    d.bits.assign(static_cast<const char*>(spiLock(bits)), spiSize(bits));
    spiFree(info);
    spiFree(bits);
    d.width = int(read32(d.info, 4));
    d.height = int(read32(d.info, 8));
    d.bitCount = std::uint8_t(d.info[14]);
    d.paletteSize = int(read32(d.info, 32));
    if (d.info.size() != 40 + size_t(d.paletteSize) * 4 || d.bits.size() != d.stride() * size_t(d.height))
        d.result = -300; // blocks of the wrong size
    return d;
}

} // namespace

Decoded decodedBmp(const std::string& bmp) {
    Decoded d;
    if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0 || read32(bmp, 10) > bmp.size()) return d;
    d.info = bmp.substr(14, read32(bmp, 10) - 14);
    d.bits = bmp.substr(read32(bmp, 10));
    d.width = int(read32(d.info, 4));
    d.height = int(read32(d.info, 8));
    d.bitCount = std::uint8_t(d.info[14]);
    d.paletteSize = int(read32(d.info, 32));
    d.result = d.bits.size() == d.stride() * size_t(d.height) ? SPI_ALL_RIGHT : -300;
    return d;
}

std::array<std::uint8_t, 3> Decoded::pixel(int x, int y) const {
    const auto* row = reinterpret_cast<const std::uint8_t*>(bits.data()) + size_t(height - 1 - y) * stride();
    if (bitCount == 24) return {row[x * 3], row[x * 3 + 1], row[x * 3 + 2]};
    int perByte = 8 / bitCount;
    int index = (row[x / perByte] >> (8 - bitCount * (x % perByte + 1))) & ((1 << bitCount) - 1);
    const auto* entry = reinterpret_cast<const std::uint8_t*>(info.data()) + 40 + index * 4;
    return {entry[0], entry[1], entry[2]};
}

Decoded decodeMemory(const LoadedPlugin& plugin, const std::string& bytes) {
    // An exact-size copy, so reading past the end trips the sanitizer.
    std::vector<char> image(bytes.begin(), bytes.end());
    SpiHandle info = nullptr, bits = nullptr;
    int result = plugin.getPicture(image.data(), long(image.size()), SPI_INPUT_MEMORY, &info, &bits, nullptr, 0);
    return take(result, info, bits);
}

Decoded decodeFile(const LoadedPlugin& plugin, const testing_support::TempFolder& folder,
                   const std::string& bytes, long offset) {
    std::string path = folder / "picture";
    testing_support::writeFile(path, std::string(size_t(offset), '#') + bytes);
    SpiHandle info = nullptr, bits = nullptr;
    int result = plugin.getPicture(path.c_str(), offset, SPI_INPUT_FILE, &info, &bits, nullptr, 0);
    return take(result, info, bits);
}

int decodePrefixes(const LoadedPlugin& plugin, const std::string& bytes, size_t step) {
    int decoded = 0;
    for (size_t n = 0; n < bytes.size(); n += step) {
        Decoded d = decodeMemory(plugin, bytes.substr(0, n));
        if (d.result == SPI_ALL_RIGHT) ++decoded;
        else if (d.result < 0) return -1000; // success with broken blocks
    }
    return decoded;
}

namespace {

encoders::Picture asRgb(const encoders::Picture& picture) {
    if (picture.channels == 3) return picture;
    encoders::Picture rgb{picture.width, picture.height, 3, {}};
    for (size_t i = 0; i < picture.pixels.size(); i += size_t(picture.channels))
        for (int c = 0; c < 3; ++c) rgb.pixels.push_back(picture.pixels[i + (picture.channels >= 3 ? size_t(c) : 0)]);
    return rgb;
}

} // namespace

encoders::Picture gradient(int width, int height) {
    encoders::Picture p{width, height, 3, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.pixels.insert(p.pixels.end(), {std::uint8_t(x * 255 / std::max(1, width - 1)),
                                             std::uint8_t(y * 255 / std::max(1, height - 1)), 128});
    return p;
}

encoders::Picture turnedAnticlockwise(const encoders::Picture& picture, int quarters) {
    encoders::Picture p = picture;
    for (int turn = 0; turn < quarters % 4; ++turn) {
        // A quarter turn: the top-right corner comes to the top-left.
        encoders::Picture out{p.height, p.width, p.channels, std::vector<std::uint8_t>(p.pixels.size())};
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                for (int c = 0; c < p.channels; ++c)
                    out.pixels[(size_t(p.width - 1 - x) * size_t(out.width) + size_t(y)) * size_t(p.channels) + size_t(c)] =
                        p.pixels[(size_t(y) * size_t(p.width) + size_t(x)) * size_t(p.channels) + size_t(c)];
        p = out;
    }
    return p;
}

encoders::Picture mirroredLeftRight(const encoders::Picture& p) {
    encoders::Picture out = p;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < p.channels; ++c)
                out.pixels[(size_t(y) * size_t(p.width) + size_t(p.width - 1 - x)) * size_t(p.channels) + size_t(c)] =
                    p.pixels[(size_t(y) * size_t(p.width) + size_t(x)) * size_t(p.channels) + size_t(c)];
    return out;
}

void expectSameAsBmp(const Decoded& d, const encoders::Picture& picture) {
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    const std::string bmp = encoders::encodeBmp(asRgb(picture));
    EXPECT_EQ(d.width, picture.width);
    EXPECT_EQ(d.height, picture.height);
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(d.paletteSize, 0);
    // Comparing whole strings would print megabytes on failure.
    EXPECT_TRUE(d.bits == bmp.substr(54)) << "pixels differ; largest difference " << largestDifference(d, picture);
}

int largestDifference(const Decoded& d, const encoders::Picture& picture) {
    if (d.width != picture.width || d.height != picture.height) return 256;
    const encoders::Picture rgb = asRgb(picture);
    int largest = 0;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) {
            auto got = d.pixel(x, y);
            const std::uint8_t* want = &rgb.pixels[(size_t(y) * size_t(rgb.width) + size_t(x)) * 3];
            for (int c = 0; c < 3; ++c) largest = std::max(largest, std::abs(int(got[size_t(2 - c)]) - int(want[c])));
        }
    return largest;
}

encoders::Picture composedOverWhite(const encoders::Picture& picture) {
    const int colours = picture.channels - 1;
    encoders::Picture rgb{picture.width, picture.height, 3, {}};
    for (size_t i = 0; i < picture.pixels.size(); i += size_t(picture.channels)) {
        unsigned alpha = picture.pixels[i + size_t(colours)];
        for (int c = 0; c < 3; ++c) {
            unsigned v = picture.pixels[i + (colours == 3 ? size_t(c) : 0)];
            rgb.pixels.push_back(std::uint8_t((v * alpha + 255 * (255 - alpha) + 127) / 255));
        }
    }
    return rgb;
}

} // namespace plugin_testing
