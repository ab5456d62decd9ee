// The number menu and its panels: the grid's extent, opening a panel for the selected button,
// closing it, cancelling the menu, drawing in the focused and unfocused greys, releasing panels
// that are still open when the menu goes, and the scene's key bindings.
#include "game/NumberMenu.h"

#include <pyro/input/KeyMapper.h>
#include "GameTestSupport.h"
#include "game/MainMenu.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstring>

namespace {

Rect RectOf(const CWidget& widget)
{
    Rect r;
    widget.GetRect(&r);
    return r;
}

bool Equal(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_CASE("a decision opens the selected number's panel on top; a decision or cancel closes it")
{
    WithView([](TestApp&, CScreenView&) {
        CNumberMenu menu;
        menu.AddNumberButtons();
        CHECK(Equal(RectOf(menu), {0, 0, 96, 64}));
        menu.SetPos(79, 55);
        CHECK(Equal(RectOf(menu), {79, 55, 175, 119}));
        CHECK(menu.GetLabel(3).text.GetText() == "[3]");
        CHECK(menu.GetLabel(3).GetFontSize() == 32);

        // The digit 2 is the hot key of button 102.
        CWidget::UpdateAll(FakeInput::Keys({102}));
        REQUIRE(menu.GetOpenPanels().size() == 1);
        CNumberPanel* panel = menu.GetOpenPanels()[0];
        CHECK(Equal(RectOf(*panel), {40, 40, 280, 72}));
        CHECK(panel->GetLabel().text.GetText() == "ナンバー2！！");
        CHECK(panel->HasFocus());
        CHECK_FALSE(menu.HasFocus());

        // While the panel is open the menu takes no input.
        CWidget::UpdateAll(FakeInput::Keys({103}));
        CHECK(menu.GetSelectedId() == 102);
        CHECK(menu.GetOpenPanels().size() == 1);
        CWidget::UpdateAll(FakeInput::Keys({kLogicalCancel}));
        CHECK(menu.GetOpenPanels().empty());
        CHECK(menu.HasFocus());
        CHECK(CWidget::GetList() == std::vector<CWidget*>{&menu});

        // Panels for "[0]" and "[3]" open at (0, 0) and (60, 60); a decision closes them too.
        CWidget::UpdateAll(FakeInput::Keys({100}));
        CHECK(Equal(RectOf(*menu.GetOpenPanels()[0]), {0, 0, 240, 32}));
        CWidget::UpdateAll(FakeInput::Keys({kLogicalDecide}));
        CHECK(menu.GetOpenPanels().empty());
        CWidget::UpdateAll(FakeInput::Keys({103}));
        CHECK(Equal(RectOf(*menu.GetOpenPanels()[0]), {60, 60, 300, 92}));
        CWidget::UpdateAll(FakeInput::Keys({kLogicalDecide}));

        // Cancel on the menu takes it off the list.
        CWidget::UpdateAll(FakeInput::Keys({kLogicalCancel}));
        CHECK_FALSE(menu.IsRegistered());
        CHECK(CWidget::GetList().empty());
    });
}

TEST_CASE("panels still open when the menu goes are released with it")
{
    WithView([](TestApp&, CScreenView&) {
        {
            CNumberMenu menu;
            menu.AddNumberButtons();
            CWidget::UpdateAll(FakeInput::Keys({101}));
            // A second panel, as the program itself might open one.
            menu.Select(103);
            menu.OnDecide();
            CHECK(menu.GetOpenPanels().size() == 2);
            CHECK(CWidget::GetList().size() == 3);
        }
        CHECK(CWidget::GetList().empty());
    });
}

TEST_CASE("the menu and a panel draw in dark grey with the focus and light grey without")
{
    WithView([](TestApp&, CScreenView& view) {
        CNumberMenu menu;
        menu.AddNumberButtons();
        menu.SetPos(79, 55);
        CWidget::UpdateAll(FakeInput());
        auto frame = [&] {
            view.FillRect(0x0000FF, nullptr);
            CWidget::DrawAll();
        };
        frame();
        CHECK(BackPixel(view, 79, 118) == 0x404040);
        CHECK(BackPixel(view, 78, 55) == 0x0000FF);
        CHECK(menu.GetLabel(0).text.GetTextColor() == 0x0000FF);  // GDI red
        CHECK(menu.GetLabel(1).text.GetTextColor() == 0xFFFFFF);

        CWidget::UpdateAll(FakeInput::Keys({kLogicalDecide}));
        frame();
        CHECK(BackPixel(view, 79, 118) == 0x808080);
        CHECK(BackPixel(view, 0, 31) == 0x404040);    // the panel of "[0]"
        CHECK(BackPixel(view, 239, 0) == 0x404040);
        CHECK(BackPixel(view, 240, 0) == 0x0000FF);

        // The label's glyphs sit 24 pixels into the panel, in white.
        int white = 0;
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 240; ++x) white += BackPixel(view, x, y) == 0xFFFFFF;
        CHECK(white > 100);
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 24; ++x) CHECK(BackPixel(view, x, y) == 0x404040);
    });
}

TEST_CASE("the scene binds S, F and the digits 0 to 3 on top of the defaults")
{
    CKeyMapper& keys = CKeyMapper::GetInstance();
    int32_t saved[256];
    std::copy(std::begin(keys.keyTable), std::end(keys.keyTable), saved);
    CMainMenu::BindKeys();
    CHECK(keys.keyTable[0x1F] == kLogicalScreenshot);
    CHECK(keys.keyTable[0x21] == kLogicalReadOut);
    CHECK(keys.keyTable[0x0B] == 100);
    CHECK(keys.keyTable[0x02] == 101);
    CHECK(keys.keyTable[0x03] == 102);
    CHECK(keys.keyTable[0x04] == 103);
    CHECK(keys.keyTable[0x01] == kLogicalEscape);
    CHECK(keys.keyTable[0x2C] == kLogicalDecide);
    std::copy(std::begin(saved), std::end(saved), keys.keyTable);
}
