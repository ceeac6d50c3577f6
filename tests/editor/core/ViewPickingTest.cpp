// Where a click lands in the framebuffer (panels shown and hidden, device
// pixel ratios), the narrowed projection of the picking passes, and the
// colours that name objects.

#include "core/ViewPicking.h"

#include <gtest/gtest.h>

namespace ra7::editor {
namespace {

// The main window's client area of 1000 × 700 framebuffer pixels.
constexpr std::int32_t kWidth = 1000;
constexpr std::int32_t kHeight = 700;

TEST(PickPixel, WithoutPanelsTheTopLeftPixelIsTheFramebuffersTopRow)
{
    const Viewport whole = ViewportFor(kWidth, kHeight, false, true);
    EXPECT_EQ(PickPixel(0, 0, 1, kHeight, whole), (FramebufferPixel{0, kHeight - 1}));
    EXPECT_EQ(PickPixel(999.9, 699.9, 1, kHeight, whole), (FramebufferPixel{999, 0}));
    EXPECT_EQ(PickPixel(1000, 10, 1, kHeight, whole), std::nullopt);
    EXPECT_EQ(PickPixel(-0.5, 10, 1, kHeight, whole), std::nullopt);
}

TEST(PickPixel, WithPanelsTheRowCountsFromTheFramebufferNotTheViewport)
{
    // The view starts 100 pixels up (the animation panel) and right of the
    // tree; the row must not be taken as "viewport height − y".
    const Viewport between = ViewportFor(kWidth, kHeight, true, true);
    ASSERT_EQ(between.y, 100);
    const auto pixel = PickPixel(400, 250, 1, kHeight, between);
    ASSERT_TRUE(pixel);
    EXPECT_EQ(pixel->x, 400);
    EXPECT_EQ(pixel->y, kHeight - 1 - 250);
    EXPECT_NE(pixel->y, between.height - 250);
}

TEST(PickPixel, PointsOverThePanelsPickNothing)
{
    const Viewport between = ViewportFor(kWidth, kHeight, true, true);
    EXPECT_EQ(PickPixel(100, 300, 1, kHeight, between), std::nullopt);          // the tree
    EXPECT_EQ(PickPixel(kWidth - 50, 300, 1, kHeight, between), std::nullopt);  // the pages
    EXPECT_EQ(PickPixel(400, kHeight - 50, 1, kHeight, between), std::nullopt); // the scripts
    // The first pixel inside on each side.
    EXPECT_TRUE(PickPixel(between.x, 300, 1, kHeight, between));
    EXPECT_TRUE(PickPixel(400, kHeight - 1 - between.y, 1, kHeight, between));
    EXPECT_FALSE(PickPixel(400, kHeight - between.y, 1, kHeight, between));
}

TEST(PickPixel, TheDevicePixelRatioScalesTheWidgetsLogicalPixels)
{
    // A 500 × 350 widget on a screen of ratio 2 has a 1000 × 700 framebuffer.
    const Viewport whole = ViewportFor(kWidth, kHeight, false, true);
    EXPECT_EQ(PickPixel(250.25, 100.75, 2, kHeight, whole), (FramebufferPixel{500, kHeight - 1 - 201}));
    EXPECT_EQ(PickPixel(499.9, 349.9, 2, kHeight, whole), (FramebufferPixel{999, 0}));
    EXPECT_EQ(PickPixel(10, 10, 0, kHeight, whole), std::nullopt);
}

// Where a point of clip space lands in the pick buffer's pixels.
std::pair<float, float> pickBufferPixel(const Matrix4& m, float x, float y)
{
    // m applied to (x, y, 0, 1) of the unnarrowed clip space (projection identity).
    const float cx = m[0] * x + m[4] * y + m[12];
    const float cy = m[1] * x + m[5] * y + m[13];
    const float w = m[3] * x + m[7] * y + m[15];
    return {(cx / w + 1) / 2 * kPickRegion, (cy / w + 1) / 2 * kPickRegion};
}

// The normalised coordinate of a pixel's centre in the view.
float ndc(std::int32_t pixel, std::int32_t start, std::int32_t size)
{
    return 2 * (static_cast<float>(pixel - start) + 0.5f) / static_cast<float>(size) - 1;
}

TEST(PickProjection, TheChosenPixelIsTheCentreOfThePickBuffer)
{
    constexpr Matrix4 identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const Viewport view{181, 100, 619, 600};
    const FramebufferPixel pixel{420, 333};
    const Matrix4 m = PickProjection(view, pixel, kPickRegion, identity);
    const auto [x, y] =
        pickBufferPixel(m, ndc(pixel.x, view.x, view.width), ndc(pixel.y, view.y, view.height));
    EXPECT_NEAR(x, (kPickRegion - 1) / 2 + 0.5f, 1e-3f);
    EXPECT_NEAR(y, (kPickRegion - 1) / 2 + 0.5f, 1e-3f);
    // The pixel to the right of it is one pixel to the right: the scale is kept.
    const auto [x1, y1] =
        pickBufferPixel(m, ndc(pixel.x + 1, view.x, view.width), ndc(pixel.y - 1, view.y, view.height));
    EXPECT_NEAR(x1 - x, 1, 1e-3f);
    EXPECT_NEAR(y1 - y, -1, 1e-3f);
}

TEST(PickProjection, NarrowsTheProjectionItIsGiven)
{
    const Matrix4 perspective = PerspectiveMatrix(45, 1, 0.1f, 1000);
    const Viewport view{0, 0, 100, 100};
    const Matrix4 m = PickProjection(view, {49, 49}, kPickRegion, perspective);
    // The centre of the view stays the centre; the field narrows by 100 / 15.
    EXPECT_FLOAT_EQ(m[0], perspective[0] * 100 / kPickRegion);
    EXPECT_FLOAT_EQ(m[5], perspective[5] * 100 / kPickRegion);
    EXPECT_FLOAT_EQ(m[11], -1);
}

TEST(PickColours, EverySlotComesBackFromItsColourAndBlackIsNothing)
{
    for (const std::int32_t slot : {0, 1, 254, 255, 256, 65534, 65535, 70000, 16777214}) {
        const auto colour = PickColourOf(slot);
        EXPECT_EQ(SlotOfPickColour(colour), slot);
    }
    EXPECT_EQ(PickColourOf(0), (std::array<std::uint8_t, 3>{1, 0, 0}));
    EXPECT_EQ(PickColourOf(255), (std::array<std::uint8_t, 3>{0, 1, 0}));
    EXPECT_EQ(SlotOfPickColour({0, 0, 0}), std::nullopt);
}

} // namespace
} // namespace ra7::editor
