// tap_sums.h - the across-row pass of the area average, 16-bit sums, wide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/byte_permutes.h"

// A plan for turning a line of 16-bit column sums (three to a pixel) into
// target pixels: channel c of position i is
//   floor(sum over q < taps of weight[(q P + i) 3 + c] x line[offset[q P + i] + c] / count)
// with P = positions, as the area average lays its taps out. Each step takes
// up to ten positions whose taps lie in 64 words of the line, picks the words
// of every tap with one permute, weighs and adds them, and divides. The plan
// covers a leading part of the positions (none without the byte permutes),
// its words within the line's `words`.
class TapSums {
public:
    TapSums(const std::vector<int>& offset, const std::vector<std::uint16_t>& weight, int positions,
            int taps, std::size_t words);

    int covered() const { return covered_; }

    // The covered positions' pixels to out, out + 3, ..., with reciprocal =
    // 1 / count; every sum is below 65536.
    void apply(const std::uint16_t* line, float reciprocal, unsigned char* out) const;

private:
    struct Step {
        int from;            // first word of the 64
        int to;              // first output byte
        std::uint32_t lanes; // the output words (bytes) the step makes
    };
    struct Tap {
        alignas(64) std::uint16_t pick[32];   // word of the 64 for each output word
        alignas(64) std::uint16_t weight[32]; // 0 for lanes the step does not make
    };
    std::vector<Step> steps_;
    std::vector<Tap> taps_; // taps_[s * perStep_ + q]
    int perStep_ = 0;
    int covered_ = 0;
};
