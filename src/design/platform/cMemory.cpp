#include "platform/cMemory.h"

cMemory::~cMemory()
{
    FreeMemory();
}

void cMemory::setHandle(os::HGLOBAL handle)
{
    FreeMemory();
    m_handle = handle;
}

void *cMemory::Pointer()
{
    if (!m_handle)
        return nullptr;
    if (!m_pointer)
        LockMemory();
    return m_pointer;
}

std::size_t cMemory::Size() const
{
    return m_handle ? os::GlobalSize(m_handle) : 0;
}

bool cMemory::AllocateMemory(std::size_t size, unsigned flags)
{
    FreeMemory();
    m_handle = os::GlobalAlloc(flags, size);
    return m_handle != nullptr;
}

bool cMemory::LockMemory()
{
    if (!m_handle || m_pointer)
        return false;
    m_pointer = os::GlobalLock(m_handle);
    return m_pointer != nullptr;
}

void cMemory::UnlockMemory()
{
    if (!m_handle || !m_pointer)
        return;
    os::GlobalUnlock(m_handle);
    m_pointer = nullptr;
}

void cMemory::FreeMemory()
{
    if (m_handle) {
        UnlockMemory();
        os::GlobalFree(m_handle);
    }
    m_handle = nullptr;
}

void cMemory::ReleaseDontFreeMemory()
{
    UnlockMemory();
    m_handle = nullptr;
}
