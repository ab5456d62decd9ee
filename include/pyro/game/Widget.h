// CWidget: a rectangular scene element on the logical screen. Widgets live in one process-wide
// list, oldest first; the last one has the focus and receives input. A widget may hold a map of
// buttons linked to their neighbours for keyboard navigation. It draws like a plane: every
// transfer is moved by its position and handed to the current screen view.
#pragma once

#include <pyro/game/WidgetInput.h>
#include <pyro/graphics/PlaneBase.h>
#include <pyro/graphics/Shapes.h>

#include <cstdint>
#include <map>
#include <vector>

class CWidget : public CPlaneBase {
public:
    // Neighbour directions, in the order of a button's record and of the keys that follow them.
    enum Direction { kUp, kLeft, kRight, kDown };

    // A button of the widget's map: where it is and which buttons lie next to it.
    struct Button {
        Rect rect;  // relative to the widget's position
        int32_t neighbours[4];  // button ids by Direction; 0 = none
    };

    // Registers itself: the new widget is the top one and has the focus.
    CWidget();
    // Unregisters itself.
    ~CWidget() override;
    CWidget(const CWidget&) = delete;
    CWidget& operator=(const CWidget&) = delete;

    // Appends the widget to the list and gives it the focus, unless it is there already.
    void Register();
    // Takes the widget out of the list; the widget below it gets the focus.
    void Unregister();
    // Moves the widget, keeping its size; then OnMove.
    void SetPos(int32_t x, int32_t y);
    // Then OnSize.
    void SetSize(int32_t width, int32_t height);
    // Stores (or replaces) a button and grows the widget to cover it; it never shrinks.
    void AddButton(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height, int32_t up,
                   int32_t left, int32_t right, int32_t down);
    // Without a rectangle: the widget's rectangle, result 0. With one: that rectangle moved by
    // the widget's position and cut to the widget; 1 when nothing is left.
    int32_t GetRect(Rect* out, const Rect* rect = nullptr) const;

    // Whether the widget is in the list.
    bool IsRegistered() const { return registered_; }
    // Whether the widget is the top one and receives input.
    bool HasFocus() const { return focus_; }
    // Whether a button is selected.
    bool HasSelection() const { return selection_ != buttons_.end(); }
    // The selected button's id, or 0 when none is selected.
    int32_t GetSelectedId() const { return HasSelection() ? selection_->first : 0; }
    // Selects the button with the id; none when there is no such button.
    void Select(int32_t id);
    // The buttons by id.
    const std::map<int32_t, Button>& GetButtons() const { return buttons_; }

    // The frame's input for the top widget (from the key mapper), then every widget's OnUpdate.
    static void UpdateAll();
    // The same with the frame's input given.
    static void UpdateAll(const CWidgetInput& input);
    // OnDraw of every widget, oldest first.
    static void DrawAll();
    // The list, oldest first; the last one is the top widget.
    static const std::vector<CWidget*>& GetList();

    // ---- The drawing interface: the current screen view, moved by the widget's position ----
    int32_t Blt(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                const Size* size = nullptr,
                Rect* clip = nullptr) override;
    int32_t BltFast(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                    const Size* size = nullptr,
                    Rect* clip = nullptr) override;
    int32_t BlendBlt(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                     const Rect* srcRect = nullptr, const Size* size = nullptr,
                     Rect* clip = nullptr) override;
    int32_t BlendBltFast(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                         const Rect* srcRect = nullptr, const Size* size = nullptr,
                         Rect* clip = nullptr) override;
    int32_t BlendBltAlpha(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                          const Rect* srcRect = nullptr, const Size* size = nullptr,
                          Rect* clip = nullptr) override;
    int32_t BltAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                     const Size* size = nullptr,
                     Rect* clip = nullptr) override;
    int32_t BlendBltAlphaLevel(CPlane* src, int32_t x, int32_t y, int32_t level) override;
    // Rectangles are relative to the widget and cut to it; null means the whole widget.
    int32_t Mosaic(int32_t blockSize, const Rect* rect = nullptr) override;
    int32_t Negate(const Rect* rect = nullptr) override;
    int32_t GetSize(int32_t* width, int32_t* height) const override;
    bool IsLoaded() const override { return false; }
    bool IsAlpha() const override { return false; }
    int32_t Clear(const Rect* rect = nullptr) override;
    // A widget has no pixels of its own: these do nothing and return -1.
    int32_t Load(const char* fileName) override;
    int32_t LoadEx(const char* first, const char* second) override;
    int32_t Release() override;
    int32_t SetColorKey(int32_t r, int32_t g, int32_t b) override;
    int32_t SetColorKeyFromPixel(int32_t x, int32_t y) override;

    // Shapes on the current screen view relative to the widget's position and cut to the
    // widget (empty without a view).
    CShapes Shapes() const;

    // ---- Hooks; they do nothing here ----
    // The widget's size changed.
    virtual void OnSize() {}
    // The widget moved.
    virtual void OnMove() {}
    // A hook called by the input rules may destroy the widget: the rules touch nothing after it.
    virtual void OnCancel() {}
    // The decide key or a click on the selection.
    virtual void OnDecide() {}
    // The selection changed.
    virtual void OnSelect() {}
    // Once per frame, for every widget.
    virtual void OnUpdate() {}
    // Draws the widget; once per frame, oldest widget first.
    virtual void OnDraw() {}

protected:
    // The widget's rectangle on the logical screen.
    Rect rect_ = {0, 0, 0, 0};

private:
    using ButtonMap = std::map<int32_t, Button>;

    // The input rules, applied to the top widget once per frame.
    void ApplyInput(const CWidgetInput& input);
    void ApplyButtonInput(const CWidgetInput& input);
    bool IsInside(int32_t x, int32_t y) const;
    bool IsOver(const Button& button, int32_t x, int32_t y) const;
    // The rectangle for an in-place effect, in logical screen coordinates; false when empty.
    bool EffectRect(const Rect* rect, Rect* out) const;

    ButtonMap buttons_;
    ButtonMap::iterator selection_ = buttons_.end();
    bool registered_ = false;
    bool focus_ = false;
};
