#include "platform/read_only_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

using namespace platform;
using testing_support::TempFolder;
using testing_support::writeFile;

TEST(ReadOnlyFile, ReadsExactRangesAndRefusesFolders) {
    TempFolder dir;
    writeFile(dir / "data", "0123456789");
    ReadOnlyFile file(dir / "data");
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), 10u);
    char buffer[4] = {};
    ASSERT_TRUE(file.readAt(6, buffer, 4));
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_FALSE(file.readAt(8, buffer, 4));
    EXPECT_FALSE(ReadOnlyFile(dir.path()).isOpen());
    EXPECT_FALSE(ReadOnlyFile(dir / "missing").isOpen());
}
