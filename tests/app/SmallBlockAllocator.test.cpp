#include "app/SmallBlockAllocator.h"

#include <pyro/app/CriticalLock.h>

#include <doctest/doctest.h>
#include <cstdint>
#include <memory>
#include <new>
#include <set>
#include <thread>
#include <vector>

namespace {

// A pool of its own, so the block order does not depend on what the runtime allocated before.
struct FreshPool {
    CCriticalLock lock;
    std::unique_ptr<CSmallBlockAllocator> pool = std::make_unique<CSmallBlockAllocator>();
    FreshPool() { pool->Init(&lock); }
    void* Block(int i) const { return const_cast<unsigned char*>(pool->Arena()) + i * 16; }
};

bool AlignedTo(const void* p, std::size_t alignment)
{
    return reinterpret_cast<std::uintptr_t>(p) % alignment == 0;
}

}  // namespace

TEST_CASE("a fresh pool hands out blocks from the top of the arena and takes released ones first")
{
    CCriticalLock lock;
    auto pool = std::make_unique<CSmallBlockAllocator>();
    CHECK(pool->Allocate(1) == nullptr);  // empty until initialised
    CHECK(pool->Init(&lock));
    CHECK_FALSE(pool->Init(&lock));
    CHECK(pool->FreeCount() == 4096);
    CHECK(AlignedTo(pool->Arena(), 16));

    unsigned char* arena = const_cast<unsigned char*>(pool->Arena());
    void* first = pool->Allocate(16);
    void* second = pool->Allocate(0);
    CHECK(first == arena + 4095 * 16);
    CHECK(second == arena + 4094 * 16);
    CHECK(pool->Allocate(17) == nullptr);  // beyond a block: the heap's
    CHECK(pool->FreeCount() == 4094);

    CHECK(pool->Release(first));
    CHECK(pool->Allocate(5) == first);
    CHECK(pool->Allocate(5) == arena + 4093 * 16);

    int onStack = 0;
    CHECK_FALSE(pool->Release(nullptr));
    CHECK_FALSE(pool->Release(&onStack));
    CHECK_FALSE(pool->Release(arena + 65536));
    CHECK(pool->FreeCount() == 4093);
}

TEST_CASE("an exhausted pool refuses small requests until a block comes back")
{
    FreshPool fresh;
    std::set<void*> seen;
    for (int i = 0; i < 4096; ++i) seen.insert(fresh.pool->Allocate(16));
    CHECK(seen.size() == 4096);
    CHECK(*seen.begin() == fresh.Block(0));
    CHECK(*seen.rbegin() == fresh.Block(4095));
    CHECK(fresh.pool->Allocate(1) == nullptr);

    CHECK(fresh.pool->Release(fresh.Block(1234)));
    CHECK(fresh.pool->Allocate(16) == fresh.Block(1234));
    CHECK(fresh.pool->Allocate(16) == nullptr);
}

TEST_CASE("two threads allocating and releasing together lose and duplicate no block")
{
    FreshPool fresh;
    // Each thread holds up to 2500 blocks, so together they run the pool dry now and then. A block
    // handed to both threads at once shows up as a stamp overwritten by the other thread.
    auto work = [&fresh](std::uint32_t tag, bool* intact) {
        std::vector<std::uint32_t*> held;
        std::uint32_t random = tag;
        for (std::uint32_t round = 0; round < 200000; ++round) {
            random = random * 1103515245u + 12345u;
            const bool grow = held.size() < 2500 && (held.empty() || (random >> 16) % 3 != 0);
            if (grow) {
                auto* block = static_cast<std::uint32_t*>(fresh.pool->Allocate(1 + (random >> 8) % 16));
                if (block) {
                    block[0] = tag;
                    block[1] = round;
                    held.push_back(block);
                    continue;
                }
                if (held.empty()) continue;
            }
            const std::size_t pick = (random >> 4) % held.size();
            std::uint32_t* block = held[pick];
            if (block[0] != tag) *intact = false;
            held[pick] = held.back();
            held.pop_back();
            fresh.pool->Release(block);
        }
        for (std::uint32_t* block : held) {
            if (block[0] != tag) *intact = false;
            fresh.pool->Release(block);
        }
    };
    bool intactA = true, intactB = true;
    std::thread a(work, 0xA0A0A0A0u, &intactA);
    std::thread b(work, 0xB0B0B0B0u, &intactB);
    a.join();
    b.join();
    CHECK(intactA);
    CHECK(intactB);

    REQUIRE(fresh.pool->FreeCount() == 4096);
    std::set<void*> blocks;
    for (int i = 0; i < 4096; ++i) blocks.insert(fresh.pool->Allocate(16));
    CHECK(blocks.size() == 4096);
    CHECK(blocks.count(nullptr) == 0);
    CHECK(fresh.pool->Allocate(16) == nullptr);
}

