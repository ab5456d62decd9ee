#include <pyro/app/CriticalLock.h>

#include <doctest/doctest.h>
#include <atomic>
#include <thread>

TEST_CASE("a thread that entered the lock twice must leave twice before another enters")
{
    CCriticalLock lock;
    lock.Enter();
    lock.Enter();
    std::atomic<bool> entered{false};
    std::thread other([&] {
        lock.Enter();
        entered = true;
        lock.Leave();
    });
    lock.Leave();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    CHECK_FALSE(entered.load());
    lock.Leave();
    other.join();
    CHECK(entered.load());
}
