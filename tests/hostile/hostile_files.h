// hostile_files.h - forged pictures and archives, as a new user meets them in
// downloads and broken archives: headers that lie about sizes, palettes and
// layouts, tiny files that claim gigapixels, pages that are no files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hostile {

// A picture file with the size in its header replaced, checksums made right
// again: the first SOF of a JPEG, the IHDR of a PNG (its CRC too), the VP8L
// header of a lossless WebP, the logical screen or the first frame of a GIF.
std::string withJpegSize(std::string jpeg, int width, int height);
std::string withPngSize(std::string png, std::uint32_t width, std::uint32_t height);
std::string withWebpLosslessSize(std::string webp, int width, int height);
std::string withGifScreen(std::string gif, int width, int height);
std::string withGifFrame(std::string gif, int left, int top, int width, int height);

// A progressive JPEG with its last scan repeated `times` more times.
std::string withRepeatedLastScan(const std::string& jpeg, int times);

// A ZIP whose local and central headers claim `claimed` unpacked bytes for
// every member.
std::string withZipSizes(std::string zip, std::uint32_t claimed);

// A ZIP of one member `name` of `size` zero bytes, deflated, whose headers
// claim `claimed` bytes.
std::string zipOfZeros(const std::string& name, std::uint32_t size, std::uint32_t claimed);

// A GNU tar of one sparse member `name`: `holeBytes` of holes, then 512
// bytes of `data`.
std::string sparseTar(const std::string& name, std::uint64_t holeBytes, const std::string& data);

// Forged files of the formats whose plug-ins are built when their libraries
// are found (optional_formats.cpp):
// an AVIF or HEIF file with every image spatial extent ("ispe") claiming
// `width` x `height`;
std::string withIspeSize(std::string isoFile, std::uint32_t width, std::uint32_t height);
// a HEIF whose primary picture is a grid of the one picture of `heif` (which
// must be 64 x 64): its header says 64 x 64, its grid description `width` x
// `height`, the canvas a decoder allocates;
std::string heifGridClaiming(const std::string& heif, unsigned width, unsigned height);
// a bare JPEG XL codestream whose header claims `width` x `height`, then ends;
std::string jxlClaiming(std::uint32_t width, std::uint32_t height);
// a little-endian TIFF whose first directory claims `width` x `height`;
std::string withTiffSize(std::string tiff, std::uint32_t width, std::uint32_t height);
// a PDF of one page of `width` x `height` points drawing `contents`, with an
// image XObject /Im0 of the dictionary entries and data given.
std::string onePagePdf(int width, int height, const std::string& contents, const std::string& imageEntries = "",
                       const std::string& imageData = "");

// What is at a hostile path.
enum class Kind { Bytes, Fifo, DeviceLink };

// One hostile file and what opening it must give: a picture of the given
// size, or the error text.
struct HostileFile {
    std::string name; // a file name: its extension matters to the loader
    Kind kind = Kind::Bytes;
    std::function<std::string()> bytes; // made when the file is written

    int width = 0; // 0: no picture, errorText instead
    int height = 0;
    std::string errorText;
    // The most the opening may cost, in MiB, when more than the 300 MiB
    // that any file may cost beside the 24-bit size of its picture.
    int budgetMiB = 300;
};

// The suite: every file found hostile, and its kin.
std::vector<HostileFile> hostileFiles();
// Appends the files of the formats whose plug-ins were built.
void addOptionalFormatFiles(std::vector<HostileFile>& files);

// Puts `file` into `folder` (which ends with a separator); false on failure.
bool writeHostileFile(const std::string& folder, const HostileFile& file);

} // namespace hostile
