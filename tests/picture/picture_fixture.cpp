#include "picture_fixture.h"

#include <cstring>
#include <random>

#include "support/bmp_writer.h"

BlockPair blocksOf(const std::string& header, const std::string& bits) {
    BlockPair out{platform::allocateBlock(header.size()), platform::allocateBlock(bits.size())};
    std::memcpy(platform::lockBlock(out.header), header.data(), header.size());
    std::memcpy(platform::lockBlock(out.bits), bits.data(), bits.size());
    return out;
}

void loadRandom(PictureBuffer& picture, int width, int height, int bitCount, std::uint32_t seed) {
    testing_support::Dib dib = testing_support::makeDib(width, height, bitCount, seed);
    std::mt19937 random(seed);
    for (std::size_t i = 40; i < dib.header.size(); ++i)
        dib.header[i] = static_cast<char>(random());
    const auto stride = static_cast<std::size_t>(rowBytes(width, bitCount));
    const std::size_t used = (std::size_t(width) * bitCount + 7) / 8;
    for (std::size_t y = 0; y < std::size_t(height); ++y)
        for (std::size_t i = 0; i < used; ++i)
            dib.bits[y * stride + i] = static_cast<char>(random());
    const BlockPair blocks = blocksOf(dib.header, dib.bits);
    picture.attach(blocks.header, blocks.bits);
}

std::string bitsOf(const PictureBuffer& picture) {
    return {reinterpret_cast<const char*>(platform::lockBlock(picture.bitsBlock)),
            platform::blockSize(picture.bitsBlock)};
}

std::string headerOf(const PictureBuffer& picture) {
    return {reinterpret_cast<const char*>(platform::lockBlock(picture.headerBlock)),
            platform::blockSize(picture.headerBlock)};
}
