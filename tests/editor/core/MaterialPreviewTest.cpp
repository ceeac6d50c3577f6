// The material picture drawn on a real context (Mesa, headless): colours,
// textures, transparency and shaders show, and the frame being drawn around
// it finds its framebuffer, matrices and draw state as it left them.

#include "core/MaterialPreview.h"
#include "ImageFiles.h"
#include "engine/GLTestSupport.h"
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Mesh.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/HeadlessContext.h"

#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace ra7::editor {
namespace {

using Pixel = std::array<int, 4>;

class MaterialPreviewTest : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Materials = std::make_unique<KaMaterialList>();
        Textures = std::make_unique<KaTextureArray>();
    }
    void TearDown() override
    {
        preview.Release();
        GLTest::TearDown();
    }

    KaMaterial& material(const std::string& name, KaColor colour)
    {
        KaMaterial made;
        made.Name = name;
        made.Colour = colour;
        return *Materials->AddCopy(made);
    }
    static void writeSolidImage(const std::string& file, datagen::Texel texel)
    {
        datagen::WriteImage(file, 8, 8, false, [texel](int, int) { return texel; });
    }
    // x, y from the top left, as the picture is returned.
    static Pixel at(const std::vector<std::uint8_t>& pixels, int x, int y)
    {
        const std::size_t i =
            (static_cast<std::size_t>(y) * MaterialPreview::kSize + static_cast<std::size_t>(x)) * 4;
        return {pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
    }
    static int spread(const Pixel& a, const Pixel& b)
    {
        int most = 0;
        for (std::size_t c = 0; c < 3; ++c)
            most = std::max(most, std::abs(a[c] - b[c]));
        return most;
    }

    MaterialPreview preview;
};

constexpr int kCentre = MaterialPreview::kSize / 2;

TEST_F(MaterialPreviewTest, TheSphereTakesTheMaterialsColourOverAGreyCheckerboard)
{
    material("red", {1, 0, 0, 1});
    const auto pixels = preview.Render("red");
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(MaterialPreview::kSize * MaterialPreview::kSize * 4));
    const Pixel centre = at(pixels, kCentre, kCentre);
    EXPECT_GT(centre[0], 100);
    EXPECT_LT(centre[1], 40);
    EXPECT_LT(centre[2], 40);
    const Pixel corner = at(pixels, 2, 2);
    EXPECT_EQ(corner[0], corner[1]);
    EXPECT_EQ(corner[1], corner[2]);
    EXPECT_EQ(corner[3], 255);
    EXPECT_TRUE(preview.Render("nothing").empty());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MaterialPreviewTest, ATexturedMaterialShowsItsTextureAndItsGlow)
{
    writeSolidImage("green.png", {0, 255, 0, 255});
    writeSolidImage("blue.png", {0, 0, 255, 255});
    KaMaterial& grass = material("grass", {1, 1, 1, 1});
    grass.Textures[0] = "green.png";
    Textures->Add("green.png");
    Pixel lit = at(preview.Render("grass"), kCentre, kCentre);
    EXPECT_GT(lit[1], 100);
    EXPECT_LT(lit[0], 40);
    EXPECT_LT(lit[2], 40);

    grass.SelfIllumination = "blue.png";
    Textures->Add("blue.png");
    lit = at(preview.Render("grass"), kCentre, kCentre);
    EXPECT_GT(lit[1], 100);
    EXPECT_GT(lit[2], 200); // the glow is added on top, unlit
}

TEST_F(MaterialPreviewTest, ATransparentMaterialLetsTheCheckerboardThrough)
{
    // Two points beside each other on the sphere, over different checker squares.
    const auto contrast = [this] {
        const auto pixels = preview.Render("veil");
        return spread(at(pixels, kCentre - 3, kCentre - 6), at(pixels, kCentre + 3, kCentre - 6));
    };
    KaMaterial& veil = material("veil", {1, 1, 1, 0.2f});
    EXPECT_LT(contrast(), 12);
    veil.Blend = true;
    EXPECT_GT(contrast(), 25);
}

