// CSoundOutput: feeds a CSoundMixer to the Windows wave output (winmm) from a thread of its own.
// A queue of buffers is kept at the device (by default 5 of 10 ms: a change is mixed into the very
// next buffer and reaches the system's mixer within about 50 ms). A buffer that the device hands
// back before its successor was queued is an under-run, an audible gap: it is counted, logged once,
// and, when asked, the queue grows by a buffer, up to kMaxBuffers. Opened on the application's thread, it also pauses while
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
    static constexpr int kDefaultBuffers = 5;  // buffers queued at the device
    static constexpr int kDefaultBufferMs = 10;  // length of each
    static constexpr int kMinBuffers = 2;  // the shortest queue
    static constexpr int kMaxBuffers = 16;  // also the limit of the growing queue
    static constexpr int kMinBufferMs = 5;  // the shortest buffer
    static constexpr int kMaxBufferMs = 100;  // the longest buffer

    CSoundOutput() = default;
    ~CSoundOutput() override;

    // Opens the device (WAVE_MAPPER picks the system's default) for 16-bit stereo at 44.1 kHz
    // and starts the thread that mixes into it:
    //   0; -1 no mixer; -2 already open; 1 the device cannot be opened (no audio device; this is
    //   written to the error log); 2 the thread could not be started.
    // The mixer must outlive the output.
    int Open(CSoundMixer* mixer, UINT device = WAVE_MAPPER);
    // The queue for the next Open: buffers (kMinBuffers .. kMaxBuffers) of bufferMs milliseconds
    // (kMinBufferMs .. kMaxBufferMs); values outside are brought to the nearest limit. The latency
    // is about buffers x bufferMs. With grow, each under-run adds a buffer up to kMaxBuffers.
    void SetLatency(int buffers, int bufferMs, bool grow = false);
    // The buffers queued now (more than asked after growing).
    int GetBufferCount() const { return activeBuffers_; }
    // The length of each buffer in milliseconds.
    int GetBufferMs() const { return bufferMs_; }
    // Under-runs since Open.
    int GetUnderruns() const { return underruns_; }
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
    WAVEHDR headers_[kMaxBuffers] = {};
    int buffers_ = kDefaultBuffers;  // as set; the queue starts at this length
    int bufferMs_ = kDefaultBufferMs;
    int bufferFrames_ = 441;  // bufferMs_ at 44.1 kHz
    bool grow_ = false;
    std::atomic<int> activeBuffers_{kDefaultBuffers};
    std::atomic<int> underruns_{0};
    std::vector<int16_t> memory_;
    CSoundMixer* mixer_ = nullptr;
    CApplication* application_ = nullptr;
    std::atomic<bool> paused_{false};
};
