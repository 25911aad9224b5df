// seeds_archive.cpp - ZIP, 7z and TAR seeds with folders and several members.
#include "picture_fuzzing.h"
#include "sample_book/archive_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    ArchiveMembers members = {{"a.jpg", "jpeg"}, {"sub/", ""}, {"sub/b.png", std::string(3000, 'b')}};
    return fuzzing::writeSeeds(argv[1], {writeArchive(ArchiveFormat::Zip, members),
                                         writeArchive(ArchiveFormat::SevenZip, members),
                                         writeArchive(ArchiveFormat::Tar, members)});
}
