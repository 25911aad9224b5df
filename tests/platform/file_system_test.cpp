#include "platform/file_system.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

using namespace platform;
using testing_support::TempFolder;
using testing_support::writeFile;

TEST(FileSystem, KindsSizesAndTimes) {
    TempFolder dir;
    writeFile(dir / "a.bin", "12345");
    EXPECT_EQ(pathKind(dir / "a.bin"), PathKind::File);
    EXPECT_EQ(pathKind(dir.path()), PathKind::Folder);
    EXPECT_EQ(pathKind(dir / "missing"), PathKind::Missing);
    EXPECT_EQ(pathKind(""), PathKind::Missing);
    EXPECT_EQ(fileSize(dir / "a.bin"), 5u);
    EXPECT_FALSE(fileSize(dir.path()).has_value());
    ASSERT_TRUE(lastWriteTime(dir / "a.bin").has_value());
    EXPECT_GT(*lastWriteTime(dir / "a.bin"), 1600000000);
}

TEST(FileSystem, ListingMarksFoldersAndSkipsDotEntries) {
    TempFolder dir;
    writeFile(dir / "one.jpg", "x");
    testing_support::makeFolder(dir / "scans.bmp");
    auto entries = listFolder(dir.path());
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 2u);
    std::sort(entries->begin(), entries->end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    EXPECT_EQ((*entries)[0].name, "one.jpg");
    EXPECT_FALSE((*entries)[0].isFolder);
    EXPECT_EQ((*entries)[1].name, "scans.bmp");
    EXPECT_TRUE((*entries)[1].isFolder);
    EXPECT_FALSE(listFolder(dir / "missing").has_value());
}

TEST(FileSystem, CurrentDirectoryAndExecutableFolder) {
    TempFolder dir;
    std::string before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(dir.path()));
    EXPECT_EQ(currentDirectory() + "/", dir.path());
    EXPECT_FALSE(setCurrentDirectory(dir / "missing"));
    ASSERT_TRUE(setCurrentDirectory(before));
    std::string exe = executableFolder();
    EXPECT_EQ(exe.back(), '/');
    EXPECT_EQ(pathKind(exe), PathKind::Folder);
}

TEST(FileSystem, JoinPath) {
    EXPECT_EQ(joinPath("/a", "b.jpg"), "/a/b.jpg");
    EXPECT_EQ(joinPath("/a/", "b.jpg"), "/a/b.jpg");
    EXPECT_EQ(joinPath("/a/", "/abs/b.jpg"), "/abs/b.jpg");
    EXPECT_EQ(joinPath("", "b.jpg"), "b.jpg");
}

TEST(FileSystem, AtomicWriteReplacesOrKeepsTheOldFile) {
    TempFolder dir;
    std::string path = dir / "settings.ini";
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    ASSERT_TRUE(writeFileAtomically(path, "new contents"));
    EXPECT_EQ(readFile(path), "new contents");
    EXPECT_FALSE(writeFileAtomically(dir / "missing/settings.ini", "lost"));
}

TEST(FileSystem, AtomicWriteLeavesNoTemporaryBehindOnFailure) {
    TempFolder dir;
    // Renaming a file over a folder fails after the temporary was written.
    testing_support::makeFolder(dir / "taken");
    EXPECT_FALSE(writeFileAtomically(dir / "taken", "bytes"));
    auto entries = listFolder(dir.path());
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(entries->size(), 1u);
}

TEST(FileSystem, WritableFoldersAndConfigHome) {
    TempFolder dir;
    EXPECT_TRUE(isWritableFolder(dir.path()));
    EXPECT_FALSE(isWritableFolder(dir / "missing"));
    ASSERT_TRUE(makeFolders(dir / "a/b/c"));
    EXPECT_EQ(pathKind(dir / "a/b/c"), PathKind::Folder);
    writeFile(dir / "file", "x");
    EXPECT_FALSE(makeFolders(dir / "file/sub"));

    ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(userConfigFolder(), "/somewhere/config/");
    ::setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    ::setenv("HOME", "/home/reader", 1);
    EXPECT_EQ(userConfigFolder(), "/home/reader/.config/");
    ::unsetenv("XDG_CONFIG_HOME");
}
