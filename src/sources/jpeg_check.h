// jpeg_check.h - a structural walk over a JPEG file's markers, without decoding.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/read_only_file.h"

enum JpegCheck { kNotJpeg = 0, kJpegWellFormed = 1, kJpegBroken = 2 };

// Walks the marker segments of the `size` bytes at `bytes` up to the start of
// the scan and judges the end of the data. `width` and `height` receive the
// last baseline or progressive frame header's size, 0 when none was read.
int checkJpeg(const unsigned char* bytes, std::size_t size, int* width, int* height);

// The same verdict on an open file of `size` bytes, reading only what the walk
// looks at: the segments up to the start of the scan and the last bytes. A
// read that fails (the file shrank) makes the file broken.
int checkJpegFile(const platform::ReadOnlyFile& file, std::uint64_t size, int* width, int* height);
