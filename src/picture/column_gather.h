// column_gather.h - picking the same columns out of many 24-bit rows.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/byte_permutes.h"

// A plan for taking pixels cols[0 .. n) (columns that never decrease) out of
// 24-bit rows of `width` pixels, up to 21 at a time, and with them, where
// `second` is given, pixels second[0 .. n) (second[k] at least cols[k], never
// decreasing either): each step loads the 128 source bytes that hold its
// pixels and permutes them into place. The plan covers a leading part of the
// columns, none on a processor without the byte permutes; a step's bytes lie
// within the row's pixels.
class ColumnGather {
public:
    ColumnGather(const int* cols, const int* second, int n, int width);

    // How many of the columns the plan covers.
    int covered() const { return covered_; }

    // The covered pixels of `row` to out, out + 3, ..., and those of the
    // second columns to outSecond where they were planned. The same bytes of
    // `ahead`, a row wanted soon, are asked for as it goes (none if null).
    void gather(const unsigned char* row, unsigned char* out, unsigned char* outSecond,
                const unsigned char* ahead) const;

private:
    struct Step {
        // Byte q of the output from window byte pick[list][q].
        alignas(64) unsigned char pick[2][64];
        std::int64_t from;   // first byte of the source window
        std::uint64_t lanes; // the output bytes the step writes
        int to;              // first output byte
    };
    bool second_ = false;
    std::vector<Step> steps_;
    int covered_ = 0;
};
