// archive_writer.h - archives written with libarchive's writer.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace encoders {

enum class ArchiveFormat { Zip, SevenZip, Tar };

// (name inside the archive, bytes) in order; a name ending in '/' is a folder.
using ArchiveMembers = std::vector<std::pair<std::string, std::string>>;

std::string writeArchive(ArchiveFormat format, const ArchiveMembers& members);

} // namespace encoders
