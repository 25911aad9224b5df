#include "platform/memory_block.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(MemoryBlock, ZeroFilledSizedAndValidUntilFreed) {
    MemoryHandle block = allocateBlock(100);
    ASSERT_TRUE(isValidBlock(block));
    EXPECT_EQ(blockSize(block), 100u);
    unsigned char* bytes = lockBlock(block);
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(bytes[i], 0);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % 16, 0u);
    freeBlock(block);
    freeBlock(nullptr);
}

TEST(MemoryBlock, NullAndImpossibleSizes) {
    EXPECT_FALSE(isValidBlock(nullptr));
    EXPECT_EQ(lockBlock(nullptr), nullptr);
    EXPECT_EQ(blockSize(nullptr), 0u);
    EXPECT_EQ(allocateBlock(static_cast<std::size_t>(-1)), nullptr);
    MemoryHandle empty = allocateBlock(0);
    EXPECT_TRUE(isValidBlock(empty));
    EXPECT_EQ(blockSize(empty), 0u);
    freeBlock(empty);
}

TEST(MemoryBlock, UnfilledBlocksAreSizedAndFreedAlike) {
    MemoryHandle block = allocateUnfilledBlock(100);
    ASSERT_TRUE(isValidBlock(block));
    EXPECT_EQ(blockSize(block), 100u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(lockBlock(block)) % 16, 0u);
    freeBlock(block);
    EXPECT_EQ(allocateUnfilledBlock(static_cast<std::size_t>(-1)), nullptr);
    MemoryHandle empty = allocateUnfilledBlock(0);
    EXPECT_TRUE(isValidBlock(empty));
    EXPECT_EQ(blockSize(empty), 0u);
    freeBlock(empty);
}
