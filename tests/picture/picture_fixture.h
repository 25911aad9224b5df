// picture_fixture.h - pictures in PictureBuffers for the picture tests.
#pragma once

#include <cstdint>
#include <string>

#include "picture/picture_buffer.h"

// Blocks holding the given bytes.
BlockPair blocksOf(const std::string& header, const std::string& bits);

// A picture of the depth with random pixel bytes and a random full palette
// (padding bytes zero).
void loadRandom(PictureBuffer& picture, int width, int height, int bitCount, std::uint32_t seed);

// The bits and header block contents.
std::string bitsOf(const PictureBuffer& picture);
std::string headerOf(const PictureBuffer& picture);
