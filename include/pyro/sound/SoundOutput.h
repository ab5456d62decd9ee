// CSoundOutput: feeds a CSoundMixer to the Windows wave output (winmm) from a thread of its own.
// Four buffers of 10 ms are kept queued: a change is mixed into the very next buffer and reaches
// the system's mixer within about 40 ms. Opened on the application's thread, it also pauses while
// the application pauses on minimise.
#pragma once

#include <pyro/app/ThreadObject.h>
#include <pyro/app/WindowHook.h>

#include <atomic>
#include <cstdint>
#include <vector>
#include <windows.h>
#include <mmsystem.h>

class CApplication;
class CSoundMixer;

class CSoundOutput : public CThreadObject, public IWindowHook {
public:
    static constexpr int kBuffers = 4;  // buffers queued at the device
    static constexpr int kBufferFrames = 441;  // 10 ms at 44.1 kHz

    CSoundOutput() = default;
    ~CSoundOutput() override;

    // Opens the device (WAVE_MAPPER picks the system's default) for 16-bit stereo at 44.1 kHz
    // and starts the thread that mixes into it:
    //   0; -1 no mixer; -2 already open; 1 the device cannot be opened (no audio device; this is
    //   written to the error log); 2 the thread could not be started.
    // The mixer must outlive the output.
    int Open(CSoundMixer* mixer, UINT device = WAVE_MAPPER);
    // Stops the thread and closes the device; nothing when not open.
    void Close();
    // True while a device is open.
    bool IsOpen() const { return wave_ != nullptr; }
    // While paused no buffer is mixed or played: voices keep their place.
    void SetPaused(bool paused);
    // True while paused by SetPaused or by the minimised application.
    bool IsPaused() const { return paused_; }

    // Follows the application's minimised state when it pauses on minimise.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Wakes the thread so that it ends (the thread object's stop request).
    void Invalidate() override;

protected:
    void ThreadProc() override;

private:
    void Release();

    HWAVEOUT wave_ = nullptr;
    HANDLE bufferDone_ = nullptr;  // signalled by the device for each finished buffer
    WAVEHDR headers_[kBuffers] = {};
    std::vector<int16_t> memory_;
    CSoundMixer* mixer_ = nullptr;
    CApplication* application_ = nullptr;
    std::atomic<bool> paused_{false};
};
