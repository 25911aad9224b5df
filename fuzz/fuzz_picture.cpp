// fuzz_picture.cpp - arbitrary bytes through every picture reader and on
// through the picture buffer, as a page takes its way to the screen: the
// built-in BMP reader (or the shipped decoders, their pictures made plain as
// the host makes them), attach, 24-bit conversion, a turn, a filter, and a
// scale into a target. The input's last bytes choose the turn, the filter,
// the engines and the target's size.
#include <cstring>
#include <vector>

#include "gif/gif_decode.h"
#include "jpeg/jpeg_decode.h"
#include "picture/filters.h"
#include "picture/pipeline.h"
#include "picture/scaling.h"
#include "png/png_decode.h"
#include "sources/page_list.h"
#include "sources/plain_dib.h"
#include "webp/webp_decode.h"

namespace {

// Larger pictures are read but not processed: each would take seconds, and
// the cap is the readers' business, fuzzed by the reading.
constexpr std::int64_t kMaxProcessedPixels = std::int64_t{1} << 22;

// The picture the readers make of the bytes, in the host's blocks; false
// when none takes them.
bool load(const std::uint8_t* data, std::size_t size, BlockPair& picture) {
    static PageList list("/nonexistent/");
    platform::MemoryHandle block = platform::allocateBlock(size);
    if (size) std::memcpy(platform::lockBlock(block), data, size);
    const bool read = list.readBmpMemory(block, size);
    platform::freeBlock(block);
    if (read) {
        picture = {list.loadedHeader, list.loadedBits};
        return true;
    }
    using Decode = int (*)(const unsigned char*, size_t, SpiHandle*, SpiHandle*);
    for (Decode decode : {Decode(decodeJpeg), Decode(decodePng), Decode(decodeGif), Decode(decodeWebp)}) {
        if (decode(data, size, &picture.header, &picture.bits) != SPI_ALL_RIGHT) continue;
        return makePlain(&picture.header, &picture.bits) != 0;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint8_t* choice = data + size - 4;
    BlockPair blocks;
    if (!load(data, size - 4, blocks)) return 0;
    PictureBuffer picture;
    picture.attach(blocks.header, blocks.bits);
    if (!picture.isHandled() || std::int64_t{picture.width} * picture.height > kMaxProcessedPixels)
        return 0;
    PipelineOptions options;
    options.use24bit = choice[0] & 1;
    options.transform = (choice[0] >> 1) % 7;
    options.filter = (choice[0] >> 4) % 9;
    options.shapeRule = choice[1] % 3;
    processLoaded(picture, options);
    setEngines(picture, choice[1] & 1, (choice[1] >> 1) % 4, (choice[1] >> 3) & 1);
    const int width = 1 + choice[2] % 97, height = 1 + choice[3] % 89;
    std::vector<unsigned char> target(static_cast<std::size_t>(rowBytes(width + 3, 24)) * (height + 2));
    scaleInto(picture, target.data(), 3, 2, width, height, width + 3, height + 2);
    return 0;
}
