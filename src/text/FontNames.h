// The face names a TrueType, OpenType or TrueType-collection file holds, read from its "name"
// tables: the family names (name 1) of the Windows platform, as GDI matches them. A font file is
// hostile input: every offset and length is checked against the data before it is read.
// Portable, so the parser runs under the sanitizers and a fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Results of ReadFontFaceNames.
enum FontNamesResult : int32_t {
    kFontNamesOk = 0,
    kFontNamesNotFont = 1,   // no TrueType, OpenType or collection signature
    kFontNamesDamaged = 2,   // a table directory, name table or string lies outside the data
    kFontNamesNoFace = 3,    // well formed, but no Windows family name
};

// Fonts in one collection the parser reads at most; a file claiming more is damaged.
constexpr uint32_t kMaxFontsInCollection = 64;

// The longest family name kept: GDI selects a face by at most 31 units (LF_FACESIZE - 1), so a
// longer one names nothing usable and is passed over.
constexpr size_t kMaxFaceNameLength = 31;
// Distinct family names kept per file; a name table of overlapping strings could otherwise give
// millions.
constexpr size_t kMaxFaceNames = 64;

// Fills faces with the distinct family names (UTF-16 units), those of US English first, in
// the order of the fonts of a collection, at most kMaxFaceNames of them. faces is empty unless
// the result is kFontNamesOk.
int32_t ReadFontFaceNames(const uint8_t* data, size_t size, std::vector<std::wstring>& faces);
