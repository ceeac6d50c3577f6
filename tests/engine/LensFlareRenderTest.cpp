#include "engine/GLTestSupport.h"

#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Sprite.h"
#include "resources/Ka7TextureIL.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"

#include <IL/il.h>
#include <epoxy/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ra7 {
namespace {

using test::kViewSize;
using ::testing::Contains;
using ::testing::HasSubstr;

// A flat-coloured RGB image written through DevIL.
void saveFlatImage(const std::string& fileName, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    InitImageLibrary();
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 16; ++i)
        pixels.insert(pixels.end(), {r, g, b});
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(4, 4, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, pixels.data());
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSaveImage(fileName.c_str()));
    ilDeleteImages(1, &image);
}

KaLens lens(const std::string& texture, float pos, std::array<float, 4> colour = {1, 1, 1, 1}, float size = 3)
{
    KaLens l;
    l.TextureName = texture;
    l.Pos = pos;
    l.Color = colour;
    l.Size = size;
    return l;
}

class LensFlareRender : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Settings.ScreenWidth = kViewSize;
        Settings.ScreenHeight = kViewSize;
        SceneObjects = std::make_unique<KaObjArray>();
        LensFlares = std::make_unique<KaLensFlareList>();
        Textures = std::make_unique<KaTextureArray>();
    }
    void TearDown() override
    {
        LensFlares.reset();
        SceneObjects.reset();
        GLTest::TearDown();
    }

    void addFlare(const std::string& name, const std::vector<KaLens>& lenses)
    {
        KaLensFlare flare;
        flare.Name = name;
        flare.LensCount = static_cast<std::int32_t>(lenses.size());
        for (std::size_t i = 0; i < lenses.size(); ++i)
            flare.Lenses[i] = lenses[i];
        LensFlares->AddCopy(flare);
    }

    KaSprite& addSprite(const std::string& name, const std::string& flare, float x, float y,
                        float brightness = 1)
    {
        auto sprite = std::make_unique<KaSprite>();
        sprite->SetName(name);
        sprite->FlareName = flare;
        sprite->FlareBrightness = brightness;
        sprite->ScreenPos = {x, y, 0.5f};
        auto& raw = *sprite;
        SceneObjects->Add(std::move(sprite));
        return raw;
    }

    // The overlay pass: one unit a pixel, origin at the lower left.
    std::vector<std::uint8_t> drawFlares()
    {
        beginFrame();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kViewSize, 0, kViewSize, -800, 800);
        glMatrixMode(GL_MODELVIEW);
        LensFlares->Render();
        return frame();
    }

    static std::array<double, 4> around(const std::vector<std::uint8_t>& pixels, int x, int y)
    {
        return regionMean(pixels, x - 2, y - 2, x + 2, y + 2);
    }
};

TEST_F(LensFlareRender, LensesMirrorThroughTheScreenCentre)
{
    addFlare("glow", {lens("nowhere.png", 1, {1, 0, 0, 1}), lens("nowhere.png", 2, {0, 1, 0, 1}),
                      lens("nowhere.png", -4, {0, 0, 1, 1})});
    addSprite("sun", "glow", 14, 20);
    const auto pixels = drawFlares();

    const auto mirrored = around(pixels, 50, 44); // (64 - 14, 64 - 20)
    EXPECT_GT(mirrored[0], 250);
    EXPECT_EQ(mirrored[1], 0);
    const auto centre = around(pixels, 32, 32);
    EXPECT_GT(centre[1], 250);
    EXPECT_EQ(centre[0], 0);
    const auto beyond = around(pixels, 5, 14); // Pos -4 stands beyond the source: (14 - 9, 20 - 6)
    EXPECT_GT(beyond[2], 250);
    const auto source = around(pixels, 14, 20);
    EXPECT_EQ(source[0] + source[1] + source[2], 0) << "nothing at the source itself";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LensFlareRender, ASourceAtTheCentreStacksEveryLensThere)
{
    addFlare("glow", {lens("a.png", 1, {0.25f, 0, 0, 1}), lens("a.png", 5, {0.25f, 0, 0, 1}),
                      lens("a.png", -3, {0.25f, 0, 0, 1})});
    addSprite("sun", "glow", 32, 32);
    const auto centre = around(drawFlares(), 32, 32);
    EXPECT_NEAR(centre[0], 3 * 0.25 * 255, 4) << "three additive lenses on one spot";
}

