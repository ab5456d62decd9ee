#include <pyro/app/AppManager.h>
#include <pyro/app/AppServices.h>

#include "AppTestSupport.h"
#include "ErrorCapture.h"

#include <doctest/doctest.h>
#include <atomic>
#include <thread>

namespace {

struct MessageSpy : IWindowHook {
    UINT watched;
    int seen = 0;
    explicit MessageSpy(UINT w) : watched(w) {}
    LRESULT OnMessage(HWND, UINT message, WPARAM, LPARAM) override
    {
        if (message == watched) ++seen;
        return 0;
    }
};

}  // namespace

TEST_CASE("the main application runs its routine registered, hooked and with its window")
{
    TestApp app;
    bool sawItself = false;
    HWND hwnd = nullptr;
    app.body = [&](TestApp& self) {
        sawItself = GetMyApp() == &self && GetMyHWnd() == self.GetWindow().GetHWnd() && self.IsReady();
        hwnd = GetMyHWnd();
        // A main routine may end on its own; the take-down still happens.
    };
    CHECK(app.Run() == 0);
    CHECK(sawItself);
    CHECK(GetMainApp() == &app);
    CHECK_FALSE(app.IsReady());
    CHECK_FALSE(app.IsValid());
    CHECK(GetMyApp() == nullptr);
    CHECK(GetMyHWnd() == nullptr);
    CHECK(CAppManager::GetEntryCount() == 0);
    // The synthetic WM_DESTROY hid the window and the application posted the quit message.
    CHECK_FALSE(IsWindowVisible(hwnd));
    MSG msg;
    CHECK(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_CASE("Run returns and the window is gone within a second of the main routine's end")
{
    // A hang, not a benchmark: a healthy take-down needs a few milliseconds.
    for (const bool close : {false, true}) {
        CAPTURE(close);
        TestApp app;
        HWND hwnd = nullptr;
        DWORD ended = 0;
        app.body = [&](TestApp& self) {
            hwnd = GetMyHWnd();
            for (int frame = 0; frame < 3; ++frame) self.PumpMessage();
            if (close) self.Close();
            ended = GetTickCount();
        };
        CHECK(app.Run() == 0);
        const DWORD elapsed = GetTickCount() - ended;
        CHECK(elapsed < 1000);
        CHECK_FALSE(IsWindow(hwnd));
        CHECK(app.GetWindow().GetHWnd() == nullptr);
    }
}

TEST_CASE("PumpMessage returns false in the same call that dispatched WM_CLOSE, after the rest of the queue")
{
    TestApp app;
    MessageSpy later(WM_USER + 1);
    bool firstPump = true, secondPump = true;
    app.body = [&](TestApp& self) {
        self.GetWindow().AddHook(&later);
        PostMessageA(GetMyHWnd(), WM_CLOSE, 0, 0);
        PostMessageA(GetMyHWnd(), WM_USER + 1, 0, 0);
        firstPump = self.PumpMessage();
        secondPump = self.PumpMessage();
        self.GetWindow().RemoveHook(&later);
    };
    app.Run();
    CHECK_FALSE(firstPump);
    CHECK_FALSE(secondPump);
    CHECK(later.seen == 1);
}

TEST_CASE("a user close vetoed by OnPreClose keeps running; Close from the program ends it")
{
    TestApp app;
    app.preCloseResult = 1;
    bool afterVeto = false, windowAlive = false, afterClose = true;
    app.body = [&](TestApp& self) {
        // The close box arrives as a system command that the default procedure turns into WM_CLOSE.
        PostMessageA(GetMyHWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        afterVeto = self.PumpMessage();
        windowAlive = IsWindow(GetMyHWnd());
        self.Close();
        afterClose = self.PumpMessage();
    };
    app.Run();
    CHECK(afterVeto);
    CHECK(windowAlive);
    CHECK_FALSE(afterClose);
}

TEST_CASE("an application whose OnInit fails is never registered and Run still returns 0")
{
    TestApp app;
    app.initResult = 1;
    bool ran = false;
    app.body = [&](TestApp&) { ran = true; };
    CHECK(app.Run() == 0);
    CHECK_FALSE(ran);
    CHECK(app.GetWindow().GetHWnd() == nullptr);
    CHECK(CAppManager::GetEntryCount() == 0);
    CHECK(GetMyApp() == nullptr);
}

TEST_CASE("a further application runs on its own thread and StopAll waits for it to be destroyed")
{
    TestApp main;
    std::atomic<bool> furtherDeleted{false};
    int furtherRun = -1;
    std::thread reaper;
    main.body = [&](TestApp&) {
        auto* further = new TestApp;
        furtherRun = further->Run();  // returns once the further main routine has begun
        REQUIRE(further->IsReady());
        CHECK(CAppManager::GetEntryCount() == 2);
        // Someone else owns the further application: it deletes it a while after it stopped.
        reaper = std::thread([further, &furtherDeleted] {
            while (further->IsExecuting()) Sleep(10);
            Sleep(300);
            delete further;
            furtherDeleted = true;
        });
    };
    main.Run();
    CHECK(furtherRun == 0);
    CHECK(furtherDeleted);  // StopAll did not return before the further application was gone
    reaper.join();
    CHECK(CAppManager::GetAppCount() == 1);
}

TEST_CASE("a further application whose start-up gives up ends the polling in Run")
{
    TestApp main;
    int result = -1;
    main.body = [&](TestApp&) {
        TestApp further;
        further.initResult = 1;
        result = further.Run();
        CHECK_FALSE(further.IsReady());
    };
    main.Run();
    CHECK(result == 0);
}

TEST_CASE("CAppManager refuses a second thread for a registered application")
{
    ErrorCapture log;
    // Any address will do as a display object: the manager only stores it.
    CDIBDraw* const draw = reinterpret_cast<CDIBDraw*>(&log);
    TestApp app;  // never run: only used as a key
    CAppManager::Add(&app);
    CHECK(GetMyApp() == &app);
    std::thread other([&] {
        CAppManager::Add(&app);
        SetMyDraw(draw);  // this thread has no application
        CHECK(GetMyApp() == nullptr);
        CHECK(GetMyDraw() == nullptr);
    });
    other.join();
    CHECK(CAppManager::GetEntryCount() == 1);
    CHECK(GetMyApp() == &app);
    SetMyDraw(draw);
    CHECK(GetMyDraw() == draw);
    ClearMyDraw(draw);
    CHECK(GetMyDraw() == nullptr);
    CAppManager::Remove(&app);
    REQUIRE(log.messages.size() == 2);
    CHECK(log.messages[0] == "CAppManager::Addするのに空きが無い");
    CHECK(log.messages[1] == "CAppManager::Addするのに空きが無い");
}

TEST_CASE("COM is initialised once per thread and released by the last matching ExitCOM")
{
    std::thread([] {
        ExitCOM();  // no entry for this thread: nothing happens, and the lock stays free
        CHECK(InitCOM() == 0);
        CHECK(InitCOM() == 0);
        // Already initialised on this thread: a further CoInitialize answers S_FALSE.
        HRESULT probe = CoInitialize(nullptr);
        CHECK(probe == S_FALSE);
        CoUninitialize();
        ExitCOM();
        CHECK(CoInitialize(nullptr) == S_FALSE);  // still initialised after the first ExitCOM
        CoUninitialize();
        ExitCOM();
        CHECK(CoInitialize(nullptr) == S_OK);  // the second ExitCOM uninitialised it
        CoUninitialize();
    }).join();
}
