#include "picture/page_cache.h"

#include <gtest/gtest.h>

#include "picture/picture_fixture.h"

namespace {

PageKey keyOf(int index, int transform = 0) {
    PageKey key{index, "p" + std::to_string(index), {}};
    key.options.transform = transform;
    return key;
}

// Keeps a 10 x 10 24-bit picture whose bytes depend on `seed`; answers its bits.
std::string keepPicture(PageCache& cache, const PageKey& key, std::uint32_t seed, int rotation = 0) {
    PictureBuffer picture;
    loadRandom(picture, 10, 10, 24, seed);
    const std::string bits = bitsOf(picture);
    cache.keep(key, picture, rotation);
    EXPECT_EQ(picture.headerBlock, nullptr);
    EXPECT_EQ(picture.owned, 0);
    return bits;
}

// Takes the picture kept under `key` into `shown`; answers its rotation.
int takeInto(PageCache& cache, const PageKey& key, PictureBuffer& shown) {
    BlockPair blocks;
    const int rotation = cache.take(key, blocks);
    if (rotation >= 0) shown.attach(blocks.header, blocks.bits);
    return rotation;
}

} // namespace

TEST(PageCache, GivesBackThePictureOfTheSameEntryAndOptionsWithItsRotationOnce) {
    PageCache cache(1 << 20);
    const std::string first = keepPicture(cache, keyOf(3), 1, 2);
    keepPicture(cache, keyOf(4), 2);
    PictureBuffer shown;
    PageKey renamed = keyOf(3);
    renamed.name = "other";
    EXPECT_EQ(takeInto(cache, renamed, shown), -1); // the list changed under the index
    EXPECT_EQ(shown.headerBlock, nullptr);
    EXPECT_FALSE(cache.holds(nullptr));
    EXPECT_EQ(takeInto(cache, keyOf(3), shown), 2);
    EXPECT_EQ(bitsOf(shown), first);
    EXPECT_FALSE(cache.holds(shown.headerBlock));
    EXPECT_EQ(shown.owned, 1);
    EXPECT_EQ(takeInto(cache, keyOf(3), shown), -1);
    EXPECT_EQ(cache.count(), 1u);
    // A picture kept again under the same entry replaces the older one.
    const std::string again = keepPicture(cache, keyOf(4), 5);
    EXPECT_EQ(cache.count(), 1u);
    EXPECT_EQ(takeInto(cache, keyOf(4), shown), 0);
    EXPECT_EQ(bitsOf(shown), again);
}

TEST(PageCache, OtherOptionsDropEverythingProcessedWithTheOld) {
    PageCache cache(1 << 20);
    keepPicture(cache, keyOf(1), 1);
    keepPicture(cache, keyOf(2), 2);
    PictureBuffer shown;
    EXPECT_EQ(takeInto(cache, keyOf(1, 3), shown), -1);
    EXPECT_EQ(cache.count(), 0u);
    EXPECT_EQ(cache.bytesHeld(), 0u);
}

TEST(PageCache, ADecodingStepDropsOnlyWhatEarlierStepsKept) {
    PageCache cache(1 << 20);
    keepPicture(cache, keyOf(1), 1);
    cache.beginStep();
    keepPicture(cache, keyOf(2), 2);
    cache.dropEarlierSteps();
    PictureBuffer shown;
    EXPECT_EQ(takeInto(cache, keyOf(1), shown), -1);
    EXPECT_EQ(takeInto(cache, keyOf(2), shown), 0);
}

TEST(PageCache, StaysWithinItsBudgetOldestFirst) {
    PageCache cache(1 << 20);
    keepPicture(cache, keyOf(1), 1);
    const std::size_t picture = cache.bytesHeld();
    cache.setBudget(2 * picture);
    keepPicture(cache, keyOf(2), 2);
    keepPicture(cache, keyOf(3), 3);
    EXPECT_EQ(cache.bytesHeld(), 2 * picture);
    PictureBuffer shown;
    EXPECT_EQ(takeInto(cache, keyOf(1), shown), -1);
    EXPECT_EQ(takeInto(cache, keyOf(2), shown), 0);
    cache.setBudget(picture - 1); // nothing fits any more
    EXPECT_EQ(cache.count(), 0u);
    keepPicture(cache, keyOf(4), 4);
    EXPECT_EQ(cache.count(), 0u);
    EXPECT_EQ(cache.bytesHeld(), 0u);
}
