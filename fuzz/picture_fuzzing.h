// picture_fuzzing.h - what the decoder fuzz targets and seed writers share.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "susie_plugin.h"

namespace fuzzing {

// Decodes as GetPicture from memory does and frees whatever came back.
template <typename Decode>
int decodeAndFree(Decode decode, const std::uint8_t* data, size_t size) {
    SpiHandle info = nullptr, bits = nullptr;
    if (decode(data, size, &info, &bits) == SPI_ALL_RIGHT) {
        spiFree(info);
        spiFree(bits);
    }
    return 0;
}

// Writes each seed into `folder`, and beside it prefixes of a half and a
// quarter of it, so the corpus starts with truncated inputs too.
inline int writeSeeds(const char* folder, const std::vector<std::string>& seeds) {
    int n = 0;
    for (const std::string& seed : seeds)
        for (size_t cut : {seed.size(), seed.size() / 2, seed.size() / 4}) {
            std::ofstream out(std::string(folder) + "/seed" + std::to_string(n++), std::ios::binary);
            out.write(seed.data(), std::streamsize(cut));
            if (!out) return 1;
        }
    return 0;
}

} // namespace fuzzing
