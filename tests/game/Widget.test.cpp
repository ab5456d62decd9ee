// Widgets without a screen: the process-wide list and its focus, buttons and the widget's extent,
// and the input rules driven by made-up frames of input (keys, mouse edges, Shift).
#include <pyro/game/Widget.h>

#include "GameTestSupport.h"

#include <doctest/doctest.h>

namespace {

// A two-by-two grid with ids 100 to 103, 48 by 32 each, like the game's menu.
void AddGrid(CWidget& widget)
{
    widget.AddButton(100, 0, 0, 48, 32, 0, 0, 101, 102);
    widget.AddButton(101, 48, 0, 48, 32, 0, 100, 0, 103);
    widget.AddButton(102, 0, 32, 48, 32, 100, 0, 103, 0);
    widget.AddButton(103, 48, 32, 48, 32, 101, 102, 0, 0);
}

void Frame(const CWidgetInput& input) { CWidget::UpdateAll(input); }
void Frame() { CWidget::UpdateAll(FakeInput()); }

}  // namespace

TEST_CASE("widgets form one list in which the last registered has the focus")
{
    REQUIRE(CWidget::GetList().empty());
    {
        CountingWidget a;
        CHECK(a.IsRegistered());
        CHECK(a.HasFocus());
        {
            CountingWidget b;
            CHECK(b.HasFocus());
            CHECK_FALSE(a.HasFocus());
            CHECK(CWidget::GetList() == std::vector<CWidget*>{&a, &b});

            // Registering again changes nothing; unregistering passes the focus down.
            b.Register();
            CHECK(CWidget::GetList().size() == 2);
            b.Unregister();
            CHECK_FALSE(b.IsRegistered());
            CHECK_FALSE(b.HasFocus());
            CHECK(a.HasFocus());
            b.Unregister();
            CHECK(CWidget::GetList().size() == 1);

            // Back on top; only the top widget takes input, every widget is updated and drawn.
            b.Register();
            CHECK(b.HasFocus());
            CHECK_FALSE(a.HasFocus());
            Frame(FakeInput::Keys({kLogicalCancel}));
            CHECK(b.cancels == 1);
            CHECK(a.cancels == 0);
            CHECK(a.updates == 1);
            CHECK(b.updates == 1);
            CWidget::DrawAll();
            CHECK(a.draws == 1);
            CHECK(b.draws == 1);
        }
        // Destruction unregisters.
        CHECK(CWidget::GetList() == std::vector<CWidget*>{&a});
        CHECK(a.HasFocus());
    }
    CHECK(CWidget::GetList().empty());
    Frame();  // an empty list is left alone
}

TEST_CASE("with three widgets stacked, the focus follows the top one as they come and go")
{
    REQUIRE(CWidget::GetList().empty());
    CountingWidget bottom;
    CountingWidget middle;
    CountingWidget top;
    const auto focused = [&] {
        return std::vector<bool>{bottom.HasFocus(), middle.HasFocus(), top.HasFocus()};
    };
    CHECK(focused() == std::vector<bool>{false, false, true});

    // Taking the top away gives the focus to the one just below it, and input goes there.
    top.Unregister();
    CHECK(CWidget::GetList() == std::vector<CWidget*>{&bottom, &middle});
    CHECK(focused() == std::vector<bool>{false, true, false});
    Frame(FakeInput::Keys({kLogicalCancel}));
    CHECK(middle.cancels == 1);
    CHECK(bottom.cancels == 0);
    CHECK(top.updates == 0);

    // Taking away one below the top leaves the focus where it is.
    top.Register();
    CHECK(focused() == std::vector<bool>{false, false, true});
    middle.Unregister();
    CHECK(CWidget::GetList() == std::vector<CWidget*>{&bottom, &top});
    CHECK(focused() == std::vector<bool>{false, false, true});
    Frame(FakeInput::Keys({kLogicalCancel}));
    CHECK(top.cancels == 1);
    CHECK(bottom.cancels == 0);

    // A panel on top that destroys itself hands the focus back the same way.
    middle.Register();  // the list is now bottom, top, middle
    auto* panel = new CountingWidget;
    CHECK(panel->HasFocus());
    CHECK(focused() == std::vector<bool>{false, false, false});
    panel->onDecide = [panel] { delete panel; };
    Frame(FakeInput::Keys({kLogicalDecide}));
    CHECK(CWidget::GetList() == std::vector<CWidget*>{&bottom, &top, &middle});
    CHECK(focused() == std::vector<bool>{false, true, false});
}

