#include "os/GlobalMemory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(GlobalMemory, ZeroInitBlockIsZeroedAndAtLeastItsSize)
{
    os::HGLOBAL block = os::GlobalAlloc(os::GHND, 26);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(os::GlobalSize(block), 26u);
    auto *bytes = static_cast<const unsigned char *>(os::GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_TRUE(std::all_of(bytes, bytes + 26, [](unsigned char b) { return b == 0; }));
    os::GlobalUnlock(block);
    EXPECT_EQ(os::GlobalFree(block), nullptr);
}

TEST(GlobalMemory, LockCountRisesAndFallsAsThePlatformCountsIt)
{
    os::HGLOBAL block = os::GlobalAlloc(os::GMEM_MOVEABLE, 8);
    void *first = os::GlobalLock(block);
    EXPECT_EQ(os::GlobalLock(block), first);
    EXPECT_EQ(os::GlobalFlags(block), 2u);
    EXPECT_TRUE(os::GlobalUnlock(block)) << "still locked once";
    EXPECT_FALSE(os::GlobalUnlock(block)) << "now unlocked";
    EXPECT_FALSE(os::GlobalUnlock(block)) << "an unlocked block stays at 0";
    EXPECT_EQ(os::GlobalFlags(block), 0u);
    EXPECT_EQ(os::GlobalFree(block), nullptr);
}

TEST(GlobalMemory, FreedOrUnknownHandleIsAnsweredNotDereferenced)
{
    os::HGLOBAL block = os::GlobalAlloc(os::GPTR, 4);
    ASSERT_EQ(os::GlobalFree(block), nullptr);
    EXPECT_EQ(os::GlobalLock(block), nullptr);
    EXPECT_EQ(os::GlobalSize(block), 0u);
    EXPECT_EQ(os::GlobalFlags(block), os::GMEM_INVALID_HANDLE);
    EXPECT_EQ(os::GlobalFree(block), block);
    EXPECT_EQ(os::GlobalFree(nullptr), nullptr);
}

TEST(GlobalMemory, SizeOutsideThePlatformsRangeIsRefused)
{
    EXPECT_EQ(os::GlobalAlloc(os::GHND, 0), nullptr);
    EXPECT_EQ(os::GlobalAlloc(os::GHND, std::size_t(1) << 31), nullptr);
}

} // namespace
