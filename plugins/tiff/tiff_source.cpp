// tiff_source.cpp - libtiff's client procedures over memory and pread.
#include "tiff/tiff_source.h"

#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "common/plugin_io.h"

namespace {


uint64_t sourceSize(const TiffSource& s) {
    if (!s.data && s.fd >= 0) {
        struct stat st {};
        if (::fstat(s.fd, &st) != 0 || uint64_t(st.st_size) < s.offset) return 0;
        return uint64_t(st.st_size) - s.offset;
    }
    return s.size;
}

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t count) {
    auto* s = static_cast<TiffSource*>(handle);
    if (count <= 0) return 0;
    if (s->data) {
        if (s->at >= s->size) return 0;
        size_t n = std::min(size_t(count), size_t(s->size - s->at));
        std::memcpy(buffer, s->data + s->at, n);
        s->at += n;
        return tmsize_t(n);
    }
    size_t done = 0;
    while (done < size_t(count)) {
        ssize_t n = ::pread(s->fd, static_cast<char*>(buffer) + done, size_t(count) - done,
                            off_t(s->offset + s->at + done));
        if (n <= 0) break;
        done += size_t(n);
    }
    s->at += done;
    return tmsize_t(done);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t) { return -1; }

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* s = static_cast<TiffSource*>(handle);
    uint64_t base = whence == SEEK_CUR ? s->at : whence == SEEK_END ? sourceSize(*s) : 0;
    if (offset > UINT64_MAX - base) return toff_t(-1);
    s->at = base + offset;
    return s->at;
}

int closeProc(thandle_t) { return 0; }

toff_t sizeProc(thandle_t handle) { return sourceSize(*static_cast<TiffSource*>(handle)); }

// A memory image is handed over as libtiff's "mapped file", so uncompressed
// strips are read without a copy.
int mapProc(thandle_t handle, void** base, toff_t* size) {
    auto* s = static_cast<TiffSource*>(handle);
    if (!s->data) return 0;
    *base = const_cast<unsigned char*>(s->data);
    *size = s->size;
    return 1;
}

void unmapProc(thandle_t, void*, toff_t) {}

int quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

} // namespace

TiffSource TiffSource::memory(const unsigned char* data, size_t size) {
    TiffSource s;
    s.data = data;
    s.size = size;
    return s;
}

TiffSource TiffSource::descriptor(int fd, uint64_t offset) {
    TiffSource s;
    s.fd = fd;
    s.offset = offset;
    return s;
}

TiffFile openTiff(TiffSource& source) {
    if (!source.data && source.fd < 0) return nullptr;
    std::unique_ptr<TIFFOpenOptions, decltype(&TIFFOpenOptionsFree)> options(TIFFOpenOptionsAlloc(),
                                                                              TIFFOpenOptionsFree);
    if (!options) return nullptr;
    // No working buffer of libtiff's may take more than a decoder's share.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), tmsize_t(spi::kMaxDecoderBytes));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quiet, nullptr);
    source.at = 0;
    return TiffFile(TIFFClientOpenExt("tiff", "r", &source, readProc, writeProc, seekProc, closeProc, sizeProc,
                                      mapProc, unmapProc, options.get()));
}

int isTiff(const unsigned char* head, size_t size) {
    if (size < 4) return 0;
    bool little = head[0] == 'I' && head[1] == 'I' && (head[2] == 42 || head[2] == 43) && head[3] == 0;
    bool big = head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43);
    return little || big ? 1 : 0;
}

std::vector<uint32_t> tiffPages(TIFF* tiff, size_t limit) {
    std::vector<uint32_t> pages;
    if (!tiff || limit == 0 || !TIFFSetDirectory(tiff, 0)) return pages;
    do {
        uint32_t kind = 0;
        TIFFGetField(tiff, TIFFTAG_SUBFILETYPE, &kind);
        if (!(kind & FILETYPE_REDUCEDIMAGE)) pages.push_back(uint32_t(TIFFCurrentDirectory(tiff)));
    } while (pages.size() < limit && TIFFReadDirectory(tiff));
    return pages;
}

int tiffPagesBehind(uintptr_t dw, size_t limit) {
    unsigned char head[8];
    if (!isTiff(head, spi::readSniffBytes(dw, head, sizeof head))) return 0;
    if (dw >= SPI_FILE_HANDLE_LIMIT) return -1;
    TiffSource source = TiffSource::descriptor(int(dw));
    TiffFile tiff = openTiff(source);
    return tiff ? int(tiffPages(tiff.get(), limit).size()) : 0;
}
