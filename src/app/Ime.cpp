// The IME switch: on in windowed mode, off in full-screen mode.
#include <pyro/app/AppServices.h>

extern "C" BOOL WINAPI WINNLSEnableIME(HWND, BOOL);  // user32; no MinGW header declares it

namespace {
int g_imeState = 0;  // 0 not yet set, 1 on, 2 off
}

void EnableIme()
{
    if (g_imeState == 1) return;
    g_imeState = 1;
    WINNLSEnableIME(GetMyHWnd(), TRUE);
}

void DisableIme()
{
    if (g_imeState == 2) return;
    g_imeState = 2;
    WINNLSEnableIME(GetMyHWnd(), FALSE);
}

int GetImeState() { return g_imeState; }