TEST_CASE("buttons: a second record under one id replaces the first; the widget only grows")
{
    CountingWidget w;
    Rect r;
    CHECK(w.GetRect(&r) == 0);
    CHECK((r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0));

    w.AddButton(1, 0, 0, 50, 40, 0, 0, 2, 0);
    w.AddButton(1, 10, 5, 20, 10, 0, 0, 0, 0);
    REQUIRE(w.GetButtons().size() == 1);
    const CWidget::Button& b = w.GetButtons().at(1);
    CHECK((b.rect.left == 10 && b.rect.top == 5 && b.rect.right == 30 && b.rect.bottom == 15));
    CHECK(b.neighbours[CWidget::kRight] == 0);
    w.GetRect(&r);
    CHECK((r.right == 50 && r.bottom == 40));

    // Growing is relative to the widget's position.
    w.SetPos(100, 200);
    w.AddButton(2, 60, 0, 10, 10, 0, 0, 0, 0);
    w.GetRect(&r);
    CHECK((r.left == 100 && r.top == 200 && r.right == 170 && r.bottom == 240));
    int32_t width, height;
    w.GetSize(&width, &height);
    CHECK((width == 70 && height == 40));

    // A rectangle is taken relative to the widget and cut to it.
    const Rect inner = {-5, 30, 10, 60};
    CHECK(w.GetRect(&r, &inner) == 0);
    CHECK((r.left == 100 && r.top == 230 && r.right == 110 && r.bottom == 240));
    const Rect beyond = {70, 0, 80, 10};
    CHECK(w.GetRect(&r, &beyond) == 1);

    // A widget has no pixels of its own.
    CHECK(w.Load("x.bmp") == -1);
    CHECK(w.Release() == -1);
    CHECK(w.SetColorKey(1, 2, 3) == -1);
    CHECK_FALSE(w.IsLoaded());
    CHECK(w.GetType() == 0);
}

TEST_CASE("keys move the selection through the grid without wrapping; Tab cycles")
{
    CountingWidget w;
    AddGrid(w);
    CHECK_FALSE(w.HasSelection());

    // The first frame selects the lowest id, without a selection event.
    Frame();
    CHECK(w.GetSelectedId() == 100);
    CHECK(w.selects == 0);

    Frame(FakeInput::Keys({kLogicalRight}));
    CHECK(w.GetSelectedId() == 101);
    CHECK(w.selects == 1);
    Frame(FakeInput::Keys({kLogicalRight}));
    CHECK(w.GetSelectedId() == 101);
    CHECK(w.selects == 1);
    Frame(FakeInput::Keys({kLogicalDown}));
    CHECK(w.GetSelectedId() == 103);
    Frame(FakeInput::Keys({kLogicalUp}));
    Frame(FakeInput::Keys({kLogicalLeft}));
    CHECK(w.GetSelectedId() == 100);
    Frame(FakeInput::Keys({kLogicalUp}));
    CHECK(w.GetSelectedId() == 100);

    // Tab: next in id order, wrapping; with Shift the previous, from the lowest to the highest.
    Frame(FakeInput::Keys({kLogicalTab}, true));
    CHECK(w.GetSelectedId() == 103);
    Frame(FakeInput::Keys({kLogicalTab}));
    CHECK(w.GetSelectedId() == 100);
    Frame(FakeInput::Keys({kLogicalTab}));
    CHECK(w.GetSelectedId() == 101);
    CHECK(w.decides == 0);
    CHECK(w.cancels == 0);

    // A button's id is its hot key: it is selected and decided at once.
    Frame(FakeInput::Keys({102}));
    CHECK(w.GetSelectedId() == 102);
    CHECK(w.decides == 1);
}

