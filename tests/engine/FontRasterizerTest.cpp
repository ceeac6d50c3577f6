#include "resources/FontRasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ra7 {
namespace {

int inkOf(const GlyphBitmap& glyph)
{
    int bits = 0;
    for (std::uint8_t byte : glyph.bits)
        bits += __builtin_popcount(byte);
    return bits;
}

class CourierGlyphs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { glyphs = new CodePageGlyphs(RasterizeCodePageGlyphs("Courier New", 15)); }
    static void TearDownTestSuite() { delete glyphs; }
    static CodePageGlyphs* glyphs;
};
CodePageGlyphs* CourierGlyphs::glyphs = nullptr;

TEST_F(CourierGlyphs, TheFaceIsMonospacedAtTheRequestedCellHeight)
{
    const GlyphBitmap& w = (*glyphs)['W'];
    const GlyphBitmap& dot = (*glyphs)['.'];
    EXPECT_GT(w.advance, 5.0f);
    EXPECT_LT(w.advance, 12.0f);
    EXPECT_EQ(w.advance, dot.advance);
    EXPECT_LE(w.height, 15);
    EXPECT_GE(w.height, 7);
}

TEST_F(CourierGlyphs, CyrillicBytesHaveTheirOwnGlyphs)
{
    // 0xC6 is Ж, 0xE6 is ж, 0xA8 is Ё: real glyphs, each different.
    EXPECT_GT(inkOf((*glyphs)[0xC6]), 10);
    EXPECT_GT(inkOf((*glyphs)[0xE6]), 5);
    EXPECT_GT(inkOf((*glyphs)[0xA8]), 10);
    EXPECT_NE((*glyphs)[0xC6].bits, (*glyphs)[0xE6].bits);
    EXPECT_NE((*glyphs)[0xC6].bits, (*glyphs)['X'].bits);
}

TEST_F(CourierGlyphs, BlanksAndControlCodesDrawNothingButAdvance)
{
    EXPECT_EQ(inkOf((*glyphs)[' ']), 0);
    EXPECT_EQ(inkOf((*glyphs)[0x01]), 0);
    EXPECT_EQ(inkOf((*glyphs)[0x98]), 0);
    EXPECT_EQ((*glyphs)[0x01].advance, (*glyphs)[' '].advance);
}

TEST_F(CourierGlyphs, RowsRunBottomUpWithTheBaselineAtTheOrigin)
{
    // "g" descends below the baseline, "^" stands high above it.
    EXPECT_GT((*glyphs)['g'].yOrigin, 0.0f);
    EXPECT_LT((*glyphs)['^'].yOrigin, 0.0f);
    // The underscore's ink lies on its bottom rows.
    const GlyphBitmap& underscore = (*glyphs)['_'];
    const std::size_t rowBytes = static_cast<std::size_t>((underscore.width + 7) / 8);
    ASSERT_GE(underscore.bits.size(), rowBytes);
    EXPECT_TRUE(std::any_of(underscore.bits.begin(),
                            underscore.bits.begin() + static_cast<std::ptrdiff_t>(rowBytes),
                            [](std::uint8_t b) { return b != 0; }));
}

} // namespace
} // namespace ra7
