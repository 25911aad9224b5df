// archive_reader.h - listing and extracting archive members on libarchive.
#pragma once

#include <cstddef>
#include <cstdint>

#include "susie_plugin.h"

// Non-zero when the first bytes carry the signature of ZIP, RAR 4 or 5, 7z,
// TAR (ustar) or LZH.
int isArchive(const unsigned char* head, size_t size);

// Where an archive comes from: a file (name and the offset the archive starts
// at) or a memory image.
struct ArchiveSource {
    const char* fileName = nullptr;
    long offset = 0;
    const void* data = nullptr;
    size_t size = 0;
};

// The most members one listing holds; a larger archive is listed up to here.
constexpr size_t kMaxListedMembers = 65536;

// GetArchiveInfo: a block of SpiFileInfo records, folders left out, each
// member's position being its index among all entries of the archive.
int listArchive(const ArchiveSource& source, SpiHandle* listing);

// The largest member GetFile extracts: the largest 24-bit picture of
// kMaxPicturePixels with room for a BMP's headers (772 MiB), or the
// machine's physical memory when that is smaller.
size_t memberSizeLimit();

// GetFile to memory: the member at `position`, unpacked straight into the
// block handed out. Refused with SPI_NO_MEMORY when it declares or unpacks
// to more than `limit` bytes (a sparse member counts its holes), and with
// SPI_OUT_OF_ORDER when it unpacks to more or less than it declares.
int extractMember(const ArchiveSource& source, long position, size_t limit, SpiHandle* member);

// Copies `text` into a field of `capacity` bytes, zero-terminated, cut at a
// UTF-8 character boundary when it does not fit.
void copyNameField(char* field, size_t capacity, const char* text, size_t length);
