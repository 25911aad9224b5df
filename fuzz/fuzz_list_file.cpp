// Feeds arbitrary bytes to the list-file reader, and writes back what it read.
#include <string>

#include "catalog/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    CatalogList list;
    resetCatalog(list);
    readListBytes(list, std::string(reinterpret_cast<const char*>(data), size));
    listFileBytes(list);
    return 0;
}
