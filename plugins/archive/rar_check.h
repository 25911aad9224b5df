// rar_check.h - the check of a RAR member's data against the CRC-32 its
// header records, which libarchive leaves out for stored members.
#pragma once

#include <cstddef>

#include "archive/archive_reader.h"

struct archive;

// False only when `a` is reading a RAR 4 or RAR 5 archive, the header of its
// current member (found from where libarchive began reading it) records a
// CRC-32 of the data, and `data` does not match it. A member whose header
// cannot be found, or that records no CRC, is taken as it is.
bool rarDataIntact(const ArchiveSource& source, archive* a, const unsigned char* data, std::size_t size);
