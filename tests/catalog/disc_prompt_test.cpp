// The disc prompt for a catalogued path that is not there.
#include "catalog/disc_prompt.h"

#include <unistd.h>

#include "catalog/catalog_window_fixture.h"

using namespace catalog_test;
using platform::DialogResult;

namespace {

class DiscPromptTest : public CatalogWindowTest {
protected:
    // A disc that is not in: nothing is mounted below /media for it.
    const std::string missing =
        "/media/voxa-test-" + std::to_string(::getpid()) + "/COMICS_01/book";
};

} // namespace

TEST_F(DiscPromptTest, AsksForTheSelectedRowsDiscAndOpensAgainOnRetry) {
    fill({kColumnTitle, kColumnLocation, kColumnCdName},
         {{"a", "/a", "OTHER"}, {"b", missing, "COMICS_01"}});
    select({1});
    answers.push_back({DialogResult::Retry, {}, 0});
    bool reopened = false;
    EXPECT_TRUE(promptForDisc(catalog, missing, reopened));
    EXPECT_TRUE(reopened);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "CD[COMICS_01]をいれてくれ");
    EXPECT_EQ(requests[0].caption, "ＣＤいれろや");
    EXPECT_EQ(requests[0].buttons, platform::MessageButtons::RetryCancel);
    EXPECT_EQ(requests[0].owner, main);
    EXPECT_EQ(opened, (std::vector<std::string>{missing}));

    // Cancel leaves the failure to the viewer; without a selection the disc
    // has no name.
    select({});
    EXPECT_FALSE(promptForDisc(catalog, missing, reopened));
    EXPECT_EQ(requests[1].text, "CD[]をいれてくれ");
    EXPECT_EQ(opened.size(), 1u);

    // Retry while the disc is still out: handled, but nothing opened.
    openSucceeds = false;
    answers.push_back({DialogResult::Retry, {}, 0});
    EXPECT_TRUE(promptForDisc(catalog, missing, reopened));
    EXPECT_FALSE(reopened);
}

TEST_F(DiscPromptTest, NoQuestionForAPathThatIsThereOffRemovableMediaOrWithoutTheColumn) {
    fill({kColumnTitle, kColumnLocation, kColumnCdName}, {{"a", "/a", "COMICS_01"}});
    select({0});
    bool reopened = false;
    EXPECT_FALSE(
        promptForDisc(catalog, temp.path(), reopened)); // there: it failed for another reason
    EXPECT_FALSE(promptForDisc(catalog, temp / "gone", reopened)); // a hard disk's folder
    fill({kColumnTitle, kColumnLocation}, {{"a", "/a"}});
    EXPECT_FALSE(promptForDisc(catalog, missing, reopened)); // the catalog does not show disc names
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(opened.empty());
}
