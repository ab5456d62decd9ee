// Private fonts from files and archives. The font is DejaVu Sans from Debian's package with its
// family renamed in place (names of the same length keep every offset), so that no installed
// face can answer for it.
#include <pyro/text/TextDraw.h>

#include <doctest/doctest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "file/Scratch.h"

namespace {

std::string HostBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every spelling of from in the file, ASCII and UTF-16BE, replaced by to (of the same length).
void Rename(std::string& font, const std::string& from, const std::string& to)
{
    const auto replaceAll = [&](const std::string& a, const std::string& b) {
        for (size_t at = font.find(a); at != std::string::npos; at = font.find(a, at + b.size())) font.replace(at, a.size(), b);
    };
    const auto wide = [](const std::string& text) {
        std::string units;
        for (char c : text) units += std::string(1, '\0') + c;
        return units;
    };
    replaceAll(from, to);
    replaceAll(wide(from), wide(to));
}

// The face GDI actually chose for a request by name.
std::wstring ChosenFace(const wchar_t* face, int height = 16)
{
    HFONT font = CreateFontW(height, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    wchar_t chosen[64] = {};
    GetTextFaceW(dc, 64, chosen);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return chosen;
}

}  // namespace

TEST_CASE("a font from an archive becomes a face of its own name; what is no font gets its code")
{
    std::string font = HostBytes("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    REQUIRE(font.size() > 100000);
    Rename(font, "DejaVu Sans", "PyroFontTst");
    // (Another height: GDI keeps what it chose for a request and would answer the later one alike.)
    CHECK(ChosenFace(L"PyroFontTst", 13) != L"PyroFontTst");

    CScratch scratch;
    scratch.PutArchive("fonts.dat", {{"Pyro.ttf", Bytes(font)}, {"note.txt", Bytes("not a font")}}, PackOptions());
    std::vector<std::string> faces = {"old"};
    REQUIRE(CTextDraw::AddFontFile("fonts\\Pyro.ttf", &faces) == CTextDraw::kFontFileOk);
    CHECK(faces == std::vector<std::string>{"PyroFontTst"});
    CHECK(ChosenFace(L"PyroFontTst") == L"PyroFontTst");

    // Drawn by name like an installed face: the text needs the same room as the original font's.
    CTextDraw renamed, original;
    renamed.SetFaceName("PyroFontTst").SetText("Pyro Plaza");
    original.SetFaceName("DejaVu Sans").SetText("Pyro Plaza");
    int32_t w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    REQUIRE(renamed.GetTextSize(&w1, &h1) == 0);
    REQUIRE(original.GetTextSize(&w2, &h2) == 0);
    CHECK(w1 == w2);
    CHECK(h1 == h2);

    faces = {"old"};
    CHECK(CTextDraw::AddFontFile("fonts\\note.txt", &faces) == CTextDraw::kFontFileNotFont);
    CHECK(faces.empty());
    CHECK(CTextDraw::AddFontFile("fonts\\missing.ttf", &faces) == CTextDraw::kFontFileNotRead);
    CHECK(CTextDraw::AddFontFile(nullptr) == CTextDraw::kFontFileNotRead);
}

TEST_CASE("a loose collection file gives the names of its fonts")
{
    // The IPA fonts come as single TrueType files; a collection of them is made here.
    const std::string first = HostBytes("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
    REQUIRE_FALSE(first.empty());
    CScratch scratch;
    std::string ttc = std::string("ttcf") + std::string("\0\1\0\0\0\0\0\1\0\0\0\x10", 12);
    // The font's table offsets count from the file's start: shift them by the 16-byte header.
    std::string shifted = first;
    const auto u16 = [&](size_t at) { return size_t(uint8_t(shifted[at])) << 8 | uint8_t(shifted[at + 1]); };
    for (size_t i = 0; i < u16(4); ++i) {
        const size_t at = 12 + i * 16 + 8;
        uint32_t offset = uint32_t(u16(at)) << 16 | uint32_t(u16(at + 2));
        offset += 16;
        for (int k = 0; k < 4; ++k) shifted[at + k] = char(offset >> (24 - 8 * k));
    }
    scratch.Put("ipa.ttc", ttc + shifted);
    std::vector<std::string> faces;
    REQUIRE(CTextDraw::AddFontFile("ipa.ttc", &faces) == CTextDraw::kFontFileOk);
    CHECK(faces == std::vector<std::string>{"IPAGothic", "IPAゴシック"});
}
