#include "os/GlobalMemory.h"

#include <QMutex>

#include <map>
#include <memory>

namespace os {

struct GlobalBlock {
    std::unique_ptr<std::byte[]> bytes;
    std::size_t size = 0;
    unsigned locks = 0;
};

namespace {

constexpr std::size_t LargestBlock = std::size_t(1) << 31;

// Every live block by its handle, so a stale or made-up handle is answered as the platform
// answers it instead of being dereferenced.
struct Blocks {
    QMutex mutex;
    std::map<HGLOBAL, std::unique_ptr<GlobalBlock>> live;
};

Blocks &blocks()
{
    static Blocks all;
    return all;
}

GlobalBlock *find(HGLOBAL handle)
{
    auto &all = blocks();
    auto it = all.live.find(handle);
    return it == all.live.end() ? nullptr : it->second.get();
}

} // namespace

HGLOBAL GlobalAlloc(unsigned flags, std::size_t bytes)
{
    if (bytes == 0 || bytes >= LargestBlock)
        return nullptr;
    auto block = std::make_unique<GlobalBlock>();
    block->bytes = (flags & GMEM_ZEROINIT) ? std::make_unique<std::byte[]>(bytes)
                                           : std::make_unique_for_overwrite<std::byte[]>(bytes);
    block->size = bytes;
    HGLOBAL handle = block.get();
    auto &all = blocks();
    QMutexLocker lock(&all.mutex);
    all.live.emplace(handle, std::move(block));
    return handle;
}

void *GlobalLock(HGLOBAL handle)
{
    QMutexLocker lock(&blocks().mutex);
    GlobalBlock *block = find(handle);
    if (!block)
        return nullptr;
    ++block->locks;
    return block->bytes.get();
}

bool GlobalUnlock(HGLOBAL handle)
{
    QMutexLocker lock(&blocks().mutex);
    GlobalBlock *block = find(handle);
    if (!block || block->locks == 0)
        return false;
    return --block->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL handle)
{
    auto &all = blocks();
    QMutexLocker lock(&all.mutex);
    return all.live.erase(handle) ? nullptr : handle;
}

std::size_t GlobalSize(HGLOBAL handle)
{
    QMutexLocker lock(&blocks().mutex);
    GlobalBlock *block = find(handle);
    return block ? block->size : 0;
}

unsigned GlobalFlags(HGLOBAL handle)
{
    QMutexLocker lock(&blocks().mutex);
    GlobalBlock *block = find(handle);
    return block ? (block->locks & 0xFFu) : GMEM_INVALID_HANDLE;
}

} // namespace os
