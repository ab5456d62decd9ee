// The imaging factory, created in process by its class identifier (the first version of the
// factory, which every system with the component has).
#include "image/WICFactory.h"

#include <pyro/app/AppServices.h>

CWICFactory::CWICFactory()
{
    // A thread whose COM someone else initialised makes InitCOM report 1; the factory can
    // still be created there, so its result is not a reason to stop.
    InitCOM();
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory_.GetAddressOf()))))
        factory_.Reset();
}

CWICFactory::~CWICFactory()
{
    factory_.Reset();
    ExitCOM();
}
