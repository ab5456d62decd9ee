#include <pyro/input/TextInput.h>

#include <pyro/file/StringEncoding.h>

#include <utility>

#ifdef _WIN32
#include <pyro/app/AppManager.h>
#include <pyro/app/Application.h>

#include <imm.h>
#endif

size_t LastCharacterSize(const std::string& text)
{
    size_t last = 0;
    for (size_t i = 0; i < text.size(); i = NextCharIndex(text, i)) last = i;
    return text.size() - last;
}

#ifdef _WIN32
// The window side: a hook in the application window's chain that hands characters over, and
// the IME's state as Start found it.
struct CTextInput::Hook : IWindowHook {
    explicit Hook(CTextInput& owner) : input(owner) {}

    LRESULT OnMessage(HWND, UINT message, WPARAM wParam, LPARAM) override
    {
        switch (message) {
        case WM_CHAR:
            input.Receive(uint32_t(wParam));
            return 0;
        case WM_IME_CHAR:
            // An IME's result: one character, its bytes packed first byte highest (a double-byte
            // Shift-JIS one as lead << 8 | trail, UTF-8 up to four bytes). Consumed, so that the
            // default procedure does not send it once more as WM_CHAR.
            for (int shift = 24; shift > 0; shift -= 8) {
                if (uint64_t(wParam) >> shift) input.Receive(uint32_t(uint64_t(wParam) >> shift) & 0xFF);
            }
            input.Receive(uint32_t(wParam) & 0xFF);
            return 1;
        default:
            return 0;
        }
    }

    CTextInput& input;
    CWindow* window = nullptr;
    bool imeSwitched = false;  // Start switched the IME on; Stop switches it off again
};

bool CTextInput::IsImeOn()
{
    CApplication* application = GetMyApp();
    HWND hwnd = application ? application->GetWindow().GetHWnd() : nullptr;
    if (!hwnd) return false;
    HIMC context = ImmGetContext(hwnd);
    if (context) ImmReleaseContext(hwnd, context);
    return context != nullptr;
}

int CTextInput::Start(bool ime)
{
    Stop();
    CApplication* application = GetMyApp();
    HWND hwnd = application ? application->GetWindow().GetHWnd() : nullptr;
    if (!hwnd) return kTextInputNoWindow;
    hook_ = std::make_unique<Hook>(*this);
    hook_->window = &application->GetWindow();
    if (ime && !IsImeOn()) {
        ImmAssociateContextEx(hwnd, nullptr, IACE_DEFAULT);
        hook_->imeSwitched = true;
    }
    hook_->window->AddHook(hook_.get());
    started_ = true;
    return kTextInputStarted;
}

void CTextInput::Stop()
{
    if (!hook_) return;
    hook_->window->RemoveHook(hook_.get());
    if (hook_->imeSwitched && hook_->window->GetHWnd()) ImmAssociateContext(hook_->window->GetHWnd(), nullptr);
    hook_.reset();
    started_ = false;
}
#else
struct CTextInput::Hook {};

bool CTextInput::IsImeOn() { return false; }
int CTextInput::Start(bool) { return kTextInputNoWindow; }
void CTextInput::Stop() {}
#endif

CTextInput::CTextInput() = default;

CTextInput::~CTextInput() { Stop(); }

void CTextInput::Receive(uint32_t code)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (code == 8 || code == 13) {
        pending_.push_back({code == 8 ? TextInputEvent::kBackspace : TextInputEvent::kEnter, {}});
        return;
    }
    if (code < 0x20 || code == 0x7F || code > 0xFF) return;
    if (pending_.empty() || pending_.back().kind != TextInputEvent::kCharacters)
        pending_.push_back({TextInputEvent::kCharacters, {}});
    pending_.back().text += char(code);
}

void CTextInput::Update()
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        events_ = std::move(pending_);
        pending_.clear();
    }
    text_.clear();
    for (const TextInputEvent& event : events_) text_ += event.text;
}

bool CTextInput::EditLine(std::string& line, size_t maxBytes) const
{
    bool entered = false;
    for (const TextInputEvent& event : events_) {
        switch (event.kind) {
        case TextInputEvent::kCharacters:
            for (size_t i = 0; i < event.text.size();) {
                const size_t next = NextCharIndex(event.text, i);
                if (line.size() + (next - i) <= maxBytes) line.append(event.text, i, next - i);
                i = next;
            }
            break;
        case TextInputEvent::kBackspace:
            line.resize(line.size() - LastCharacterSize(line));
            break;
        case TextInputEvent::kEnter:
            entered = true;
            break;
        }
    }
    return entered;
}
