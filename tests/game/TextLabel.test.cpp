// Text labels: rendering only after a change, and at font size × magnification when the view's
// magnification changes.
#include <pyro/game/TextLabel.h>

#include "GameTestSupport.h"

#include <doctest/doctest.h>

TEST_CASE("a label renders again only after a change, at its font size times the magnification")
{
    WithView([](TestApp&, CScreenView& view) {
        CTextLabel label;
        CHECK(label.IsDirty());
        CHECK(label.GetFontSize() == 16);
        label.SetFontSize(32);
        label.SetText("[%d]", 0);
        CHECK(label.text.GetText() == "[0]");
        CHECK(label.Update() == 0);
        CHECK_FALSE(label.IsDirty());
        CHECK(label.text.GetHeight() == 32);
        int32_t w1, h1;
        label.GetSize(&w1, &h1);
        CHECK(h1 >= 32);

        // The same values again change nothing.
        label.SetFontSize(32);
        label.SetText("[0]");
        label.SetColor(label.text.GetTextColor());
        CHECK_FALSE(label.IsDirty());
        label.SetColor(0x0000FF);
        CHECK(label.IsDirty());
        CHECK(label.text.GetTextColor() == 0x0000FF);
        label.Update();

        // Magnification 2: the next Update renders at twice the font size, with no other call.
        SetImageSize(view, 640, 480);
        CHECK_FALSE(label.IsDirty());
        CHECK(label.Update() == 0);
        CHECK(label.text.GetHeight() == 64);
        CHECK(label.GetFontSize() == 32);
        int32_t w2, h2;
        label.GetSize(&w2, &h2);
        CHECK(h2 >= 2 * h1 - 4);
        CHECK(w2 >= 2 * w1 - 4);
        CHECK(label.Update() == 0);
        CHECK_FALSE(label.IsDirty());

        // Texts are cut at 511 bytes, never inside a double-byte character.
        std::string longText(506, 'a');
        label.SetText("%s%s", longText.c_str(), "ナンバー");
        CHECK(label.text.GetText().size() == 510);
    });
}

TEST_CASE("a label's plain text is never a format; its printf text is the C library's")
{
    WithView([](TestApp&, CScreenView&) {
        CTextLabel label;
        label.SetPlainText("100%s%n");
        CHECK(label.text.GetText() == "100%s%n");
        label.Update();
        label.SetPlainText("100%s%n");
        CHECK_FALSE(label.IsDirty());
        label.SetTextPrintf("%.2f %lld", 0.5, -(1LL << 33));
        CHECK(label.text.GetText() == "0.50 -8589934592");
        CHECK(label.IsDirty());
        label.SetPlainText(nullptr);
        CHECK(label.text.GetText().empty());
    });
}
