#pragma once
// Turns a system font into the 256 one-bit glyph bitmaps of code page 1251,
// laid out as glBitmap takes them, so overlay text keeps one display list
// per byte of text. The face is found through fontconfig ("Courier New"
// resolves to a metric-compatible face such as Liberation Mono).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ra7 {

struct GlyphBitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    float xOrigin = 0; // glBitmap's xorig: from the bitmap's left edge to the pen
    float yOrigin = 0; // glBitmap's yorig: from the bitmap's bottom row to the baseline
    float advance = 0; // how far the raster position moves
    // Rows from the bottom up, each (width + 7) / 8 bytes, most significant bit leftmost.
    std::vector<std::uint8_t> bits;
};

using CodePageGlyphs = std::array<GlyphBitmap, 256>;

// The file of the installed face that best matches `family`; throws Error
// when the system has no font at all.
std::string FindFontFile(const std::string& family);

// Renders every code-page byte 0..255 at a cell height of `cellHeight`
// pixels. Bytes without a character (control codes, 0x98) get an empty
// glyph that still advances like a blank.
CodePageGlyphs RasterizeCodePageGlyphs(const std::string& family, std::int32_t cellHeight);

} // namespace ra7
