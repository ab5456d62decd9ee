// The mouse in two layers. CMouseBase is a window hook that follows the two buttons from the
// window's messages and reads the cursor in client coordinates on demand. CMouse adds the
// per-frame snapshot that every question of a frame reads, with press and release edges and a
// short guard after creation against the edges its first snapshot would report.
#pragma once

#include <pyro/app/WindowHook.h>

#include <cstdint>

// Button word: bit 0 the right button, bit 1 the left.
constexpr uint32_t kMouseRight = 1;
constexpr uint32_t kMouseLeft = 2;

class CMouseBase : public IWindowHook {
public:
    // Hooks the calling thread's application window for the object's whole life.
    CMouseBase();
    // Follows the buttons from the button messages; never consumes one.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Cursor position in the window's client coordinates (screen coordinates in full-screen).
    // Outside the client area the buttons read as released, unless kept.
    virtual void GetXY(int32_t* x, int32_t* y);
    // Whether the right button is held.
    virtual bool IsRButton() const { return right_; }
    // Whether the left button is held.
    virtual bool IsLButton() const { return left_; }
    // The position and the button word.
    virtual void GetInfo(int32_t* x, int32_t* y, uint32_t* buttons);
    // Presses since the previous call of this operation.
    virtual void GetButtonEdges(bool* leftPressed, bool* rightPressed);
    // Forgets the presses seen so far.
    virtual void ResetButtonEdges();
    // Places the cursor at a client position.
    virtual void SetXY(int32_t x, int32_t y);
    // Whether the buttons keep their state while the cursor is outside the client area.
    virtual void SetKeepButtonsOutside(bool keep) { keepButtonsOutside_ = keep; }
    virtual ~CMouseBase();  // unhooks the window

protected:
    bool right_ = false;  // the right button is held
    bool left_ = false;  // the left button is held
    bool previousRight_ = false;  // the right button as the previous question saw it
    bool previousLeft_ = false;  // the left button as the previous question saw it

private:
    bool keepButtonsOutside_ = false;
    bool hooked_ = false;
};

// CMouse: the mouse as the key mapper owns it, read once per frame.
class CMouse : public CMouseBase {
public:
    // Everything below answers from the snapshot that GetState took.
    void GetXY(int32_t* x, int32_t* y) override;
    bool IsRButton() const override { return snapshotRight_; }
    bool IsLButton() const override { return snapshotLeft_; }
    void GetInfo(int32_t* x, int32_t* y, uint32_t* buttons) override;
    // Presses between the previous snapshot and this one; ignores the guard, changes nothing.
    void GetButtonEdges(bool* leftPressed, bool* rightPressed) override;
    void ResetButtonEdges() override { ResetButtonState(); }
    // Forgets the buttons of the snapshot and of the one before.
    virtual void ResetButtonState();
    void SetXY(int32_t x, int32_t y) override;

    // Edges of the snapshot, false while guarded.
    virtual bool IsRButtonPushed() const { return !previousRight_ && snapshotRight_ && guard_ == 0; }
    // As IsRButtonPushed, for the left button's press.
    virtual bool IsLButtonPushed() const { return !previousLeft_ && snapshotLeft_ && guard_ == 0; }
    // Releases between the previous snapshot and this one; ignores the guard.
    virtual void GetButtonReleases(bool* leftReleased, bool* rightReleased);
    // As IsRButtonPushed, for the right button's release.
    virtual bool IsRButtonReleased() const { return previousRight_ && !snapshotRight_ && guard_ == 0; }
    // As IsRButtonPushed, for the left button's release.
    virtual bool IsLButtonReleased() const { return previousLeft_ && !snapshotLeft_ && guard_ == 0; }
    // Takes the frame's snapshot; 0.
    virtual int GetState();
    // True until the second snapshot.
    virtual bool IsGuarded() const { return guard_ != 0; }

private:
    bool snapshotRight_ = false;
    bool snapshotLeft_ = false;
    uint32_t snapshotButtons_ = 0;
    int32_t snapshotX_ = 0;
    int32_t snapshotY_ = 0;
    int32_t guard_ = 2;
};
