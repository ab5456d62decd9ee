#include <pyro/input/DirectInput.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/AppServices.h>
#include <pyro/app/ErrorLog.h>

#define DIRECTINPUT_VERSION 0x0300
#include <dinput.h>

namespace {

constexpr DWORD kVersion = 0x0300;
// A device that keeps losing its input right after being re-acquired must not hold the frame.
constexpr int kReadAttempts = 4;

using DirectInputCreateProc = HRESULT(WINAPI*)(HINSTANCE, DWORD, IDirectInputA**, IUnknown*);

// Shared by the living keyboards; the holder is owned here.
CDirectInputHolder* g_holder = nullptr;
int32_t g_livingKeyboards = 0;
// "dinput.dll" when the object had to come from the library by name.
HMODULE g_library = nullptr;

const char* const kMessages[] = {
    "",
    "DirectInput::CoInitializeに失敗。OLE動作不良？",
    "DirectInputInterfaceが得られない",
    "DirectInputが初期化できない",
    "DirectInputのLoadLibraryに失敗",
    "DirectInputでGetProcAddressに失敗",
    "DirectInput::DirectInputCreateに失敗",
    "DirectInputの初期化CreateDeviceに失敗",
    "DirectInputの初期化SetDataFormatに失敗",
    "DirectInputの初期化SetCooperativeLevelに失敗",
};

int Report(int code)
{
    if (code != kDirectInputOk) CErrorLog::WriteSystem(kMessages[code]);
    return code;
}

}  // namespace

CDirectInputHolder::CDirectInputHolder()
{
    comReady_ = InitCOM() == 0;
    result_ = Report(Create());
}

int CDirectInputHolder::Create()
{
    if (interface_) {
        interface_->Release();
        interface_ = nullptr;
    }
    const HINSTANCE instance = GetInstance();
    if (!comReady_) return kDirectInputNoCom;

    IDirectInputA* created = nullptr;
    const HRESULT hr = CoCreateInstance(CLSID_DirectInput, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInputA,
                                        reinterpret_cast<void**>(&created));
    if (hr == S_OK) {
        if (!created) return kDirectInputNoInterface;
        if (FAILED(created->Initialize(instance, kVersion))) {
            // An object that refused to initialise is of no use to a keyboard.
            created->Release();
            return kDirectInputInitializeFailed;
        }
        interface_ = created;
        return kDirectInputOk;
    }
    if (created) created->Release();
    created = nullptr;

    // The class is not registered: the library's own entry point still gives the object.
    if (!g_library) g_library = LoadLibraryW(L"dinput.dll");
    if (!g_library) return kDirectInputLoadLibraryFailed;
    const auto create =
        reinterpret_cast<DirectInputCreateProc>(reinterpret_cast<void*>(GetProcAddress(g_library, "DirectInputCreateA")));
    if (!create) return kDirectInputGetProcAddressFailed;
    if (create(instance, kVersion, &created, nullptr) != 0) return kDirectInputCreateFailed;
    interface_ = created;
    return kDirectInputOk;
}

CDirectInputHolder::~CDirectInputHolder()
{
    if (interface_) interface_->Release();
    interface_ = nullptr;
    ExitCOM();
    if (g_library) {
        FreeLibrary(g_library);
        g_library = nullptr;
    }
}

CDirectInputHolder* CDirectInputHolder::GetShared() { return g_holder; }

CDirectInput::CDirectInput()
{
    if (g_livingKeyboards++ == 0) {
        delete g_holder;
        g_holder = new CDirectInputHolder;
    }
    if (!g_holder->GetInterface()) CErrorLog::WriteSystem("CDirectInput ICDirectInput initialize error?");
    Initialize();
}

CDirectInput::~CDirectInput()
{
    Release();
    if (--g_livingKeyboards == 0) {
        delete g_holder;
        g_holder = nullptr;
    }
}

int CDirectInput::GetLivingCount() { return g_livingKeyboards; }

void CDirectInput::Release()
{
    // Without an application on this thread there is no window left to unhook from.
    if (hooked_ && GetMyApp()) UnhookMyWindow(this);
    hooked_ = false;
    if (device_) {
        device_->Unacquire();
        device_->Release();
        device_ = nullptr;
    }
    acquired_ = false;
}

int CDirectInput::Initialize()
{
    Release();
    keys_.ClearBuffers();

    IDirectInputA* directInput = g_holder->GetInterface();
    if (!directInput || FAILED(directInput->CreateDevice(GUID_SysKeyboard, &device_, nullptr))) {
        device_ = nullptr;
        return Report(kDirectInputCreateDeviceFailed);
    }
    if (FAILED(device_->SetDataFormat(&c_dfDIKeyboard))) {
        Release();
        return Report(kDirectInputSetDataFormatFailed);
    }
    if (FAILED(device_->SetCooperativeLevel(GetMyHWnd(), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND))) {
        Release();
        return Report(kDirectInputSetCooperativeLevelFailed);
    }
    acquired_ = false;
    if (GetMyApp()) {
        HookMyWindow(this);
        hooked_ = true;
    }
    // A window in the background cannot acquire yet; the next poll or the activation will.
    Acquire();
    return kDirectInputOk;
}

bool CDirectInput::Acquire()
{
    acquired_ = SUCCEEDED(device_->Acquire());
    return acquired_;
}

int CDirectInput::GetKeyState()
{
    if (!device_) return 1;
    keys_.Flip();
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        if (!acquired_ && !Acquire()) break;
        const HRESULT hr = device_->GetDeviceState(CKeyBuffers::kKeyCount, keys_.Current());
        if (hr == DI_OK) return 0;
        if (hr == DIERR_INPUTLOST) {
            if (!Acquire()) break;
            continue;
        }
        acquired_ = false;
        break;
    }
    keys_.ClearCurrent();
    return 1;
}

LRESULT CDirectInput::OnMessage(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_ACTIVATEAPP && wParam != 0 && !acquired_ && device_) Acquire();
    return 0;
}
