// CWICFactory: the Windows Imaging Component's factory for one decode or encode. COM is
// initialised on the calling thread through the counted InitCOM for as long as the object
// lives, so an application's own initialisation is neither repeated nor undone.
#pragma once

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

class CWICFactory {
public:
    CWICFactory();
    CWICFactory(const CWICFactory&) = delete;
    CWICFactory& operator=(const CWICFactory&) = delete;
    ~CWICFactory();

    // Null when the component could not be created.
    IWICImagingFactory* Get() const { return factory_.Get(); }

private:
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
};