// The remaining cases exercise the program's own operators; sanitized builds keep the sanitizer's.
TEST_CASE("the program's new and delete use the pool up to 16 bytes and the heap beyond"
          * doctest::skip(!CSmallBlockAllocator::kReplacesGlobalOperators))
{
    CSmallBlockAllocator& pool = CSmallBlockAllocator::Global();
    const int freeBefore = pool.FreeCount();
    // No checks in between: a failing check could allocate and disturb the order.
    void* small = ::operator new(16);
    void* array = ::operator new[](1);
    void* nothrow = ::operator new(0, std::nothrow);
    void* large = ::operator new(17);
    const bool smallInPool = pool.Owns(small);
    const std::uintptr_t smallAddress = reinterpret_cast<std::uintptr_t>(small);
    ::operator delete(small);
    void* again = ::operator new(8);
    ::operator delete(nullptr);
    ::operator delete[](nullptr);
    const int freeAfter = pool.FreeCount();

    CHECK(smallInPool);
    CHECK(pool.Owns(array));
    CHECK(pool.Owns(nothrow));
    CHECK_FALSE(pool.Owns(large));
    CHECK(reinterpret_cast<std::uintptr_t>(again) == smallAddress);
    CHECK(freeAfter == freeBefore - 3);

    ::operator delete(again, 8);
    ::operator delete[](array);
    ::operator delete(nothrow, std::nothrow);
    ::operator delete(large, 17);
    CHECK(pool.FreeCount() == freeBefore);
}

TEST_CASE("once the program's pool is dry small news come from the heap until a delete"
          * doctest::skip(!CSmallBlockAllocator::kReplacesGlobalOperators))
{
    CSmallBlockAllocator& pool = CSmallBlockAllocator::Global();
    std::vector<void*> held;
    held.reserve(4097);
    void* last = nullptr;
    while (held.size() < 4097) {
        last = ::operator new(16);
        held.push_back(last);
        if (!pool.Owns(last)) break;
    }
    void* extra = ::operator new(1);
    void* returned = held[held.size() / 2];
    const bool returnedInPool = pool.Owns(returned);
    const std::uintptr_t returnedAddress = reinterpret_cast<std::uintptr_t>(returned);
    ::operator delete(returned);
    void* reused = ::operator new(16);
    held[held.size() / 2] = reused;

    CHECK_FALSE(pool.Owns(last));
    CHECK_FALSE(pool.Owns(extra));
    CHECK(returnedInPool);
    CHECK(reinterpret_cast<std::uintptr_t>(reused) == returnedAddress);
    CHECK(pool.FreeCount() == 0);
    ::operator delete(extra);
    for (void* p : held) ::operator delete(p);
    CHECK(pool.FreeCount() == static_cast<int>(held.size()) - 1);
}

namespace {
int g_handlerCalls = 0;
}

TEST_CASE("a failed heap request throws after the new handler gave up and nothrow forms answer null"
          * doctest::skip(!CSmallBlockAllocator::kReplacesGlobalOperators))
{
    volatile std::size_t huge = SIZE_MAX / 2;  // volatile: no compile-time size warnings
    g_handlerCalls = 0;
    std::set_new_handler([] {
        ++g_handlerCalls;
        std::set_new_handler(nullptr);
    });
    CHECK_THROWS_AS(::operator delete(::operator new(huge)), std::bad_alloc);
    CHECK(g_handlerCalls == 1);
    CHECK_THROWS_AS(::operator delete[](::operator new[](huge)), std::bad_alloc);
    CHECK_THROWS_AS(::operator delete(::operator new(huge, std::align_val_t{64}), std::align_val_t{64}),
                    std::bad_alloc);
    CHECK(::operator new(huge, std::nothrow) == nullptr);
    CHECK(::operator new[](huge, std::nothrow) == nullptr);
    CHECK(::operator new(huge, std::align_val_t{64}, std::nothrow) == nullptr);
}

TEST_CASE("over-aligned objects bypass the pool with their alignment")
{
    struct alignas(64) Wide {
        unsigned char bytes[8];
    };
    Wide* one = new Wide;
    Wide* several = new Wide[3];
    Wide* nothrow = new (std::nothrow) Wide;
    void* raw = ::operator new(1, std::align_val_t{32});
    CHECK(AlignedTo(one, 64));
    CHECK(AlignedTo(several, 64));
    CHECK(AlignedTo(nothrow, 64));
    CHECK(AlignedTo(raw, 32));
    const CSmallBlockAllocator& pool = CSmallBlockAllocator::Global();
    CHECK_FALSE(pool.Owns(one));
    CHECK_FALSE(pool.Owns(raw));
    delete one;
    delete[] several;
    delete nothrow;
    ::operator delete(raw, 1, std::align_val_t{32});
}
