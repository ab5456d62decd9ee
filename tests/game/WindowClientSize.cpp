// window_client_size CLASS: prints "width height" of the client area of the first window of a
// window class, for the end-to-end tests, which see only the outer window from outside. Exit
// code 1 when there is no such window.
#include <pyro/file/Utf16.h>

#include <cstdio>
#include <string>
#include <windows.h>

int main(int argc, char** argv)
{
    std::wstring className;
    if (argc != 2 || !SjisToUtf16(argv[1], className)) return 2;
    const HWND hwnd = FindWindowW(className.c_str(), nullptr);
    RECT client;
    if (!hwnd || !GetClientRect(hwnd, &client)) return 1;
    std::printf("%ld %ld\n", client.right - client.left, client.bottom - client.top);
    return 0;
}
