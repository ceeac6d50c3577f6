#include "engine/GLTestSupport.h"

#include "resources/Ra7Davevi2D.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <epoxy/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace ra7 {
namespace {

using test::kViewSize;
using ::testing::ElementsAre;

constexpr std::array<float, 4> kWhite = {1, 1, 1, 1};

struct InkBox {
    int count = 0;
    int x0 = kViewSize, y0 = kViewSize, x1 = -1, y1 = -1;
};

InkBox inkOf(const std::vector<std::uint8_t>& pixels)
{
    InkBox box;
    for (int y = 0; y < kViewSize; ++y)
        for (int x = 0; x < kViewSize; ++x) {
            const std::size_t at =
                (static_cast<std::size_t>(y) * kViewSize + static_cast<std::size_t>(x)) * 4;
            if (pixels[at] < 128)
                continue;
            ++box.count;
            box.x0 = std::min(box.x0, x);
            box.y0 = std::min(box.y0, y);
            box.x1 = std::max(box.x1, x);
            box.y1 = std::max(box.y1, y);
        }
    return box;
}

// A display list name past every list reserved so far.
GLuint nextFreeList()
{
    const GLuint probe = glGenLists(1);
    glDeleteLists(probe, 1);
    return probe;
}

class Overlay2D : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Settings.ScreenWidth = test::kViewSize;
        Settings.ScreenHeight = test::kViewSize;
    }

    std::vector<std::uint8_t> drawn(const KaEngine2D& text, std::string_view what, float x, float y)
    {
        beginFrame();
        text.Begin2D();
        text.DrawText(kWhite, what, x, y);
        text.End2D();
        return frame();
    }
};

TEST_F(Overlay2D, AddingAFontTwiceLogsAndReservesNoLists)
{
    KaFontArray fonts;
    fonts.AddFont("Courier New", 15);
    const std::uint32_t base = fonts.FindFont("Courier New");
    ASSERT_NE(base, 0u);
    EXPECT_TRUE(glIsList(base));
    EXPECT_TRUE(glIsList(base + 255));
    const GLuint freeBefore = nextFreeList();

    const std::size_t logged = LogLines().size();
    fonts.AddFont("Courier New", 20);
    EXPECT_THAT(
        std::vector<std::string>(LogLines().begin() + static_cast<std::ptrdiff_t>(logged), LogLines().end()),
        ElementsAre("  Добавляю шрифт Courier New...", "! Такой уже есть!"));
    // Nothing compiled past the lists of the first font.
    for (GLuint list = freeBefore; list < freeBefore + 600; ++list)
        ASSERT_FALSE(glIsList(list)) << list;
    EXPECT_EQ(fonts.Count(), 1);
    EXPECT_EQ(fonts.ItemPtr(0).ListBase, base);
    EXPECT_EQ(fonts.ItemPtr(0).Name, "Courier New");
}

TEST_F(Overlay2D, FontsAreFoundByExactNameOnly)
{
    KaFontArray fonts;
    fonts.AddFont("Courier New", 15);
    fonts.AddFont("DejaVu Sans", 12);
    EXPECT_EQ(fonts.Count(), 2);
    EXPECT_EQ(fonts.FindFont("Arial"), 0u);
    EXPECT_EQ(fonts.FindFont("courier new"), 0u);
    EXPECT_EQ(fonts.FindFont(""), 0u);
    EXPECT_EQ(fonts.FindFont("DejaVu Sans"), fonts.ItemPtr(1).ListBase);
    EXPECT_NE(fonts.ItemPtr(0).ListBase, fonts.ItemPtr(1).ListBase);
    EXPECT_THROW(fonts.ItemPtr(2), std::exception);
}

