// handmade_archives.h - RAR 4 and LZH archives with stored (uncompressed)
// members, written byte by byte because libarchive cannot write them.
#pragma once

#include <string>

#include "sample_book/archive_writer.h"

namespace plugin_testing {

// RAR 4: marker, main header, one file header (method "store") per member,
// end-of-archive header. Names use '\' between folders, as RAR does.
std::string writeStoredRar4(const encoders::ArchiveMembers& members);

// LZH: one level-0 header with method "-lh0-" per member, then a zero byte.
std::string writeStoredLzh(const encoders::ArchiveMembers& members);

} // namespace plugin_testing
