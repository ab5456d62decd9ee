#include <pyro/sound/SoundOutput.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/Application.h>
#include <pyro/app/ErrorLog.h>
#include <pyro/sound/SoundMixer.h>

namespace {

// Whether the application is paused on minimise right now.
bool PausedByApplication(CApplication& application)
{
    return application.pauseWhenMinimized && application.GetWindow().IsMinimized();
}

// Raises the calling thread for audio: the multimedia class scheduler's "Games" task where the
// system has it (Vista and later), else a time-critical priority. The handle reverts the task.
HANDLE RaiseAudioThread()
{
    using SetTask = HANDLE(WINAPI*)(LPCWSTR, LPDWORD);
    HMODULE avrt = LoadLibraryW(L"avrt.dll");
    const auto set = avrt ? reinterpret_cast<SetTask>(reinterpret_cast<void (*)()>(
                                GetProcAddress(avrt, "AvSetMmThreadCharacteristicsW")))
                          : nullptr;
    DWORD index = 0;
    HANDLE task = set ? set(L"Games", &index) : nullptr;
    if (!task) SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    return task;
}

void LowerAudioThread(HANDLE task)
{
    if (!task) return;
    using RevertTask = BOOL(WINAPI*)(HANDLE);
    HMODULE avrt = GetModuleHandleW(L"avrt.dll");
    const auto revert = avrt ? reinterpret_cast<RevertTask>(reinterpret_cast<void (*)()>(
                                   GetProcAddress(avrt, "AvRevertMmThreadCharacteristics")))
                             : nullptr;
    if (revert) revert(task);
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

}  // namespace

void CSoundOutput::SetLatency(int buffers, int bufferMs, bool grow)
{
    buffers_ = Clamp(buffers, kMinBuffers, kMaxBuffers);
    bufferMs_ = Clamp(bufferMs, kMinBufferMs, kMaxBufferMs);
    bufferFrames_ = CSoundMixer::kRate * bufferMs_ / 1000;
    grow_ = grow;
    if (!wave_) activeBuffers_ = buffers_;
}

CSoundOutput::~CSoundOutput() { Close(); }

int CSoundOutput::Open(CSoundMixer* mixer, UINT device)
{
    if (!mixer) return -1;
    if (wave_) return -2;

    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = CSoundMixer::kRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = CSoundMixer::kRate * 4;
    bufferDone_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const MMRESULT opened = bufferDone_
        ? waveOutOpen(&wave_, device, &format, reinterpret_cast<DWORD_PTR>(bufferDone_), 0, CALLBACK_EVENT)
        : MMSYSERR_NOMEM;
    if (opened != MMSYSERR_NOERROR) {
        CErrorLog::WriteSystem("CSoundOutput::OpenでwaveOutOpen失敗(%u)", static_cast<unsigned>(opened));
        wave_ = nullptr;
        Release();
        return 1;
    }

    mixer_ = mixer;
    // Every buffer the queue may grow to is prepared now; the thread never allocates.
    const int prepared = grow_ ? kMaxBuffers : buffers_;
    memory_.assign(size_t(prepared) * bufferFrames_ * 2, 0);
    for (int i = 0; i < kMaxBuffers; ++i) {
        WAVEHDR& header = headers_[i];
        header = WAVEHDR();
        if (i >= prepared) continue;
        header.lpData = reinterpret_cast<LPSTR>(memory_.data() + size_t(i) * bufferFrames_ * 2);
        header.dwBufferLength = static_cast<DWORD>(bufferFrames_) * 4;
        waveOutPrepareHeader(wave_, &header, sizeof header);
    }
    activeBuffers_ = buffers_;
    underruns_ = 0;
    paused_ = false;
    if (StartThread() != 0) {
        CErrorLog::WriteSystem("CSoundOutput::Openでスレッド開始失敗");
        Release();
        return 2;
    }
    application_ = GetMyApp();
    if (application_) {
        application_->GetWindow().AddHook(this);
        SetPaused(PausedByApplication(*application_));
    }
    return 0;
}

void CSoundOutput::Close()
{
    if (application_) application_->GetWindow().RemoveHook(this);
    application_ = nullptr;
    StopThread();
    Release();
}

void CSoundOutput::Release()
{
    if (wave_) {
        waveOutReset(wave_);
        for (WAVEHDR& header : headers_) {
            if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(wave_, &header, sizeof header);
        }
        waveOutClose(wave_);
        wave_ = nullptr;
    }
    if (bufferDone_) CloseHandle(bufferDone_);
    bufferDone_ = nullptr;
    memory_ = std::vector<int16_t>();
    mixer_ = nullptr;
}

void CSoundOutput::SetPaused(bool paused)
{
    paused_ = paused;
    if (bufferDone_) SetEvent(bufferDone_);
}

void CSoundOutput::Invalidate()
{
    CThreadObject::Invalidate();
    if (bufferDone_) SetEvent(bufferDone_);
}

LRESULT CSoundOutput::OnMessage(HWND, UINT message, WPARAM, LPARAM)
{
    // The window's own hook runs first and has updated its minimised flag.
    if ((message == WM_SIZE || message == WM_ACTIVATEAPP) && application_) {
        SetPaused(PausedByApplication(*application_));
    }
    return 0;
}

void CSoundOutput::ThreadProc()
{
    // A late buffer is an audible gap; the work per buffer is small.
    const HANDLE task = RaiseAudioThread();
    bool devicePaused = false;
    bool playing = false;  // buffers have been queued since the start or the last pause
    bool logged = false;
    int next = 0;  // buffers go back to the device in the order they come back from it
    while (IsValid()) {
        const bool pause = paused_;
        if (pause != devicePaused) {
            if (pause) waveOutPause(wave_);
            else waveOutRestart(wave_);
            devicePaused = pause;
            playing = false;
        }
        while (!devicePaused && IsValid()) {
            const int count = activeBuffers_;
            WAVEHDR& header = headers_[next];
            if (*static_cast<volatile DWORD*>(&header.dwFlags) & WHDR_INQUEUE) break;
            mixer_->Mix(reinterpret_cast<int16_t*>(header.lpData), bufferFrames_);
            // With none of the others still queued once this one is ready, the device has run
            // dry before it came.
            bool queued = false;
            for (int i = 0; i < count && !queued; ++i) {
                queued = i != next && (*static_cast<volatile DWORD*>(&headers_[i].dwFlags) & WHDR_INQUEUE);
            }
            if (waveOutWrite(wave_, &header, sizeof header) != MMSYSERR_NOERROR) break;
            if (playing && !queued) {
                ++underruns_;
                if (!logged) {
                    CErrorLog::WriteSystem("CSoundOutput::ThreadProcで音切れ(%d×%dms)", count, bufferMs_);
                    logged = true;
                }
                // Only this buffer is queued: the ring takes one more after it from here on.
                if (grow_ && count < kMaxBuffers) activeBuffers_ = count + 1;
            }
            playing = true;
            next = (next + 1) % activeBuffers_;
        }
        WaitForSingleObject(bufferDone_, 100);
    }
    waveOutReset(wave_);
    LowerAudioThread(task);
}
