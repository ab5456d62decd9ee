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

}  // namespace

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
        CErrorLog::Write("CSoundOutput::OpenでwaveOutOpen失敗(%u)", static_cast<unsigned>(opened));
        wave_ = nullptr;
        Release();
        return 1;
    }

    mixer_ = mixer;
    memory_.assign(size_t(kBuffers) * kBufferFrames * 2, 0);
    for (int i = 0; i < kBuffers; ++i) {
        WAVEHDR& header = headers_[i];
        header = WAVEHDR();
        header.lpData = reinterpret_cast<LPSTR>(memory_.data() + size_t(i) * kBufferFrames * 2);
        header.dwBufferLength = kBufferFrames * 4;
        waveOutPrepareHeader(wave_, &header, sizeof header);
    }
    paused_ = false;
    if (StartThread() != 0) {
        CErrorLog::Write("CSoundOutput::Openでスレッド開始失敗");
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
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    bool devicePaused = false;
    int next = 0;  // buffers go back to the device in the order they come back from it
    while (IsValid()) {
        const bool pause = paused_;
        if (pause != devicePaused) {
            if (pause) waveOutPause(wave_);
            else waveOutRestart(wave_);
            devicePaused = pause;
        }
        while (!devicePaused && IsValid()) {
            WAVEHDR& header = headers_[next];
            if (*static_cast<volatile DWORD*>(&header.dwFlags) & WHDR_INQUEUE) break;
            mixer_->Mix(reinterpret_cast<int16_t*>(header.lpData), kBufferFrames);
            if (waveOutWrite(wave_, &header, sizeof header) != MMSYSERR_NOERROR) break;
            next = (next + 1) % kBuffers;
        }
        WaitForSingleObject(bufferDone_, 100);
    }
    waveOutReset(wave_);
}
