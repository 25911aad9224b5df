#include "platform/file_system.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_folder.h"
#include "support/unprivileged.h"

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

TEST(FileSystem, AtomicWriteGoesThroughLinksToTheirTarget) {
    TempFolder dir;
    writeFile(dir / "dotfiles/voxa.ini", "old");
    testing_support::makeFolder(dir / "bin");
    ASSERT_EQ(::symlink("../dotfiles/voxa.ini", (dir / "bin/Voxa.ini").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "bin/Voxa.ini").c_str(), (dir / "chain.ini").c_str()), 0);
    ASSERT_TRUE(writeFileAtomically(dir / "chain.ini", "new"));
    EXPECT_EQ(readFile(dir / "dotfiles/voxa.ini"), "new");
    struct stat info {};
    ASSERT_EQ(::lstat((dir / "bin/Voxa.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::lstat((dir / "chain.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(listFolder(dir / "bin")->size(), 1u); // the temporary went beside the target
    EXPECT_EQ(listFolder(dir / "dotfiles")->size(), 1u);

    // A link to a file not there yet creates it; a loop of links is refused.
    ASSERT_EQ(::symlink("later.ini", (dir / "dangling.ini").c_str()), 0);
    ASSERT_TRUE(writeFileAtomically(dir / "dangling.ini", "made"));
    EXPECT_EQ(readFile(dir / "later.ini"), "made");
    ASSERT_EQ(::symlink("loop.ini", (dir / "loop.ini").c_str()), 0);
    EXPECT_FALSE(followLinks(dir / "loop.ini").has_value());
    EXPECT_FALSE(writeFileAtomically(dir / "loop.ini", "lost"));
    EXPECT_EQ(followLinks(dir / "chain.ini"), dir / "bin/../dotfiles/voxa.ini");
}

TEST(FileSystem, AtomicWriteRefusesWhatTheUserMayNotWrite) {
    TempFolder dir;
    writeFile(dir / "list.vxl", "kept");
    ::mkfifo((dir / "pipe.vxl").c_str(), 0644);
    EXPECT_FALSE(writeFileAtomically(dir / "pipe.vxl", "x"));
    testing_support::runUnprivileged(dir.path(), [&] {
        ::chmod((dir / "list.vxl").c_str(), 0444);
        EXPECT_FALSE(writeFileAtomically(dir / "list.vxl", "replaced"));
        EXPECT_EQ(readFile(dir / "list.vxl"), "kept");
        ::chmod((dir / "list.vxl").c_str(), 0644);
        EXPECT_TRUE(writeFileAtomically(dir / "list.vxl", "replaced"));
    });
    EXPECT_EQ(readFile(dir / "list.vxl"), "replaced");
    EXPECT_EQ(listFolder(dir.path())->size(), 2u);
}

TEST(FileSystem, AtomicWriteRemovesOnlyStaleTemporariesOfItsFile) {
    TempFolder dir;
    for (const char* name : {"a.ini.voxa-Ab12Cd", "a.ini.voxa-live00", "a.ini.voxa-short", "b.ini.voxa-Ab12Cd"})
        writeFile(dir / name, "left by a crash");
    // A save in progress elsewhere holds its temporary locked.
    int live = ::open((dir / "a.ini.voxa-live00").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    ASSERT_TRUE(writeFileAtomically(dir / "a.ini", "saved"));
    ::close(live);
    std::vector<std::string> names;
    std::optional<std::vector<FolderEntry>> entries = listFolder(dir.path());
    for (const FolderEntry& entry : *entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.ini", "a.ini.voxa-live00", "a.ini.voxa-short", "b.ini.voxa-Ab12Cd"}));
}

TEST(FileSystem, RenameWithoutReplacingKeepsWhatIsThere) {
    TempFolder dir;
    writeFile(dir / "a", "first");
    writeFile(dir / "b", "second");
    EXPECT_FALSE(renameWithoutReplacing(dir / "a", dir / "b"));
    EXPECT_EQ(readFile(dir / "b"), "second");
    EXPECT_TRUE(renameWithoutReplacing(dir / "a", dir / "c"));
    EXPECT_EQ(readFile(dir / "c"), "first");
    EXPECT_EQ(pathKind(dir / "a"), PathKind::Missing);
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
