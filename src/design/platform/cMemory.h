#pragma once

#include "os/GlobalMemory.h"

#include <cstddef>

// Owns one global memory block and frees it at the latest when it ends, so that a caller can hand
// the block's address to a platform function without managing the handle.
class cMemory {
public:
    cMemory() = default;
    ~cMemory();
    cMemory(const cMemory &) = delete;
    cMemory &operator=(const cMemory &) = delete;

    os::HGLOBAL Handle() const { return m_handle; }
    // Frees the block owned now and takes over the given one, unlocked.
    void setHandle(os::HGLOBAL handle);
    // The block's address, locking it on first read; null with no block or when it cannot be locked.
    void *Pointer();
    std::size_t Size() const;

    // Frees the block owned now, then allocates one with the platform's flags; true when a
    // handle came back.
    bool AllocateMemory(std::size_t size, unsigned flags);
    // Locks the block once; false with no block, when it is locked already or the lock fails.
    bool LockMemory();
    void UnlockMemory();
    void FreeMemory();
    // Unlocks the block and gives it up without freeing it, for an owner that takes it over.
    void ReleaseDontFreeMemory();

private:
    os::HGLOBAL m_handle = nullptr;
    void *m_pointer = nullptr;
};
