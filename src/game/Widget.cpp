// CWidget: the widget list and focus, buttons and their navigation, the per-frame input rules,
// and the drawing interface forwarded to the current screen view.
#include <pyro/game/Widget.h>

#include <pyro/game/ScreenView.h>
#include <pyro/input/KeyMapper.h>

#include <algorithm>
#include <iterator>

namespace {

std::vector<CWidget*>& List()
{
    static std::vector<CWidget*> list;
    return list;
}

// The frame's input from the key mapper's snapshot.
class CMapperInput : public CWidgetInput {
public:
    explicit CMapperInput(const CKeyMapper& mapper) : mapper_(mapper)
    {
        if (const CMouse* mouse = mapper.mouse.get()) {
            leftPress = mouse->IsLButtonPushed();
            rightPress = mouse->IsRButtonPushed();
            leftRelease = mouse->IsLButtonReleased();
            rightRelease = mouse->IsRButtonReleased();
        }
        shift = mapper.IsDown(kLogicalShift);
        mouseX = mapper.mouseX;
        mouseY = mapper.mouseY;
    }
    bool IsTriggered(int32_t logicalKey) const override { return mapper_.IsTriggered(logicalKey); }

private:
    const CKeyMapper& mapper_;
};

// The logical keys of the four directions, in Direction order.
const int32_t kDirectionKeys[4] = {kLogicalUp, kLogicalLeft, kLogicalRight, kLogicalDown};

bool Intersect(const Rect& a, const Rect& b, Rect* out)
{
    *out = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
    return out->left < out->right && out->top < out->bottom;
}

}  // namespace

CWidget::CWidget() { Register(); }

CWidget::~CWidget() { Unregister(); }

void CWidget::Register()
{
    if (registered_) return;
    std::vector<CWidget*>& list = List();
    if (!list.empty()) list.back()->focus_ = false;
    list.push_back(this);
    focus_ = true;
    registered_ = true;
}

void CWidget::Unregister()
{
    if (!registered_) return;
    focus_ = false;
    std::vector<CWidget*>& list = List();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    registered_ = false;
    if (!list.empty()) list.back()->focus_ = true;
}

const std::vector<CWidget*>& CWidget::GetList() { return List(); }

void CWidget::SetPos(int32_t x, int32_t y)
{
    rect_ = {x, y, x + rect_.right - rect_.left, y + rect_.bottom - rect_.top};
    OnMove();
}

void CWidget::SetSize(int32_t width, int32_t height)
{
    rect_.right = rect_.left + width;
    rect_.bottom = rect_.top + height;
    OnSize();
}

void CWidget::AddButton(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
                        int32_t up, int32_t left, int32_t right, int32_t down)
{
    // Assigning keeps the map node, so a selection of this id stays valid.
    buttons_[id] = {{x, y, x + width, y + height}, {up, left, right, down}};
    if (rect_.right - rect_.left < x + width) rect_.right = rect_.left + x + width;
    if (rect_.bottom - rect_.top < y + height) rect_.bottom = rect_.top + y + height;
}

int32_t CWidget::GetRect(Rect* out, const Rect* rect) const
{
    if (!rect) {
        *out = rect_;
        return 0;
    }
    const Rect moved = {rect->left + rect_.left, rect->top + rect_.top, rect->right + rect_.left,
                        rect->bottom + rect_.top};
    return Intersect(moved, rect_, out) ? 0 : 1;
}

void CWidget::Select(int32_t id) { selection_ = buttons_.find(id); }

bool CWidget::IsInside(int32_t x, int32_t y) const
{
    return x >= rect_.left && x < rect_.right && y >= rect_.top && y < rect_.bottom;
}

bool CWidget::IsOver(const Button& button, int32_t x, int32_t y) const
{
    x -= rect_.left;
    y -= rect_.top;
    return x >= button.rect.left && x < button.rect.right && y >= button.rect.top &&
           y < button.rect.bottom;
}

// ---- The input rules; the first that applies ends the frame's step ----

void CWidget::UpdateAll()
{
    CKeyMapper& mapper = CKeyMapper::GetInstance();
    UpdateAll(CMapperInput(mapper));
}

void CWidget::UpdateAll(const CWidgetInput& input)
{
    std::vector<CWidget*>& list = List();
    if (list.empty()) return;
    list.back()->ApplyInput(input);
    // By index: a hook may add or remove widgets while the list is walked.
    for (size_t i = 0; i < list.size(); ++i) list[i]->OnUpdate();
}

void CWidget::DrawAll()
{
    std::vector<CWidget*>& list = List();
    for (size_t i = 0; i < list.size(); ++i) list[i]->OnDraw();
}

void CWidget::ApplyInput(const CWidgetInput& input)
{
    const bool shift = input.shift;
    if (input.rightPress || (input.leftPress && shift)) {
        // A click inside the widget is not a cancel; it does nothing else either.
        if (!IsInside(input.mouseX, input.mouseY)) OnCancel();
        return;
    }
    // Shift swaps the two action keys.
    const bool cancelKey = input.IsTriggered(shift ? kLogicalDecide : kLogicalCancel);
    const bool decideKey = input.IsTriggered(shift ? kLogicalCancel : kLogicalDecide);
    if (cancelKey) {
        OnCancel();
        return;
    }
    if (decideKey) {
        OnDecide();
        return;
    }
    if (!buttons_.empty()) {
        ApplyButtonInput(input);
        return;
    }
    if ((input.leftRelease || (input.rightRelease && shift)) && IsInside(input.mouseX, input.mouseY))
        OnDecide();
}

