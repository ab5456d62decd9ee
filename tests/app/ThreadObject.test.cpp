#include <pyro/app/ThreadObject.h>

#include <doctest/doctest.h>
#include <atomic>
#include <windows.h>

namespace {

// A body that loops until invalidated, counting its rounds.
struct Worker : CThreadObject {
    std::atomic<int> rounds{0};
    std::atomic<int> bodies{0};
    void ThreadProc() override
    {
        ++bodies;
        while (IsValid()) {
            ++rounds;
            Wait(5);
        }
    }
};

struct Idle : CThreadObject {
    void ThreadProc() override {}
};

}  // namespace

TEST_CASE("the event is auto-reset: one Invalidate releases one Wait")
{
    Idle object;
    CHECK(object.Wait(10) == -1);  // no event yet
    object.InitEvent();
    CHECK(object.IsValid());
    CHECK(object.IsExecuting());
    DWORD start = GetTickCount();
    CHECK(object.Wait(20) == 0);
    CHECK(GetTickCount() - start >= 15);
    object.Invalidate();
    CHECK_FALSE(object.IsValid());
    start = GetTickCount();
    CHECK(object.Wait(1000) == 1);
    CHECK(GetTickCount() - start < 500);
    CHECK(object.Wait(20) == 0);
    object.CloseEvent();
    CHECK_FALSE(object.IsExecuting());
}

TEST_CASE("StopThread joins the thread; a second StartThread stops the first")
{
    Idle never;
    CHECK(never.StopThread() == 0);

    Worker worker;
    REQUIRE(worker.StartThread() == 0);
    while (worker.rounds < 2) Sleep(1);
    REQUIRE(worker.StartThread() == 0);  // joins the first body before starting the second
    while (worker.bodies < 2 || worker.rounds < 4) Sleep(1);
    CHECK(worker.StopThread() == 0);
    CHECK_FALSE(worker.IsExecuting());
    CHECK(worker.bodies == 2);
}
