// CD3D11Draw: the screen presented through Direct3D 11. The back buffer stays the 32-bit plane of
// CDIBDraw, so every transfer, effect, hook and the screen view work unchanged; only the copy to
// the window differs: each frame is uploaded to a texture and drawn into a flip-model swap chain
// of two buffers (at most one frame queued), magnified to the window when the back buffer is
// smaller, and presented with or without waiting for the vertical blank. When a step fails the
// screen writes one line to the error log and presents through GDI from then on.
#pragma once

#include <pyro/graphics/DIBDraw.h>

#include <cstdint>
#include <memory>
#include <vector>

class CD3D11Draw : public CDIBDraw {
public:
    // How a back buffer smaller than the window is magnified.
    enum Scaling {
        kIntegerScale,  // the largest whole factor that fits, centred, black borders around
        kLinearScale,   // filtered to the largest size of the same shape, centred, black borders
    };
    // The steps that bring the device up, in order; Start's result is the step that failed + 1.
    enum Step { kLoadLibrary, kCreateDevice, kCompileShaders, kCreateSwapChain, kCreateResources };

    // As CDIBDraw's; the device is not made until Start.
    CD3D11Draw();
    ~CD3D11Draw() override;

    // Makes the device, the shaders and the swap chain on the window: 0, or the failed Step + 1
    // after one line in the error log, and the screen presents through GDI.
    int32_t Start();
    // Whether frames go through Direct3D 11 (false before Start and after a fallback).
    bool IsActive() const;

    // Uploads the back buffer (only the rectangle's rows when one is given), draws it into the
    // swap chain and presents; runs the hooks and applies the brightness as CDIBDraw does.
    void OnDraw(const Rect* rect, bool runHooks) override;
    // WM_PAINT presents the last frame again; no message is consumed.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // On (the default): Present waits for the vertical blank; off: it never waits and a frame
    // the display cannot take yet is dropped.
    void SetVSync(bool on) { vsync_ = on; }
    // Whether Present waits for the vertical blank.
    bool GetVSync() const { return vsync_; }
    // How a back buffer smaller than the window is magnified (kIntegerScale by default).
    void SetScaling(Scaling scaling) { scaling_ = scaling; }
    // The magnification mode.
    Scaling GetScaling() const { return scaling_; }

    // The swap chain's frame-latency object, signalled when it can take a frame; null when the
    // system offers none (then the frame timer waits on a timer).
    HANDLE GetFrameLatencyWaitable() const;
    // How many times a lost device was made again.
    int32_t GetRecreateCount() const { return recreateCount_; }
    // Draws the last frame again and reads the swap chain's buffer back before presenting it, as
    // 0x00RRGGBB pixels, top-down: 0, or 1 when the screen is not active or the read fails.
    int32_t ReadPresented(std::vector<uint32_t>* pixels, int32_t* width, int32_t* height);

    // A step to fail on purpose, for tests: the environment variable PYRO_D3D11_FAULT names it
    // ("library", "device", "shaders", "swapchain", "resources"), and "removed" makes the first
    // Present report a removed device. Read by the constructor; tests may set it afterwards.
    void SetFault(const char* fault);

protected:
    // Presents the drawn buffer; tests replace it to lose the device.
    virtual long PresentBuffer(uint32_t interval, uint32_t flags);

private:
    struct Device;
    int32_t Fail(Step step);
    void FallBack(const char* what, long result);
    bool Show(const Rect* rect, bool upload);
    int32_t Create();

    std::unique_ptr<Device> device_;
    bool vsync_ = true;
    Scaling scaling_ = kIntegerScale;
    bool active_ = false;
    int32_t recreateCount_ = 0;
    int32_t faultStep_ = -1;  // the Step that fails on purpose, -1: none
    bool faultRemoved_ = false;
    long lastResult_ = 0;  // the result of the step Create stopped at
    bool capture_ = false;  // the next Show reads the drawn buffer back
    std::vector<uint32_t> captured_;
    int32_t capturedWidth_ = 0;
    int32_t capturedHeight_ = 0;
};