void CWidget::ApplyButtonInput(const CWidgetInput& input)
{
    const bool shift = input.shift;
    if (!HasSelection()) selection_ = buttons_.begin();
    if (input.leftRelease || (input.rightRelease && shift)) {
        if (IsOver(selection_->second, input.mouseX, input.mouseY)) OnDecide();
        return;
    }
    for (ButtonMap::iterator b = buttons_.begin(); b != buttons_.end(); ++b) {
        if (input.IsTriggered(b->first)) {
            selection_ = b;
            OnDecide();
            return;
        }
        if (input.leftPress && IsOver(b->second, input.mouseX, input.mouseY)) {
            selection_ = b;
            OnSelect();
            return;
        }
        if (b != selection_) continue;
        for (int direction = kUp; direction <= kDown; ++direction) {
            const int32_t neighbour = b->second.neighbours[direction];
            if (neighbour != 0 && input.IsTriggered(kDirectionKeys[direction])) {
                Select(neighbour);
                OnSelect();
                return;
            }
        }
        if (input.IsTriggered(kLogicalTab)) {
            if (shift) {
                selection_ = b == buttons_.begin() ? std::prev(buttons_.end()) : std::prev(b);
            } else {
                selection_ = std::next(b) == buttons_.end() ? buttons_.begin() : std::next(b);
            }
            OnSelect();
            return;
        }
    }
}

// ---- The drawing interface ----

namespace {

// The current screen view, or null: without one there is nowhere to draw.
CScreenView* View() { return CScreenView::GetCurrent(); }

}  // namespace

int32_t CWidget::Blt(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                     Rect* clip)
{
    CScreenView* view = View();
    return view ? view->Blt(src, x + rect_.left, y + rect_.top, srcRect, size, clip) : 1;
}

int32_t CWidget::BltFast(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                         Rect* clip)
{
    CScreenView* view = View();
    return view ? view->BltFast(src, x + rect_.left, y + rect_.top, srcRect, size, clip) : 1;
}

int32_t CWidget::BlendBlt(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                          const Rect* srcRect, const Size* size, Rect* clip)
{
    CScreenView* view = View();
    return view ? view->BlendBlt(src, x + rect_.left, y + rect_.top, dstRate, srcRate, srcRect,
                                 size, clip)
                : 1;
}

int32_t CWidget::BlendBltFast(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                              uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip)
{
    CScreenView* view = View();
    return view ? view->BlendBltFast(src, x + rect_.left, y + rect_.top, dstRate, srcRate,
                                     srcRect, size, clip)
                : 1;
}

int32_t CWidget::BlendBltAlpha(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                               uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip)
{
    CScreenView* view = View();
    return view ? view->BlendBltAlpha(src, x + rect_.left, y + rect_.top, dstRate, srcRate,
                                      srcRect, size, clip)
                : 1;
}

int32_t CWidget::BltAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                          const Size* size, Rect* clip)
{
    CScreenView* view = View();
    return view ? view->BltAlpha(src, x + rect_.left, y + rect_.top, srcRect, size, clip) : 1;
}

int32_t CWidget::BlendBltAlphaLevel(CPlane* src, int32_t x, int32_t y, int32_t level)
{
    CScreenView* view = View();
    return view ? view->BlendBltAlphaLevel(src, x + rect_.left, y + rect_.top, level) : 1;
}

bool CWidget::EffectRect(const Rect* rect, Rect* out) const
{
    if (!rect) {
        *out = rect_;
        return out->left < out->right && out->top < out->bottom;
    }
    return GetRect(out, rect) == 0;
}

int32_t CWidget::Mosaic(int32_t blockSize, const Rect* rect)
{
    CScreenView* view = View();
    Rect area;
    if (!view) return 1;
    return EffectRect(rect, &area) ? view->Mosaic(blockSize, &area) : 0;
}

int32_t CWidget::Negate(const Rect* rect)
{
    CScreenView* view = View();
    Rect area;
    if (!view) return 1;
    return EffectRect(rect, &area) ? view->Negate(&area) : 0;
}

int32_t CWidget::Clear(const Rect* rect)
{
    CScreenView* view = View();
    Rect area;
    if (!view) return 1;
    return EffectRect(rect, &area) ? view->Clear(&area) : 0;
}

int32_t CWidget::GetSize(int32_t* width, int32_t* height) const
{
    *width = rect_.right - rect_.left;
    *height = rect_.bottom - rect_.top;
    return 0;
}

int32_t CWidget::Load(const char*) { return -1; }

int32_t CWidget::LoadEx(const char*, const char*) { return -1; }

int32_t CWidget::Release() { return -1; }

int32_t CWidget::SetColorKey(int32_t, int32_t, int32_t) { return -1; }

int32_t CWidget::SetColorKeyFromPixel(int32_t, int32_t) { return -1; }

CShapes CWidget::Shapes() const
{
    CScreenView* view = View();
    if (!view) return CShapes(ShapeSurface{nullptr, 0, 0, 0, {0, 0, 0, 0}, 1, 0, 0, 1});
    ShapeSurface surface = view->Shapes().GetSurface();
    const int32_t m = surface.scale;
    surface.bounds = surface.bounds.Intersection(rect_).Offset(-rect_.left, -rect_.top);
    surface.originX += rect_.left * m;
    surface.originY += rect_.top * m;
    return CShapes(surface);
}
