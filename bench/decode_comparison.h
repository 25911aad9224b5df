// decode_comparison.h - what the decode benchmarks share: the scanned-looking
// test page, a plug-in loaded from the build tree, libjpeg's own decode, and
// the timing of a plug-in's decode against a baseline in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "platform/shared_library.h"
#include "sample_book/picture_encoders.h"
#include "susie_plugin.h"

namespace decode_comparison {

constexpr int kWidth = 2480, kHeight = 3508;

// A scanned-looking page: the sample book's art with a fine pattern over it,
// so the encoders have detail to keep.
const encoders::Picture& page();

// The bytes of one row of the page as a 24-bit DIB.
size_t bgrStride();

// libjpeg-turbo decoding a whole file into bottom-up B G R rows.
void libjpegDecode(const std::string& file);

// A plug-in of the build tree, decoding from memory as the host does.
struct Plugin {
    platform::LibraryHandle library;
    SpiGetPicture getPicture;
    explicit Plugin(const char* name);
    ~Plugin();
    void decode(const std::string& file) const;
};

// Runs the plug-in's decode and `baseline` alternately on the same file and
// sets `counter` to the ratio of their times.
template <typename Baseline>
void compare(benchmark::State& state, const char* plugin, const std::string& file, Baseline baseline,
             const char* counter) {
    Plugin spi(plugin);
    using Clock = std::chrono::steady_clock;
    Clock::duration throughPlugin{}, throughLibrary{};
    bool pluginFirst = false;
    for (auto _ : state) {
        // Alternating the order keeps caches and frequency from favouring one side.
        for (int side = 0; side < 2; ++side) {
            auto start = Clock::now();
            if ((side == 0) == pluginFirst) {
                spi.decode(file);
                throughPlugin += Clock::now() - start;
            } else {
                baseline(file);
                throughLibrary += Clock::now() - start;
            }
        }
        pluginFirst = !pluginFirst;
    }
    state.counters[counter] = double(throughPlugin.count()) / double(throughLibrary.count());
}

} // namespace decode_comparison
