// CDirectDrawBase: counted holder of the one DirectDraw object of the process.
#include <pyro/graphics/DirectDrawBase.h>

#include <pyro/app/AppServices.h>
#include <pyro/app/ErrorLog.h>

#include <ddraw.h>
#include <objbase.h>

namespace {

// Process-wide and unlocked: holders are made and destroyed on the application thread.
int32_t g_instanceCount = 0;
IDirectDraw* g_directDraw = nullptr;

const CLSID kClsidDirectDraw = {0xD7B70EE0, 0x4340, 0x11CF, {0xB0, 0x63, 0x00, 0x20, 0xAF, 0xC2, 0xCD, 0x35}};
// Every in-process and local server kind (7).
const DWORD kServerKinds = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
const IID kIidDirectDraw = {0x6C14DB80, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

void ReleaseDirectDraw()
{
    if (g_directDraw) g_directDraw->Release();
    g_directDraw = nullptr;
}

}  // namespace

CDirectDrawBase::CDirectDrawBase(bool emulationFirst)
{
    if (g_instanceCount++ != 0) return;
    if (InitCOM() != 0) return;
    Initialize(emulationFirst);
}

CDirectDrawBase::~CDirectDrawBase()
{
    if (--g_instanceCount != 0) return;
    ReleaseDirectDraw();
    ExitCOM();
}

int32_t CDirectDrawBase::Initialize(bool emulationFirst)
{
    ReleaseDirectDraw();
    void* object = nullptr;
    if (FAILED(CoCreateInstance(kClsidDirectDraw, nullptr, kServerKinds, kIidDirectDraw, &object)) || !object) {
        CErrorLog::WriteSystem("CDirectDrawBase::InitializeでCoCreateInstanceに失敗");
        return 1;
    }
    g_directDraw = static_cast<IDirectDraw*>(object);
    // The emulation-only driver is named by the value 2 in place of a GUID pointer.
    if (emulationFirst && SUCCEEDED(g_directDraw->Initialize(reinterpret_cast<GUID*>(DDCREATE_EMULATIONONLY))))
        return 0;
    if (SUCCEEDED(g_directDraw->Initialize(nullptr))) return 0;
    CErrorLog::WriteSystem("CDirectDrawBase::InitializeでHAL初期化に失敗");
    // An object that could not be initialised is of no use to anyone: give it back.
    ReleaseDirectDraw();
    return 1;
}

IDirectDraw* CDirectDrawBase::GetDirectDraw() { return g_directDraw; }
int32_t CDirectDrawBase::GetInstanceCount() { return g_instanceCount; }
