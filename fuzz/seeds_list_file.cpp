// Writes list-file seeds (CP932 and UTF-8 texts, several columns) into argv[1].
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
    appendRow(list, kIconFile, {"한국어", "/x", "y"});
    return fuzzing::writeSeeds(argv[1], {plain, japanese, listFileBytes(list)});
}
