// The keyboard: CDirectInput fills its key buffers from a DirectInput 3 keyboard device
// (256 bytes in scan-code order per poll), used in foreground non-exclusive mode and
// re-acquired after focus loss or on activation. CDirectInputHolder keeps the one DirectInput
// object that all living keyboards share.
#pragma once

#include <pyro/app/WindowHook.h>
#include <pyro/input/KeyInput.h>

#include <windows.h>

struct IDirectInputA;
struct IDirectInputDeviceA;

// Result codes of creating the DirectInput object and of CDirectInput::Initialize.
enum : int {
    kDirectInputOk = 0,
    kDirectInputNoCom = 1,
    kDirectInputNoInterface = 2,
    kDirectInputInitializeFailed = 3,
    kDirectInputLoadLibraryFailed = 4,
    kDirectInputGetProcAddressFailed = 5,
    kDirectInputCreateFailed = 6,
    kDirectInputCreateDeviceFailed = 7,
    kDirectInputSetDataFormatFailed = 8,
    kDirectInputSetCooperativeLevelFailed = 9,
};

class CDirectInputHolder {
public:
    // Initialises COM for the calling thread and creates the DirectInput object.
    CDirectInputHolder();
    // Releases the object, balances the COM initialisation, frees "dinput.dll" if it was loaded.
    virtual ~CDirectInputHolder();

    // The DirectInput object, or null.
    IDirectInputA* GetInterface() const { return interface_; }
    // The creation's result code (0 to 6).
    int GetResult() const { return result_; }

    // The holder the living keyboards share, or null.
    static CDirectInputHolder* GetShared();

private:
    int Create();

    IDirectInputA* interface_ = nullptr;
    bool comReady_ = false;
    int result_ = kDirectInputOk;
};

// CDirectInput: the keyboard as 256 keys in scan-code order, read through DirectInput.
class CDirectInput : public CKeyInput, public IWindowHook {
public:
    // Needs the calling thread's application window (cooperative level and hook).
    CDirectInput();
    ~CDirectInput() override;

    // (Re)creates the device; 0, or 7 to 9 (table above).
    int Initialize();
    // 0 with fresh data; 1 without a device or data (the current buffer is then all zero).
    int GetKeyState() override;
    // The keyboard's bytes carry the key in bit 7.
    bool IsDown(int32_t key) const override { return keys_.IsSet(key, 0x80); }
    bool IsTriggered(int32_t key) const override { return keys_.IsNewlySet(key, 0x80); }
    // Re-acquires when the application is activated; never consumes a message.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Whether the keyboard device exists.
    bool HasDevice() const { return device_ != nullptr; }
    // Whether the device is acquired.
    bool IsAcquired() const { return acquired_; }
    // The number of keyboard objects alive.
    static int GetLivingCount();

private:
    // Drops the device and the window hook.
    void Release();
    bool Acquire();

    IDirectInputDeviceA* device_ = nullptr;
    bool acquired_ = false;
    bool hooked_ = false;
};
