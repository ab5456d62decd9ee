// The main menu's widgets: CNumberMenu, four numbered buttons "[0]" to "[3]" in a two-by-two
// grid, and CNumberPanel, the panel "ナンバーn！！" that a decision on the menu opens over it and
// the next decision or cancel closes again.
#pragma once

#include <pyro/game/TextLabel.h>
#include <pyro/game/Widget.h>

#include <cstdint>
#include <vector>

class CNumberPanel;

class CNumberMenu : public CWidget {
public:
    static constexpr int32_t kButtonCount = 4;
    // The buttons' ids, which are also their hot keys as logical keys: 100 to 103.
    static constexpr int32_t kFirstId = 100;

    CNumberMenu();
    // Panels of this menu that are still open are released first.
    ~CNumberMenu() override;

    // Labels "[0]" to "[3]" at font size 32 and the grid of buttons, 96 by 64 in all.
    void AddNumberButtons();
    // Cancel takes the menu off the screen: it no longer draws or takes input.
    void OnCancel() override;
    // Opens the panel of the selected button; it takes the focus.
    void OnDecide() override;
    // The selected label in red, the others white, on dark grey (light grey without the focus).
    void OnDraw() override;

    CTextLabel& GetLabel(int32_t index) { return labels_[index]; }
    // The panels opened by this menu that are still open, oldest first.
    const std::vector<CNumberPanel*>& GetOpenPanels() const { return panels_; }

private:
    friend class CNumberPanel;

    CTextLabel labels_[kButtonCount];
    std::vector<CNumberPanel*> panels_;
};

class CNumberPanel : public CWidget {
public:
    // 240 by 32 at (20n, 20n), registered on top of the menu. Made with new by the menu; it
    // deletes itself when closed.
    CNumberPanel(CNumberMenu* menu, int32_t number);
    ~CNumberPanel() override;

    // Both close the panel: it deletes itself, and the widget below gets the focus back.
    void OnCancel() override;
    void OnDecide() override;
    void OnDraw() override;

    const CTextLabel& GetLabel() const { return label_; }

private:
    CNumberMenu* menu_;
    CTextLabel label_;
};
