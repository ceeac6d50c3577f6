#pragma once
// Text over the 3-D view: system fonts turned into 256 bitmap display lists
// each (one per code-page byte), and the pixel-aligned 2-D mode they draw in.

#include "resources/DArrays.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

// The overlay font of the engine.
inline constexpr const char* DefaultFont = "Courier New";
inline constexpr std::int32_t kDefaultFontHeight = 15;

struct Ka2DFont {
    std::uint32_t ListBase = 0; // first of the font's 256 display lists
    std::string Name;
};

// Fonts in order of addition. Each raw element holds the list base and the
// index of the font's name in a table the array owns, since a string cannot
// live in the raw bytes.
class KaFontArray : public TDArray {
public:
    KaFontArray() : TDArray(8) {}
    ~KaFontArray() override;
    KaFontArray(const KaFontArray&) = delete;
    KaFontArray& operator=(const KaFontArray&) = delete;

    // Builds the 256 lists of a face at a cell height of `height` pixels,
    // unless a font of that name is already there.
    void AddFont(std::string_view name, std::int32_t height);
    // The list base of the first font named exactly `name`, or 0.
    std::uint32_t FindFont(std::string_view name) const;
    // The record of element `index` ("Array index out of bounds." outside).
    Ka2DFont ItemPtr(std::int32_t index) const;
    // Deletes every font's lists.
    void Clear();

private:
    struct RawFont {
        std::uint32_t ListBase;
        std::uint32_t NameIndex;
    };
    static_assert(sizeof(RawFont) == 8);

    RawFont raw(std::int32_t index) const;

    std::vector<std::string> names_;
};

class KaEngine2D {
public:
    // Adds DefaultFont at height 15; needs a current GL context.
    KaEngine2D();

    // Orthographic projection of the viewport, one unit a pixel, origin at
    // the lower left; depth test always passes, lighting off.
    void Begin2D() const;
    // Draws UTF-8 text with the default font at (x, y), the baseline's left end.
    void DrawText(const std::array<float, 4>& colour, std::string_view text, float x, float y) const;
    // Undoes Begin2D: lighting on, matrices popped, depth function GL_LESS.
    void End2D() const;

    KaFontArray Fonts;
};

} // namespace ra7