TEST_F(LensFlareRender, ALensWithoutTextureNameIsSkipped)
{
    addFlare("glow", {lens("", 2, {1, 1, 1, 1}), lens("x.png", 1, {1, 0, 0, 1})});
    addSprite("sun", "glow", 10, 10);
    const auto pixels = drawFlares();
    EXPECT_EQ(around(pixels, 32, 32)[1], 0);
    EXPECT_GT(around(pixels, 54, 54)[0], 250);
}

TEST_F(LensFlareRender, KnownTexturesAreBoundAndUnknownOnesDrawUntextured)
{
    saveFlatImage("green.png", 0, 255, 0);
    Textures->Add("green.png");
    addFlare("glow", {lens("green.png", 1), lens("missing.png", 2)});
    addSprite("sun", "glow", 10, 10);
    const auto pixels = drawFlares();
    const auto textured = around(pixels, 54, 54);
    EXPECT_EQ(textured[0], 0);
    EXPECT_GT(textured[1], 250);
    const auto untextured = around(pixels, 32, 32);
    EXPECT_GT(untextured[0], 250);
    EXPECT_GT(untextured[1], 250);
    EXPECT_GT(untextured[2], 250);
}

TEST_F(LensFlareRender, EachSpriteDrawsItsFlareWithItsOwnBrightness)
{
    addFlare("glow", {lens("x.png", 1, {1, 0, 0, 1})});
    addSprite("near", "glow", 10, 10, 1.0f);
    addSprite("far", "glow", 54, 10, 0.5f);
    addSprite("plain", "", 32, 32);
    addSprite("stray", "nosuchflare", 20, 20);
    auto& fixed = addSprite("fixed", "glow", 10, 54);
    fixed.Static = true;
    SceneObjects->MarkChanged();
    const auto pixels = drawFlares();

    EXPECT_GT(around(pixels, 54, 54)[0], 250);
    EXPECT_NEAR(around(pixels, 10, 54)[0], 128, 3) << "half brightness from the second sprite";
    EXPECT_EQ(around(pixels, 54, 10)[0], 0) << "static sprites are no flare sources";
    EXPECT_EQ(regionMean(pixels, 20, 20, 44, 44)[0], 0);
    // The flare keeps the last source's values.
    EXPECT_EQ(LensFlares->Get(0).ScreenPos, (ScreenPoint{54, 10, 0.5f}));
    EXPECT_FLOAT_EQ(LensFlares->Get(0).Lenses[0].Color[3], 0.5f);
}

TEST_F(LensFlareRender, AFlareWithoutSourceOrLensesDrawsNothing)
{
    KaLensFlare flare;
    flare.LensCount = 1;
    flare.Lenses[0] = lens("x.png", 2);
    beginFrame();
    flare.Render(); // ScreenPos still (-10, -10, -10)
    flare.ScreenPos = {0, 0, 0};
    flare.LensCount = 0;
    flare.Render();
    const auto pixels = frame();
    EXPECT_EQ(regionMean(pixels, 0, 0, kViewSize, kViewSize)[0], 0);
}

TEST_F(LensFlareRender, OverlayStateIsLeftAsTheNextPassExpects)
{
    addFlare("glow", {lens("x.png", 1)});
    addSprite("sun", "glow", 10, 10);
    drawFlares();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
}

TEST_F(LensFlareRender, LoadingAFlareSetAddsItsLensTextures)
{
    saveFlatImage("ring.png", 255, 0, 0);
    addFlare("glow", {lens("ring.png", 1), lens("", 2), lens("gone.png", 3)});
    LensFlares->SaveToFile("set.kls", {0});
    LensFlares->Clear();

    ASSERT_NE(LensFlares->LoadFromFile("set.kls"), nullptr);
    EXPECT_EQ(Textures->Count(), 1);
    EXPECT_GE(Textures->IndexOf("ring.png"), 0);
    EXPECT_THAT(LogLines(), Contains(HasSubstr("gone.png"))) << "the unreadable image is reported";
    EXPECT_EQ(LensFlares->Get(0).LensCount, 3) << "and the flare is still loaded whole";
}

} // namespace
} // namespace ra7
