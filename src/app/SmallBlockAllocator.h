// CSmallBlockAllocator: the pool behind the program's global allocation and release operators.
// Requests of at most 16 bytes take a block from a fixed arena of 4096 blocks of 16 bytes through
// a stack of free block indices under one CCriticalLock; everything else, and small requests once
// the pool is empty, goes to the C runtime heap (the operators in SmallBlockAllocator.cpp).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

class CCriticalLock;

// The sanitizers bring allocation operators of their own that check every allocation (bounds,
// use after release, mismatched forms, leaks); blocks inside a pool would be invisible to them.
// Sanitized builds therefore keep the sanitizer's operators and reach the pool only through this
// class; every other build replaces the global operators.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define PYRO_SMALL_BLOCK_OPERATORS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define PYRO_SMALL_BLOCK_OPERATORS 0
#endif
#endif
#ifndef PYRO_SMALL_BLOCK_OPERATORS
#define PYRO_SMALL_BLOCK_OPERATORS 1
#endif

class CSmallBlockAllocator {
public:
    static constexpr std::size_t kBlockSize = 16;
    static constexpr int kBlockCount = 4096;
    static constexpr bool kReplacesGlobalOperators = PYRO_SMALL_BLOCK_OPERATORS != 0;

    // Constant-initialised and trivially destroyed, so the process-wide pool works before the
    // first static constructor and after the last static destructor.
    constexpr CSmallBlockAllocator() = default;
    CSmallBlockAllocator(const CSmallBlockAllocator&) = delete;
    CSmallBlockAllocator& operator=(const CSmallBlockAllocator&) = delete;

    // Fills the free stack on the first call and guards the pool with `lock` from then on; later
    // calls do nothing. Returns true for the call that filled it. Until then the pool is empty.
    bool Init(CCriticalLock* lock);

    // A block for n bytes: the most recently released one, else the highest never used. Null when
    // n is more than 16 or no block is free (the caller then uses the heap).
    void* Allocate(std::size_t n);

    // Takes back p when it lies in the arena (the block is not cleared); false for any other
    // pointer, null included, which the caller hands to the heap.
    bool Release(void* p);

    // Stops locking. At exit, once the lock is gone, objects destroyed late still release.
    void DropLock() { lock_ = nullptr; }

    bool Owns(const void* p) const
    {
        // Unsigned difference: a pointer below the arena wraps to a huge offset.
        return reinterpret_cast<std::uintptr_t>(p) - reinterpret_cast<std::uintptr_t>(arena_) < sizeof arena_;
    }
    const unsigned char* Arena() const { return arena_; }
    int FreeCount() const;

    // The pool the global operators use, initialised on first use.
    static CSmallBlockAllocator& Global();

private:
    // 16-byte blocks on a 16-byte boundary meet the alignment new guarantees on 32 and 64 bits.
    alignas(16) unsigned char arena_[kBlockSize * kBlockCount] = {};
    std::int32_t freeStack_[kBlockCount] = {};
    std::int32_t top_ = 0;
    std::atomic<bool> initialised_{false};
    CCriticalLock* lock_ = nullptr;  // the lock in use; null before Init and after DropLock
};
