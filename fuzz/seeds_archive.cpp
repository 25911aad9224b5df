// seeds_archive.cpp - seeds of every archive type, with folders and several members.
#include "picture_fuzzing.h"
#include "sample_book/archive_writer.h"
#include "sample_book/stored_archives.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    ArchiveMembers members = {{"a.jpg", "jpeg"}, {"sub/", ""}, {"sub/b.png", std::string(3000, 'b')}};
    // The stored writers make no folder entries.
    ArchiveMembers files = {members[0], members[2]};
    return fuzzing::writeSeeds(argv[1], {writeArchive(ArchiveFormat::Zip, members),
                                         writeArchive(ArchiveFormat::SevenZip, members),
                                         writeArchive(ArchiveFormat::Tar, members),
                                         writeStoredRar4(files), writeStoredRar5(files),
                                         writeStoredLzh(files)});
}
