// A whole frame of several objects under four lights of different reach,
// in three materials (fixed-function, textured with a glow, and the phong
// programs), read back region by region. The colours were recorded from the
// renderer that drew each object light after light; however the passes are
// ordered or grouped, the sums must come out the same.
#include "engine/RenderTestSupport.h"

#include "effects/Ka7Light.h"
#include "render/FrameRoutine.h"
#include "render/Ka7Scene.h"
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "runtime/Ka7GlobalEngine.h"

#include <epoxy/gl.h>

#include <gmock/gmock.h>

namespace ra7 {
namespace {

struct Region {
    const char* what;
    int x0, y0, x1, y1;
    std::array<double, 3> rgb;
};

class MultiLightFrameTest : public test::RenderTest {
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        addCamera({0, 0, 5});
        addSquareMesh("tile", 1);
        addSquareMesh("backdrop", 10);
        addTexture("moss.tga", 60, 200, 80);
        addTexture("glint.tga", 0, 0, 50);
        addTexture("sky.tga", 60, 90, 150);

        KaMaterial& red = addMaterial("red");
        red.Colour = {0.5f, 0.25f, 0.25f, 1};
        red.Diffuse = {1, 1, 1, 1};
        KaMaterial& moss = addMaterial("moss");
        moss.Diffuse = {1, 1, 1, 1};
        moss.Textures[0] = "moss.tga";
        moss.SelfIllumination = "glint.tga";
        moss.TwoSided = true;
        KaMaterial& sky = addMaterial("sky");
        sky.Diffuse = {1, 1, 1, 1};
        sky.Specular = {0.5f, 0.5f, 0.5f, 1};
        sky.Shininess = 16;
        sky.VertexShader = "phongV";
        sky.FragmentShader = "phongF";
        sky.Textures[0] = "sky.tga";

        // The materials alternate in the list, so that grouping by material
        // reorders the draws; the front tile overlaps the one behind it.
        addGeometry("redTopLeft", "tile", "red", {-1.5f, 1, 0});
        addGeometry("mossTop", "tile", "moss", {0, 1, 0});
        addGeometry("skyTopRight", "tile", "sky", {1.5f, 1, 0});
        addGeometry("redBottomLeft", "tile", "red", {-1.5f, -1, 0});
        addGeometry("mossFront", "tile", "moss", {0.4f, -0.6f, 0.5f});
        addGeometry("skyBehind", "tile", "sky", {0, -1, 0});
        addGeometry("skyBottomRight", "tile", "sky", {1.5f, -1, 0});
        // Around the camera, behind everything: only the endless light reaches it.
        KaGeometry& backdrop = addGeometry("backdrop", "backdrop", "red", {0, 0, -8});
        backdrop.Static = true;

        // Each light reaches a different set of tiles, so the tiles' first
        // passes use different lights; "wide" comes last and reaches all.
        addColouredLight("warm", {-2, 0, 2}, 3.5f, {0.15f, 0.05f, 0}, {0.6f, 0.3f, 0});
        addColouredLight("cool", {2, 0, 2}, 3.5f, {0, 0.05f, 0.15f}, {0, 0.3f, 0.6f});
        addColouredLight("top", {0, 3, 2}, 4, {0.05f, 0.05f, 0.05f}, {0.3f, 0.3f, 0.3f});
        addColouredLight("wide", {0, 0, 6}, 0, {0.05f, 0.05f, 0.05f}, {0.2f, 0.2f, 0.2f});
    }

    // The start-up state the frame needs is not the fixture's default; the
    // tests after this one must not inherit it.
    void TearDown() override
    {
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_LINE_SMOOTH);
        RenderTest::TearDown();
    }

    void addColouredLight(const std::string& name, const Vector3& position, float range,
                          const std::array<float, 3>& ambient, const std::array<float, 3>& diffuse)
    {
        addLight(name, position, range, 0);
        auto* light = static_cast<KaLight*>(SceneObjects->FindByName(name));
        light->Ambient = {ambient[0], ambient[1], ambient[2], 1};
        light->Diffuse = {diffuse[0], diffuse[1], diffuse[2], 1};
        light->Specular = {1, 1, 1, 1};
    }

    std::vector<std::uint8_t> renderFrame()
    {
        beginSceneFrame();
        ApplyStartupGLState();
        glMatrixMode(GL_MODELVIEW);
        FrameOptions options;
        options.ShowAxes = false;
        options.ShowGrid = false;
        RenderFrame(options, {});
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return frame();
    }
};

// Recorded from the renderer before the passes were grouped.
const Region kRecorded[] = {
    {"red tile, warm + top + wide", 7, 45, 11, 49, {146, 50, 30}},
    {"moss tile, all four lights and the glow", 30, 45, 34, 49, {64, 201, 134}},
    {"phong tile, cool + top + wide", 53, 45, 57, 49, {112, 140, 208}},
    {"red tile, warm + wide", 7, 15, 11, 19, {115, 34, 15}},
    {"moss tile in front, all four lights and the glow", 37, 20, 41, 24, {52, 173, 127}},
    {"phong tile behind, warm + cool + wide", 25, 10, 29, 14, {117, 124, 150}},
    {"phong tile, cool + wide", 53, 12, 57, 16, {86, 109, 168}},
    {"backdrop, wide only", 18, 30, 22, 34, {29, 15, 15}},
};

TEST_F(MultiLightFrameTest, FourLightsOverThreeMaterialsGiveTheRecordedColours)
{
    const auto pixels = renderFrame();
    for (const Region& region : kRecorded) {
        SCOPED_TRACE(region.what);
        const auto mean = regionMean(pixels, region.x0, region.y0, region.x1, region.y1);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(mean[static_cast<std::size_t>(c)], region.rgb[static_cast<std::size_t>(c)], 2)
                << "channel " << c;
    }
    EXPECT_FALSE(MultiPass);
}

} // namespace
} // namespace ra7
