#include "catalog/folder_tree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_system.h"
#include "sources/page_list.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

using testing_support::makeFolder;
using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

std::vector<std::string> locations(const CatalogList& list) {
    std::vector<std::string> paths;
    for (const CatalogRow& row : list.rows)
        paths.emplace_back(row.cells[1]);
    return paths;
}

std::size_t indexOf(const std::vector<std::string>& paths, const std::string& path) {
    return std::size_t(std::find(paths.begin(), paths.end(), path) - paths.begin());
}

} // namespace

// root (a file)
//   a (a file) / a1 (empty), a2 (a file) / deep (a file)
//   b / c / d (a file)           only d holds a file
//   .hidden (a file) / inner (a file)
//   e (a file), with e/up -> .. and e/self -> .
//   locked (a file, not readable)
TEST(AddFolderRecursive, AddsEachFolderHoldingFilesOnceAndEnds) {
    TempFolder temp;
    const std::string root = temp / "shelf";
    for (const char* file :
         {"readme.txt", "a/1.jpg", "a/a2/2.jpg", "a/a2/deep/3.jpg", "b/c/d/4.jpg", ".hidden/5.jpg",
          ".hidden/inner/6.jpg", "e/7.jpg", "locked/8.jpg"})
        writeFile(root + "/" + file, "x");
    makeFolder(root + "/a/a1");
    std::filesystem::create_symlink("..", root + "/e/up");
    std::filesystem::create_symlink(".", root + "/e/self");
    ASSERT_EQ(::chmod((root + "/locked").c_str(), 0), 0);

    testing_support::runUnprivileged(temp.path(), [&] {
        PageList pages("/nonexistent/");
        CatalogList list;
        resetCatalog(list);
        std::vector<std::pair<int, int>> steps;
        EXPECT_TRUE(addFolderRecursive(list, pages, root, [&](int done, int found) {
            steps.emplace_back(done, found);
            return steps.size() < 1000; // a walk that never ends is stopped here
        }));
        std::vector<std::string> added = locations(list);
        std::vector<std::string> expected = {
            root, root + "/a", root + "/a/a2", root + "/a/a2/deep", root + "/b/c/d", root + "/e"};
        std::vector<std::string> sorted = added;
        std::sort(sorted.begin(), sorted.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected);
        // A folder before the folders below it; sub-folders as the system lists them.
        EXPECT_EQ(added.front(), root);
        EXPECT_LT(indexOf(added, root + "/a"), indexOf(added, root + "/a/a2"));
        EXPECT_LT(indexOf(added, root + "/a/a2"), indexOf(added, root + "/a/a2/deep"));
        std::vector<std::string> listed;
        const auto listing = platform::listFolder(root);
        ASSERT_TRUE(listing);
        for (const platform::FolderEntry& entry : *listing)
            if (entry.name == "a" || entry.name == "e") listed.push_back(root + "/" + entry.name);
        EXPECT_EQ(indexOf(added, listed[0]) < indexOf(added, listed[1]), true);
        // Each folder found is done once: the root, a, a1, a2, deep, b, c, d,
        // e, up, self, locked.
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(steps.back(), std::make_pair(12, 12));
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].first, int(i + 1));
            EXPECT_GE(steps[i].second, steps[i].first);
        }
    });
    ::chmod((root + "/locked").c_str(), 0755);
}

TEST(AddFolderRecursive, StoppingKeepsTheRowsAddedSoFar) {
    TempFolder temp;
    for (const char* file : {"1/x", "2/x", "3/x", "4/x"})
        writeFile(temp / file, "x");
    PageList pages("/nonexistent/");
    CatalogList list;
    resetCatalog(list);
    // The root holds no file; stopped after its second folder.
    EXPECT_FALSE(
        addFolderRecursive(list, pages, temp.path(), [](int done, int) { return done < 3; }));
    EXPECT_EQ(list.rows.size(), 2u);
    EXPECT_TRUE(list.modified);
}
