// Benchmark of the small-block allocator: pairs of 16-byte allocation and release through the
// program's new and delete (the pool) against malloc and free of the C runtime heap, on one thread
// and on two threads at once. Prints the best of three runs and the heap-to-pool time ratio.
//   bench_allocator [pairs per thread, default 5000000]
#include "app/SmallBlockAllocator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <thread>

namespace {

// Makes the pointer look used, so the compiler keeps every allocation and release.
inline void Keep(void* p) { asm volatile("" : : "r"(p) : "memory"); }

struct PoolPairs {
    static void Run(long pairs)
    {
        for (long i = 0; i < pairs; ++i) {
            void* p = ::operator new(16);
            Keep(p);
            ::operator delete(p);
        }
    }
};

struct HeapPairs {
    static void Run(long pairs)
    {
        for (long i = 0; i < pairs; ++i) {
            void* p = std::malloc(16);
            Keep(p);
            std::free(p);
        }
    }
};

template <class Pairs>
double Milliseconds(int threads, long pairs)
{
    double best = 1e300;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        if (threads == 2) {
            std::thread other(Pairs::Run, pairs);
            Pairs::Run(pairs);
            other.join();
        } else {
            Pairs::Run(pairs);
        }
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        if (spent.count() < best) best = spent.count();
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const long pairs = argc > 1 ? std::atol(argv[1]) : 5000000;
    if (pairs <= 0) {
        std::fprintf(stderr, "usage: bench_allocator [pairs per thread]\n");
        return 2;
    }
    void* probe = ::operator new(16);
    const bool pooled = CSmallBlockAllocator::Global().Owns(probe);
    ::operator delete(probe);
    if (!pooled) {
        std::fprintf(stderr, "bench_allocator: new does not reach the pool in this build\n");
        return 1;
    }

    std::printf("%ld pairs of 16-byte allocate and release per thread, best of 3 runs\n", pairs);
    std::printf("threads  pool ms  heap ms  pool ns/pair  heap ns/pair  heap/pool\n");
    for (int threads = 1; threads <= 2; ++threads) {
        const double pool = Milliseconds<PoolPairs>(threads, pairs);
        const double heap = Milliseconds<HeapPairs>(threads, pairs);
        // Per pair of one thread: with two threads this is the wall time each pair costs a thread.
        std::printf("%7d  %7.1f  %7.1f  %12.1f  %12.1f  %9.2f\n", threads, pool, heap, pool * 1e6 / pairs,
                    heap * 1e6 / pairs, heap / pool);
    }
    return 0;
}
