// stored_archives.h - RAR 4, RAR 5 and LZH archives with stored (uncompressed)
// members, written byte by byte because libarchive cannot write them. The
// tests and the fuzz seeds use them; the sample book does not.
#pragma once

#include <string>

#include "sample_book/archive_writer.h"

namespace encoders {

// RAR 4: marker, main header, one file header (method "store") per member,
// end-of-archive header. Names use '\' between folders, as RAR does.
std::string writeStoredRar4(const ArchiveMembers& members);

// RAR 5: signature, main header, one file header (compression "store") per
// member, end-of-archive header. Names use '/' between folders.
std::string writeStoredRar5(const ArchiveMembers& members);

// LZH: one level-0 header with method "-lh0-" per member, then a zero byte.
std::string writeStoredLzh(const ArchiveMembers& members);

} // namespace encoders
