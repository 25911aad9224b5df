// fuzz_archive.cpp - the archive plug-in's listing and extraction on arbitrary
// memory images: list, then extract every listed member under the limit
// GetFile applies.
#include "archive/archive_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    ArchiveSource source;
    source.data = data;
    source.size = size;
    SpiHandle listing = nullptr;
    if (listArchive(source, &listing) != SPI_ALL_RIGHT) return 0;
    const auto* records = static_cast<const SpiFileInfo*>(spiLock(listing));
    for (size_t i = 0; records[i].method[0] != 0 && i < 16; ++i) {
        SpiHandle member = nullptr;
        if (extractMember(source, long(records[i].position), memberSizeLimit(), &member) == SPI_ALL_RIGHT)
            spiFree(member);
    }
    spiFree(listing);
    return 0;
}
