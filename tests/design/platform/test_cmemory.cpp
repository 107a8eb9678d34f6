#include "platform/cMemory.h"

#include <gtest/gtest.h>

namespace {

TEST(cMemory, PointerOfAnEmptyObjectIsNullAndAllocatesNothing)
{
    cMemory memory;
    EXPECT_EQ(memory.Pointer(), nullptr);
    EXPECT_EQ(memory.Handle(), nullptr);
    EXPECT_EQ(memory.Size(), 0u);
    EXPECT_FALSE(memory.LockMemory());
}

TEST(cMemory, PointerLocksTheBlockOnceAndThenLockMemoryRefuses)
{
    cMemory memory;
    ASSERT_TRUE(memory.AllocateMemory(26, os::GMEM_ZEROINIT));
    void *first = memory.Pointer();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(memory.Pointer(), first);
    EXPECT_EQ(os::GlobalFlags(memory.Handle()), 1u);
    EXPECT_FALSE(memory.LockMemory());
    memory.UnlockMemory();
    EXPECT_EQ(os::GlobalFlags(memory.Handle()), 0u);
    EXPECT_TRUE(memory.LockMemory());
}

TEST(cMemory, AllocatingAgainFreesTheLockedBlockFirst)
{
    cMemory memory;
    ASSERT_TRUE(memory.AllocateMemory(16, os::GHND));
    os::HGLOBAL old = memory.Handle();
    ASSERT_NE(memory.Pointer(), nullptr);
    ASSERT_TRUE(memory.AllocateMemory(32, os::GHND));
    if (memory.Handle() != old) { // the allocator may hand the freed address out again
        EXPECT_EQ(os::GlobalFlags(old), os::GMEM_INVALID_HANDLE);
    }
    EXPECT_EQ(os::GlobalFlags(memory.Handle()), 0u) << "the new block starts unlocked";
    EXPECT_GE(memory.Size(), 32u);
}

TEST(cMemory, ReleasedBlockOutlivesTheObjectForItsNewOwner)
{
    os::HGLOBAL kept = nullptr;
    {
        cMemory memory;
        ASSERT_TRUE(memory.AllocateMemory(26, os::GHND));
        static_cast<char *>(memory.Pointer())[0] = 'K';
        kept = memory.Handle();
        memory.ReleaseDontFreeMemory();
        EXPECT_EQ(memory.Handle(), nullptr);
        EXPECT_EQ(memory.Pointer(), nullptr);
    }
    ASSERT_EQ(os::GlobalFlags(kept), 0u) << "still a block, and unlocked";
    cMemory taker;
    taker.setHandle(kept);
    EXPECT_EQ(static_cast<char *>(taker.Pointer())[0], 'K');
}

TEST(cMemory, EndingTheObjectFreesItsBlock)
{
    os::HGLOBAL handle = nullptr;
    {
        cMemory memory;
        ASSERT_TRUE(memory.AllocateMemory(26, os::GHND));
        handle = memory.Handle();
        EXPECT_GE(memory.Size(), 26u);
        ASSERT_NE(memory.Pointer(), nullptr);
    }
    EXPECT_EQ(os::GlobalFlags(handle), os::GMEM_INVALID_HANDLE);
}

TEST(cMemory, HandleWriteFreesTheOwnedBlock)
{
    cMemory memory;
    ASSERT_TRUE(memory.AllocateMemory(8, os::GHND));
    os::HGLOBAL old = memory.Handle();
    ASSERT_NE(memory.Pointer(), nullptr);
    os::HGLOBAL other = os::GlobalAlloc(os::GHND, 8);
    memory.setHandle(other);
    EXPECT_EQ(os::GlobalFlags(old), os::GMEM_INVALID_HANDLE);
    EXPECT_EQ(memory.Handle(), other);
    EXPECT_EQ(os::GlobalFlags(other), 0u);
}

} // namespace
