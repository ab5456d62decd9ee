#include <pyro/app/AppServices.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/Application.h>

namespace {
HINSTANCE g_instance = nullptr;
HINSTANCE g_previous = nullptr;
LPSTR g_commandLine = nullptr;
int g_showCommand = 0;
bool g_fullScreen = false;
}  // namespace

// A thread without an application has no window to hook: nothing happens.
void HookMyWindow(IWindowHook* hook)
{
    if (CApplication* app = GetMyApp()) app->GetWindow().AddHook(hook);
}

void UnhookMyWindow(IWindowHook* hook)
{
    if (CApplication* app = GetMyApp()) app->GetWindow().RemoveHook(hook);
}

HWND GetMyHWnd()
{
    CApplication* app = GetMyApp();
    return app ? app->GetWindow().GetHWnd() : nullptr;
}

bool IsFullScreen() { return g_fullScreen; }
void SetFullScreen(bool fullScreen) { g_fullScreen = fullScreen; }

void SetEntryArguments(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    g_instance = instance;
    g_previous = previous;
    g_commandLine = commandLine;
    g_showCommand = showCommand;
}

HINSTANCE GetInstance()
{
    // A program that did not come through the entry point (a test) still gets its own module.
    return g_instance ? g_instance : GetModuleHandleA(nullptr);
}