TEST_F(MaterialPreviewTest, TheFrameAroundThePreviewFindsEverythingAsItLeftIt)
{
    material("plain", kKeepColour);
    beginFrame();
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    glEnable(GL_CULL_FACE);
    CurrentMaterialName = "frame material";
    CurrentObjectName = "frame object";
    CurrentLightName = "frame light";
    MultiPass = true;
    GLfloat modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);

    ASSERT_FALSE(preview.Render("plain").empty());

    GLint framebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(static_cast<std::uint32_t>(framebuffer), test::sharedHeadless().windowFramebuffer());
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], test::kViewSize);
    EXPECT_EQ(viewport[3], test::kViewSize);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(std::begin(after), std::end(after), std::begin(modelView)));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(CurrentMaterialName, "frame material");
    EXPECT_EQ(CurrentObjectName, "frame object");
    EXPECT_EQ(CurrentLightName, "frame light");
    EXPECT_TRUE(MultiPass);
    MultiPass = false;
    // The frame's own picture is untouched: beginFrame cleared it to black.
    const auto frame = this->frame();
    EXPECT_EQ(regionMean(frame, 0, 0, test::kViewSize, test::kViewSize)[1], 0.0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MaterialPreviewTest, TheLightingProgramsDrawTheSphere)
{
    installShaders();
    detect(false, false, false);
    Shaders = std::make_unique<KaShaderClass>();
    writeSolidImage("stone.png", {200, 200, 200, 255});
    writeSolidImage("flat.png", {128, 128, 255, 255}); // a normal map facing straight out
    Textures->Add("stone.png");
    Textures->Add("flat.png");
    for (const auto& [vertex, fragment] : {std::pair{"phongV", "phongF"}, std::pair{"bumpV", "bumpF"}}) {
        KaMaterial& stone = material(std::string("stone_") + vertex, {1, 1, 1, 1});
        stone.VertexShader = vertex;
        stone.FragmentShader = fragment;
        stone.Diffuse = {1, 1, 1, 1};
        stone.Textures[0] = "stone.png";
        stone.Textures[1] = "flat.png";
        const auto pixels = preview.Render(stone.Name);
        const Pixel lit = at(pixels, kCentre + 15, kCentre - 15);  // up and right, towards the light
        const Pixel dark = at(pixels, kCentre - 30, kCentre + 30); // turned away from it
        EXPECT_GT(lit[0], dark[0] + 30) << vertex;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << vertex;
    }
}

TEST(PreviewSphere, FacesTurnOutwardsAndTheTangentSpaceFollowsTheTexture)
{
    const auto sphere = MakePreviewSphere(8, 16);
    ASSERT_EQ(sphere->VertexCount, 9 * 17);
    ASSERT_EQ(sphere->IndexCount, 8 * 16 * 6);
    for (std::size_t t = 0; t < sphere->Indices.size(); t += 3) {
        const Vector3 a = sphere->Vertices[sphere->Indices[t]];
        const Vector3 b = sphere->Vertices[sphere->Indices[t + 1]];
        const Vector3 c = sphere->Vertices[sphere->Indices[t + 2]];
        const Vector3 u = {b.x - a.x, b.y - a.y, b.z - a.z};
        const Vector3 v = {c.x - a.x, c.y - a.y, c.z - a.z};
        const Vector3 n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
        const Vector3 centre = {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
        // Triangles at the poles are slivers; the rest face away from the centre.
        if (n.x * n.x + n.y * n.y + n.z * n.z > 1e-8f) {
            EXPECT_GT(n.x * centre.x + n.y * centre.y + n.z * centre.z, 0.0f) << t;
        }
    }
    // At the front, tangent and binormal run along u and v, and with the normal make a right-handed frame.
    const std::size_t front = 4 * 17; // the equator, facing the eye
    EXPECT_NEAR(sphere->Vertices[front].z, 1.0f, 1e-6f);
    EXPECT_NEAR(sphere->Tangents[front].x, 1.0f, 1e-6f);
    EXPECT_NEAR(sphere->Binormals[front].y, 1.0f, 1e-6f);
    EXPECT_GT(sphere->TexCoords[front + 1].x, sphere->TexCoords[front].x);
    EXPECT_GT(sphere->TexCoords[front - 17].y, sphere->TexCoords[front].y);
}

} // namespace
} // namespace ra7::editor
