// plugin_folder.h - a fresh plug-in folder holding chosen test plug-ins, and
// the fixture files those plug-ins read.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sources/page_list.h"
#include "support/temp_folder.h"

namespace testing_support {

class PluginFolder : public TempFolder {
public:
    // Copies tp_<name>.spi from the build's test plug-in folder, as `asName`
    // when given (for instance "LHASAD.SPI").
    void install(const std::string& name, const std::string& asName = "");
};

// A picture the test plug-ins decode: "TPIC" followed by a BMP file.
std::string tpicFile(int width, int height, int bitCount, unsigned seed);

struct TestMember {
    std::string folder; // "" or ending with '/'
    std::string name;
    std::string source; // path of the file holding the member's bytes; "" for none
    std::optional<long long> claimedSize =
        std::nullopt; // what the listing claims instead of the real size
};
// The text of a test archive listing `members` in this order.
std::string testArchive(const std::vector<TestMember>& members);

// The pixel block of the last decoded picture; frees both blocks.
std::string takeBits(PageList& list);

} // namespace testing_support
