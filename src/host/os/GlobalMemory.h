#pragma once

#include <cstddef>

// Global memory blocks: movable blocks behind a handle, locked to get their address. A block
// outlives whoever allocated it until somebody frees its handle, so a handle can be handed to a
// platform function that takes the block over.
namespace os {

struct GlobalBlock;
using HGLOBAL = GlobalBlock *;

// GlobalAlloc flags the callers use; a block is always movable here, so GMEM_FIXED and
// GMEM_MOVEABLE differ only in name.
inline constexpr unsigned GMEM_FIXED = 0x0000;
inline constexpr unsigned GMEM_MOVEABLE = 0x0002;
inline constexpr unsigned GMEM_ZEROINIT = 0x0040;
inline constexpr unsigned GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
inline constexpr unsigned GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// GlobalFlags: the lock count in the low byte, or this for a handle that names no block.
inline constexpr unsigned GMEM_INVALID_HANDLE = 0x8000;

// A new block of at least `bytes` bytes, zeroed with GMEM_ZEROINIT; null when it cannot be had
// (a size of 0 or more than the platform's 2 GB).
HGLOBAL GlobalAlloc(unsigned flags, std::size_t bytes);
// Raises the block's lock count and answers its address; null for an unknown handle.
void *GlobalLock(HGLOBAL block);
// Lowers the lock count; true while the block stays locked, false once it is unlocked (or for an
// unknown handle), as the platform answers.
bool GlobalUnlock(HGLOBAL block);
// Frees the block whatever its lock count; null on success, the handle itself when it names no
// block.
HGLOBAL GlobalFree(HGLOBAL block);
// The block's size in bytes (at least what was asked for); 0 for an unknown handle.
std::size_t GlobalSize(HGLOBAL block);
// The lock count in the low byte, or GMEM_INVALID_HANDLE.
unsigned GlobalFlags(HGLOBAL block);

} // namespace os
