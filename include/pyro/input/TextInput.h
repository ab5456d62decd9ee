// CTextInput: text entry for a high-score name or a chat line. While started, it takes the
// characters typed into the calling thread's application window, IME composition results
// included, in the program's encoding (Shift-JIS), with Backspace and Enter as events of their
// own; Update hands them to the frame. The IME can be switched on for the entry, and is switched
// back when it stops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// One thing typed: characters (one or more, in the order typed), a Backspace or an Enter.
struct TextInputEvent {
    // What was typed.
    enum Kind { kCharacters, kBackspace, kEnter };
    Kind kind;  // which of the three
    std::string text;  // the characters of a kCharacters event
};

// Results of CTextInput::Start.
constexpr int kTextInputStarted = 0;
constexpr int kTextInputNoWindow = 1;  // the calling thread has no application window

// CTextInput: text typed into the application window, a frame at a time.
class CTextInput {
public:
    CTextInput();
    ~CTextInput();  // stops
    CTextInput(const CTextInput&) = delete;
    CTextInput& operator=(const CTextInput&) = delete;

    // Starts taking what is typed into the calling thread's application window. With ime, the
    // window's input method is switched on until Stop (the frame keeps it off for play).
    int Start(bool ime = false);
    // Stops taking characters and puts the IME back as Start found it. Nothing typed is lost
    // that an Update has not yet handed over: the next Update still gives it.
    void Stop();
    bool IsStarted() const { return started_; }  // between Start and Stop
    // Whether the window's input method is on now (ImmGetContext gives a context).
    static bool IsImeOn();

    // Once a frame: what was typed since the last Update becomes this frame's.
    void Update();
    // This frame's events, in the order typed.
    const std::vector<TextInputEvent>& GetEvents() const { return events_; }
    // This frame's characters, joined.
    const std::string& GetText() const { return text_; }
    // Applies this frame's events to a line of text: characters are appended while the line
    // stays within maxBytes (a character that does not fit whole is dropped), Backspace takes
    // off the last whole character. True when Enter was pressed in the frame.
    bool EditLine(std::string& line, size_t maxBytes) const;

    // What the window hands over: a byte of a character (a double-byte character's lead and
    // trail byte in turn), or the control codes 8 (Backspace) and 13 (Enter). Other control codes
    // (Tab, Escape, Ctrl with a letter) are not text and are dropped.
    void Receive(uint32_t code);

private:
    struct Hook;  // the window side

    std::mutex lock_;  // pending_ is filled on the window's thread
    std::vector<TextInputEvent> pending_;
    std::vector<TextInputEvent> events_;
    std::string text_;
    bool started_ = false;
    std::unique_ptr<Hook> hook_;
};

// The length in bytes of the last character of a Shift-JIS string: 2 for a double-byte
// character, 1 otherwise, 0 for an empty string. A lone lead byte at the end counts as one.
size_t LastCharacterSize(const std::string& text);
