// The small-block pool and the global allocation and release operators built on it. This file is
// linked into every program directly (not picked from the library), so that the replacement
// operators are the ones the program and its runtime call.
#include "app/SmallBlockAllocator.h"

#include <pyro/app/CriticalLock.h>

#include <cstdlib>
#include <new>
#include <type_traits>
#ifdef _WIN32
#include <malloc.h>
#endif

static_assert(std::is_trivially_destructible_v<CSmallBlockAllocator>,
              "the process-wide pool must outlive every static object");

namespace {

// Enters the lock in use, if any, for one stack operation. The pointer is read once, so a
// DropLock in between cannot leave the lock held.
class CPoolGuard {
public:
    explicit CPoolGuard(CCriticalLock* lock) : lock_(lock) { if (lock_) lock_->Enter(); }
    ~CPoolGuard() { if (lock_) lock_->Leave(); }
    CPoolGuard(const CPoolGuard&) = delete;
    CPoolGuard& operator=(const CPoolGuard&) = delete;

private:
    CCriticalLock* lock_;
};

CSmallBlockAllocator g_pool;

void DropGlobalLock() { g_pool.DropLock(); }

}  // namespace

bool CSmallBlockAllocator::Init(CCriticalLock* lock)
{
    if (initialised_.load(std::memory_order_acquire)) return false;
    CCriticalGuard guard(*lock);
    if (initialised_.load(std::memory_order_relaxed)) return false;
    for (int i = 0; i < kBlockCount; ++i) freeStack_[i] = i;
    top_ = kBlockCount;
    lock_ = lock;
    initialised_.store(true, std::memory_order_release);
    return true;
}

void* CSmallBlockAllocator::Allocate(std::size_t n)
{
    if (n > kBlockSize || !initialised_.load(std::memory_order_acquire)) return nullptr;
    CPoolGuard guard(lock_);
    if (top_ == 0) return nullptr;
    return arena_ + static_cast<std::size_t>(freeStack_[--top_]) * kBlockSize;
}

bool CSmallBlockAllocator::Release(void* p)
{
    if (!Owns(p)) return false;
    const std::size_t offset = static_cast<unsigned char*>(p) - arena_;
    CPoolGuard guard(lock_);
    freeStack_[top_++] = static_cast<std::int32_t>(offset / kBlockSize);
    return true;
}

int CSmallBlockAllocator::FreeCount() const
{
    CPoolGuard guard(lock_);
    return top_;
}

CSmallBlockAllocator& CSmallBlockAllocator::Global()
{
    if (!g_pool.initialised_.load(std::memory_order_acquire)) {
        // Built by the first allocation, during static initialisation on the first thread, and
        // destroyed at exit. DropGlobalLock is registered later, so it runs first: releases made
        // after the lock is gone go on without it.
        static CCriticalLock lock;
        if (g_pool.Init(&lock)) std::atexit(DropGlobalLock);
    }
    return g_pool;
}

#if PYRO_SMALL_BLOCK_OPERATORS

namespace {

// Asks the heap until it gives memory, calling the new handler between attempts as the standard
// operators do; without a handler the request fails with std::bad_alloc.
template <class TryAllocate>
void* HeapAllocate(TryAllocate tryAllocate)
{
    for (;;) {
        if (void* p = tryAllocate()) return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void* Allocate(std::size_t n)
{
    if (void* p = CSmallBlockAllocator::Global().Allocate(n)) return p;
    // A pointer is due even for 0 bytes, and some runtimes answer malloc(0) with null.
    return HeapAllocate([n] { return std::malloc(n ? n : 1); });
}

void Release(void* p)
{
    if (!g_pool.Release(p)) std::free(p);
}

// Over-aligned requests never use the pool: its blocks only promise 16 bytes.
void* AlignedAllocate(std::size_t n, std::align_val_t alignment)
{
    const std::size_t align = static_cast<std::size_t>(alignment);
    return HeapAllocate([n, align]() -> void* {
#ifdef _WIN32
        return _aligned_malloc(n ? n : 1, align);
#else
        // aligned_alloc wants a multiple of the alignment; rounding up must not overflow.
        if (n > SIZE_MAX - align) return nullptr;
        return std::aligned_alloc(align, n ? (n + align - 1) / align * align : align);
#endif
    });
}

void AlignedRelease(void* p)
{
#ifdef _WIN32
    _aligned_free(p);
#else
    std::free(p);
#endif
}

// The nothrow forms answer null where the others throw.
template <class F>
void* NoThrow(F allocate) noexcept
{
    try {
        return allocate();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return NoThrow([n] { return Allocate(n); }); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return NoThrow([n] { return Allocate(n); }); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

void* operator new(std::size_t n, std::align_val_t a) { return AlignedAllocate(n, a); }
void* operator new[](std::size_t n, std::align_val_t a) { return AlignedAllocate(n, a); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return NoThrow([n, a] { return AlignedAllocate(n, a); });
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return NoThrow([n, a] { return AlignedAllocate(n, a); });
}
void operator delete(void* p, std::align_val_t) noexcept { AlignedRelease(p); }
void operator delete[](void* p, std::align_val_t) noexcept { AlignedRelease(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { AlignedRelease(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { AlignedRelease(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { AlignedRelease(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { AlignedRelease(p); }

#endif
