// plugin_fixture.cpp - loading, sniffing and decoding through the exports.
#include "plugins/plugin_fixture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <vector>

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

} // namespace plugin_testing