TEST_F(Overlay2D, ClearDeletesEveryListWithItsLogLines)
{
    KaFontArray fonts;
    fonts.AddFont("Courier New", 15);
    fonts.AddFont("DejaVu Sans", 12);
    const std::uint32_t first = fonts.ItemPtr(0).ListBase;
    const std::uint32_t second = fonts.ItemPtr(1).ListBase;

    const std::size_t logged = LogLines().size();
    fonts.Clear();
    EXPECT_THAT(
        std::vector<std::string>(LogLines().begin() + static_cast<std::ptrdiff_t>(logged), LogLines().end()),
        ElementsAre("  Очистка шрифтов...", "  Удаляю шрифт Courier New...", "  Удаляю шрифт DejaVu Sans...",
                    "  Очистка шрифтов закончена успешно"));
    EXPECT_EQ(fonts.Count(), 0);
    for (const std::uint32_t base : {first, second}) {
        EXPECT_FALSE(glIsList(base));
        EXPECT_FALSE(glIsList(base + 255));
    }
    // A font of a cleared name can be added again.
    fonts.AddFont("Courier New", 15);
    EXPECT_NE(fonts.FindFont("Courier New"), 0u);
}

TEST_F(Overlay2D, TextAtTheOriginLandsInTheBottomLeftCorner)
{
    KaEngine2D text;
    const InkBox ink = inkOf(drawn(text, "WW", 0, 0));
    ASSERT_GT(ink.count, 10);
    EXPECT_LE(ink.x0, 1);
    EXPECT_LE(ink.y0, 1);
    EXPECT_LT(ink.x1, 24);
    EXPECT_LT(ink.y1, 16);

    const InkBox moved = inkOf(drawn(text, "WW", 20, 30));
    EXPECT_EQ(moved.count, ink.count);
    EXPECT_EQ(moved.x0, ink.x0 + 20);
    EXPECT_EQ(moved.y0, ink.y0 + 30);
}

TEST_F(Overlay2D, CyrillicTextDrawsTheCodePageGlyph)
{
    KaEngine2D text;
    const auto cyrillic = drawn(text, "Ж", 5, 5);
    const auto latin = drawn(text, "X", 5, 5);
    EXPECT_GT(inkOf(cyrillic).count, 10);
    EXPECT_NE(cyrillic, latin);

    // Ж is byte 0xC6 of code page 1251: the text is converted before the lists are called.
    beginFrame();
    text.Begin2D();
    glColor3f(1, 1, 1);
    glRasterPos2f(5, 5);
    glCallList(text.Fonts.FindFont(DefaultFont) + 0xC6);
    text.End2D();
    EXPECT_EQ(frame(), cyrillic);
}

TEST_F(Overlay2D, WithoutTheDefaultFontNothingIsDrawn)
{
    KaEngine2D text;
    text.Fonts.Clear();
    // A stray list 65 of someone else's must not be called for "A" with list base 0.
    const GLuint stray = 'A';
    if (glIsList(stray))
        GTEST_SKIP() << "list 65 belongs to an earlier test of this process";
    glNewList(stray, GL_COMPILE);
    glRectf(0, 0, kViewSize, kViewSize);
    glEndList();
    const InkBox ink = inkOf(drawn(text, "A", 0, 0));
    glDeleteLists(stray, 1);
    EXPECT_EQ(ink.count, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Overlay2D, TwoDModeIsUndoneByEnd2D)
{
    KaEngine2D text;
    beginFrame();
    glEnable(GL_LIGHTING);
    glColor4f(0.25f, 0.5f, 0.75f, 1);
    std::array<float, 16> projection{}, afterProjection{};
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());

    text.Begin2D();
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_ALWAYS);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    text.DrawText({1, 0, 0, 0}, "colour", 0, 0);
    std::array<float, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<float, 4>{0.25f, 0.5f, 0.75f, 1}));
    text.End2D();

    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LESS);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glGetFloatv(GL_PROJECTION_MATRIX, afterProjection.data());
    EXPECT_EQ(afterProjection, projection);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Overlay2D, RedTextIsRed)
{
    KaEngine2D text;
    beginFrame();
    text.Begin2D();
    text.DrawText({1, 0, 0, 0}, "MMM", 2, 2);
    text.End2D();
    const auto pixels = frame();
    const InkBox ink = inkOf(pixels);
    ASSERT_GT(ink.count, 10);
    const auto mean = regionMean(pixels, ink.x0, ink.y0, ink.x1 + 1, ink.y1 + 1);
    EXPECT_GT(mean[0], 30);
    EXPECT_EQ(mean[1], 0);
    EXPECT_EQ(mean[2], 0);
}

} // namespace
} // namespace ra7
