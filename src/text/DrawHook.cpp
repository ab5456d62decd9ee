// CDrawHook and CGDIHook: the base hook and the registration with the thread's screen.
#include <pyro/text/DrawHook.h>

#include <pyro/app/AppManager.h>
#include <pyro/graphics/DIBDraw.h>

void CDrawHook::OnDrawDC(HDC) {}

void CDrawHook::OnDrawScreen(CDIBDraw* screen) { OnDrawPlane(screen ? static_cast<CPlaneBase*>(screen) : nullptr); }

CDrawHook::~CDrawHook() = default;

void CDrawHook::OnDrawPlane(CPlaneBase*) {}

CGDIHook::CGDIHook()
{
    if (CDIBDraw* screen = GetMyDraw()) screen->AddHook(CDIBDraw::kGDI, this);
}

CGDIHook::~CGDIHook()
{
    if (CDIBDraw* screen = GetMyDraw()) screen->RemoveHook(CDIBDraw::kGDI, this);
}
