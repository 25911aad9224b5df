// Writes list-file seeds into argv[1]: files in CP932, one with texts CP932
// cannot hold (and so a trailer), one with bytes that are no CP932 character.
#include "catalog/list_file.h"
#include "picture_fuzzing.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    CatalogList list;
    resetCatalog(list);
    appendRow(list, kIconFolder, {"ab", ""});
    std::string plain = listFileBytes(list);
    list.columns[kColumnAuthor].displayPosition = 2;
    list.visibleCount = 3;
    buildViewColumns(list);
    appendRow(list, kIconArchive, {"表紙", "/books/a.zip", "作者"});
    std::string japanese = listFileBytes(list);
    appendRow(list, kIconFile, {"한국어〜", "/x\xFF", "y\u200B"});
    std::string trailer = listFileBytes(list);
    std::string undecodable = plain;
    undecodable.replace(undecodable.size() - 8, 2, "\x85\x40");
    return fuzzing::writeSeeds(argv[1], {plain, japanese, trailer, undecodable});
}
