// CNumberMenu and CNumberPanel: the button grid, opening and closing panels, and their drawing.
#include "game/NumberMenu.h"

#include <pyro/game/ScreenView.h>

#include <algorithm>

namespace {

// Text colours (GDI values 0x00BBGGRR) and fills (0x00RRGGBB).
constexpr uint32_t kSelectedText = 0x0000FF;  // red
constexpr uint32_t kText = 0xFFFFFF;
constexpr uint32_t kFocusedFill = 0x404040;
constexpr uint32_t kUnfocusedFill = 0x808080;
constexpr int32_t kFontSize = 32;

// id, x, y, width, height, then the neighbours up, left, right, down (0: none). The grid does
// not wrap.
struct ButtonRow {
    int32_t id, x, y, width, height, up, left, right, down;
};
const ButtonRow kButtons[CNumberMenu::kButtonCount] = {
    {100, 0, 0, 48, 32, 0, 0, 101, 102},
    {101, 48, 0, 48, 32, 0, 100, 0, 103},
    {102, 0, 32, 48, 32, 100, 0, 103, 0},
    {103, 48, 32, 48, 32, 101, 102, 0, 0},
};

void FillWidget(const CWidget& widget)
{
    CScreenView* view = CScreenView::GetCurrent();
    if (!view) return;
    Rect rect;
    widget.GetRect(&rect);
    view->FillRect(widget.HasFocus() ? kFocusedFill : kUnfocusedFill, &rect);
}

}  // namespace

CNumberMenu::CNumberMenu() = default;

CNumberMenu::~CNumberMenu()
{
    // Each panel takes itself off the list as it goes.
    while (!panels_.empty()) delete panels_.back();
}

void CNumberMenu::AddNumberButtons()
{
    for (int32_t i = 0; i < kButtonCount; ++i) {
        labels_[i].SetFontSize(kFontSize);
        labels_[i].SetText("[%d]", i);
        const ButtonRow& b = kButtons[i];
        AddButton(b.id, b.x, b.y, b.width, b.height, b.up, b.left, b.right, b.down);
    }
}

void CNumberMenu::OnCancel() { Unregister(); }

void CNumberMenu::OnDecide()
{
    const int32_t number = GetSelectedId() - kFirstId;
    panels_.push_back(new CNumberPanel(this, number));
}

void CNumberMenu::OnDraw()
{
    for (int32_t i = 0; i < kButtonCount; ++i) {
        labels_[i].SetColor(GetSelectedId() == kFirstId + i ? kSelectedText : kText);
        labels_[i].Update();
    }
    FillWidget(*this);
    CScreenView* view = CScreenView::GetCurrent();
    if (!view) return;
    for (const auto& [id, button] : GetButtons()) {
        if (id < kFirstId || id >= kFirstId + kButtonCount) continue;
        view->BltNative(&labels_[id - kFirstId], button.rect.left + rect_.left,
                        button.rect.top + rect_.top, nullptr, nullptr, nullptr, 0, 0);
    }
}

CNumberPanel::CNumberPanel(CNumberMenu* menu, int32_t number) : menu_(menu)
{
    label_.SetFontSize(kFontSize);
    label_.SetText("ナンバー%d！！", number);
    SetSize(240, 32);
    SetPos(number * 20, number * 20);
}

CNumberPanel::~CNumberPanel()
{
    if (menu_) {
        std::vector<CNumberPanel*>& panels = menu_->panels_;
        panels.erase(std::remove(panels.begin(), panels.end(), this), panels.end());
    }
}

void CNumberPanel::OnCancel() { delete this; }

void CNumberPanel::OnDecide() { delete this; }

void CNumberPanel::OnDraw()
{
    FillWidget(*this);
    label_.Update();
    if (CScreenView* view = CScreenView::GetCurrent())
        view->BltNative(&label_, rect_.left + 24, rect_.top, nullptr, nullptr, nullptr, 0, 0);
}
