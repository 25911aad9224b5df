// archive_plugin.cpp - the exports of archive.spi.
#include "archive/archive_reader.h"
#include "common/plugin_io.h"

namespace {

const char* const kInfo[] = {
    SPI_KIND_ARCHIVE, "Voxa archive plug-in (libarchive)",
    "*.zip;*.cbz;*.rar;*.cbr;*.7z;*.cb7;*.tar;*.cbt;*.lzh;*.lha", "Archives"};

ArchiveSource sourceOf(const char* buf, long len, unsigned int flag) {
    ArchiveSource source;
    if ((flag & 7) == SPI_INPUT_MEMORY) {
        source.data = buf;
        source.size = len > 0 ? size_t(len) : 0;
    } else {
        source.fileName = buf;
        source.offset = len;
    }
    return source;
}

} // namespace

extern "C" {

SPI_EXPORT int GetPluginInfo(int infono, char* buf, int buflen) {
    return spi::copyPluginInfo(kInfo, 4, infono, buf, buflen);
}

// Every call works on its own state.
SPI_EXPORT int CallsMayOverlap() {
    return 1;
}

SPI_EXPORT int IsSupported(const char*, uintptr_t dw) {
    unsigned char head[512];
    size_t known = spi::readSniffBytes(dw, head, sizeof head);
    return isArchive(head, known);
}

SPI_EXPORT int GetArchiveInfo(const char* buf, long len, unsigned int flag, SpiHandle* lphInf) {
    if (!buf) return SPI_FILE_READ_ERROR;
    return spi::guardedCall([&] { return listArchive(sourceOf(buf, len, flag), lphInf); });
}

SPI_EXPORT int GetFile(const char* src, long len, char* dest, unsigned int flag,
                       SpiProgressCallback, long) {
    if (!src) return SPI_FILE_READ_ERROR;
    // Only extraction to memory exists; the viewer never asks for a file.
    if ((flag & 0x700) != SPI_OUTPUT_MEMORY) return SPI_NO_FUNCTION;
    return spi::guardedCall([&] {
        return extractMember(sourceOf(src, 0, flag & 7), len, memberSizeLimit(),
                             reinterpret_cast<SpiHandle*>(dest));
    });
}
}
