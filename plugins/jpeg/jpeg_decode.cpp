// jpeg_decode.cpp - libjpeg-turbo with an error handler that returns instead
// of exiting, writing rows straight into the bottom-up DIB.
#include "jpeg/jpeg_decode.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "common/plugin_io.h"

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void onMessage(j_common_ptr, int) {} // warnings are not shown anywhere

// Adobe writes CMYK inverted (0 = full ink); other writers do not.
void cmykRowToBgr(const unsigned char* cmyk, unsigned char* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        bgr[0] = (unsigned char)(y * k / 255);
        bgr[1] = (unsigned char)(m * k / 255);
        bgr[2] = (unsigned char)(c * k / 255);
    }
}

// A progressive picture of more scans than this is refused: each scan walks
// the whole picture again, so a file of thousands of tiny scans would keep
// the viewer busy for minutes. Real files have a dozen or so.
constexpr int kMaxScans = 1000;

void onProgress(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxScans) onError(cinfo);
}

// Everything the decoder touches after setjmp lives here, so that longjmp
// leaves nothing in a register-cached state.
struct Decode {
    jpeg_decompress_struct cinfo{};
    ErrorManager error{};
    jpeg_progress_mgr progress{};
    spi::DibOutput dib;
    std::vector<unsigned char> cmykRow;

    Decode() {
        cinfo.err = jpeg_std_error(&error.base);
        error.base.error_exit = onError;
        error.base.emit_message = onMessage;
        jpeg_create_decompress(&cinfo);
        progress.progress_monitor = onProgress;
        cinfo.progress = &progress;
    }
    ~Decode() { jpeg_destroy_decompress(&cinfo); }
    Decode(const Decode&) = delete;
    Decode& operator=(const Decode&) = delete;
};

int run(Decode& d, const unsigned char* data, size_t size) {
    // A progressive picture keeps all its coefficients; libjpeg refuses one
    // whose coefficients pass this (it has no backing store to spill to)
    // before it allocates them. 0 would mean no limit.
    d.cinfo.mem->max_memory_to_use = long(std::max<size_t>(spi::workBudget(size), 1));
    jpeg_mem_src(&d.cinfo, data, (unsigned long)size);
    if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) return SPI_OUT_OF_ORDER;
    bool grey = d.cinfo.num_components == 1;
    bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
    d.cinfo.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    long w = long(d.cinfo.image_width), h = long(d.cinfo.image_height);
    // Started first, so that a progressive picture over the memory limit is
    // refused before the DIB is allocated.
    jpeg_start_decompress(&d.cinfo);
    // Every row is written below, or the picture is not handed over.
    int result = spi::createDibForRows(int(w), int(h), grey ? 8 : 24, grey ? 256 : 0, d.dib);
    if (result != SPI_ALL_RIGHT) return result;
    if (grey) spi::setGreyPalette(d.dib, 256);
    if (cmyk) d.cmykRow.resize(size_t(w) * 4);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        unsigned char* target = d.dib.row(int(d.cinfo.output_scanline));
        JSAMPROW row = cmyk ? d.cmykRow.data() : target;
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) return SPI_OUT_OF_ORDER;
        if (cmyk) cmykRowToBgr(d.cmykRow.data(), target, int(w), d.cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&d.cinfo);
    return SPI_ALL_RIGHT;
}

// setjmp sits in a frame of its own so no local of the caller can be clobbered.
int guardedRun(Decode& d, const unsigned char* data, size_t size) {
    if (setjmp(d.error.jump) != 0)
        return d.error.base.msg_code == JERR_NO_BACKING_STORE ? SPI_NO_MEMORY : SPI_OUT_OF_ORDER;
    return run(d, data, size);
}

} // namespace

int isJpeg(const unsigned char* head, size_t size) {
    return size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

int decodeJpeg(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits) {
    if (!isJpeg(data, size)) return SPI_NOT_SUPPORT;
    Decode d;
    int result = guardedRun(d, data, size);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOver(d.dib, info, bits);
}
