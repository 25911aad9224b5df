#include "plugin_folder.h"

#include <filesystem>

#include "support/bmp_writer.h"

namespace testing_support {

void PluginFolder::install(const std::string& name, const std::string& asName) {
    std::filesystem::copy_file(std::string(VOXA_TEST_PLUGIN_DIR) + "/tp_" + name + ".spi",
                               *this / (asName.empty() ? "tp_" + name + ".spi" : asName));
}

std::string tpicFile(int width, int height, int bitCount, unsigned seed) {
    return "TPIC" + makeBmp(width, height, bitCount, seed);
}

std::string testArchive(const std::vector<TestMember>& members) {
    std::string text = "TARC\n";
    for (const TestMember& member : members) {
        text += member.folder + "\t" + member.name + "\t" + member.source;
        if (member.claimedSize) text += "\t" + std::to_string(*member.claimedSize);
        text += "\n";
    }
    return text;
}

std::string takeBits(PageList& list) {
    std::string bits(reinterpret_cast<const char*>(platform::lockBlock(list.loadedBits)),
                     platform::blockSize(list.loadedBits));
    platform::freeBlock(list.loadedHeader);
    platform::freeBlock(list.loadedBits);
    list.loadedHeader = list.loadedBits = nullptr;
    return bits;
}

} // namespace testing_support
