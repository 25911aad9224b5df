#include "platform/read_only_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
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

// Nothing that is not a regular file is opened: a FIFO without a writer
// would block the open for good, /dev/zero would never end. The alarm turns
// a hang into a failure.
TEST(ReadOnlyFile, RefusesFifosAndDevicesWithoutWaiting) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "page.bmp").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir / "zero.bmp").c_str()), 0);
    ::alarm(30);
    EXPECT_FALSE(ReadOnlyFile(dir / "page.bmp").isOpen());
    EXPECT_FALSE(ReadOnlyFile(dir / "zero.bmp").isOpen());
    EXPECT_FALSE(readFile(dir / "page.bmp").has_value());
    EXPECT_FALSE(readFile(dir / "zero.bmp").has_value());
    ::alarm(0);
}

TEST(ReadOnlyFile, ReadFileHoldsToItsCap) {
    TempFolder dir;
    writeFile(dir / "data", "0123456789");
    EXPECT_EQ(readFile(dir / "data", 10), "0123456789");
    EXPECT_FALSE(readFile(dir / "data", 9).has_value());
    EXPECT_FALSE(readFile(dir.path()).has_value());
}