TEST_CASE("a neighbour id that names no button clears the selection until the next frame")
{
    CountingWidget w;
    w.AddButton(1, 0, 0, 10, 10, 0, 0, 7, 0);
    w.AddButton(2, 10, 0, 10, 10, 0, 1, 0, 0);
    Frame();
    REQUIRE(w.GetSelectedId() == 1);
    Frame(FakeInput::Keys({kLogicalRight}));
    CHECK_FALSE(w.HasSelection());
    CHECK(w.selects == 1);
    Frame();
    CHECK(w.GetSelectedId() == 1);
}

TEST_CASE("decide and cancel keys, swapped by Shift")
{
    CountingWidget w;
    AddGrid(w);
    Frame(FakeInput::Keys({kLogicalDecide}));
    CHECK(w.decides == 1);
    Frame(FakeInput::Keys({kLogicalCancel}));
    CHECK(w.cancels == 1);
    Frame(FakeInput::Keys({kLogicalCancel}, true));
    CHECK(w.decides == 2);
    Frame(FakeInput::Keys({kLogicalDecide}, true));
    CHECK(w.cancels == 2);
    // A cancel ends the frame's step: nothing else is looked at.
    Frame(FakeInput::Keys({kLogicalCancel, kLogicalDecide, kLogicalRight}));
    CHECK(w.cancels == 3);
    CHECK(w.decides == 2);
}

TEST_CASE("the mouse selects with a press and decides with a release over the selection")
{
    CountingWidget w;
    AddGrid(w);
    w.SetPos(79, 55);
    Frame();
    REQUIRE(w.GetSelectedId() == 100);

    FakeInput press = FakeInput::Mouse(79 + 48 + 47, 55 + 32);  // the last column of [3]
    press.leftPress = true;
    Frame(press);
    CHECK(w.GetSelectedId() == 103);
    CHECK(w.selects == 1);

    FakeInput release = press;
    release.leftPress = false;
    release.leftRelease = true;
    Frame(release);
    CHECK(w.decides == 1);

    // Released over another button than the selection: nothing.
    release.mouseX = 79;
    Frame(release);
    CHECK(w.decides == 1);
    CHECK(w.GetSelectedId() == 103);
    // A press just outside the buttons selects nothing.
    press.mouseX = 79 + 96;
    Frame(press);
    CHECK(w.GetSelectedId() == 103);
    CHECK(w.cancels == 0);
    CHECK(w.selects == 1);
}

TEST_CASE("a right click cancels outside the widget and does nothing inside it")
{
    CountingWidget w;
    w.SetPos(10, 10);
    w.SetSize(20, 20);

    FakeInput right = FakeInput::Mouse(15, 15);
    right.rightPress = true;
    Frame(right);
    CHECK(w.cancels == 0);
    CHECK(w.decides == 0);
    right.mouseX = 30;  // right and bottom are outside
    Frame(right);
    CHECK(w.cancels == 1);

    // A left press with Shift counts as the right button.
    FakeInput left = FakeInput::Mouse(5, 5);
    left.leftPress = true;
    left.shift = true;
    Frame(left);
    CHECK(w.cancels == 2);
    left.shift = false;
    Frame(left);
    CHECK(w.cancels == 2);

    // Without buttons, a release inside decides: left, or right with Shift.
    FakeInput release = FakeInput::Mouse(29, 29);
    release.leftRelease = true;
    Frame(release);
    CHECK(w.decides == 1);
    release.leftRelease = false;
    release.rightRelease = true;
    Frame(release);
    CHECK(w.decides == 1);
    release.shift = true;
    Frame(release);
    CHECK(w.decides == 2);
    release.mouseY = 30;
    Frame(release);
    CHECK(w.decides == 2);
}

TEST_CASE("a widget may delete itself from its hook while the frame runs")
{
    CountingWidget below;
    CountingWidget* top = new CountingWidget;
    top->onDecide = [top] { delete top; };
    Frame(FakeInput::Keys({kLogicalDecide}));
    CHECK(CWidget::GetList() == std::vector<CWidget*>{&below});
    CHECK(below.HasFocus());
    CHECK(below.updates == 1);
}
