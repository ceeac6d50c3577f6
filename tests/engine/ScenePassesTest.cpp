// The renderer's passes on small scenes: light selection and the additive
// passes, self-illumination with and without bloom, the sky box's faces,
// levels of detail and frustum culling, read back region by region.
#include "engine/RenderTestSupport.h"

#include "effects/Ka7Light.h"
#include "render/FrameRoutine.h"
#include "render/Ka7Scene.h"
#include "render/RenderTargets.h"
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7GlobalEngine.h"

#include <epoxy/gl.h>

#include <gmock/gmock.h>

#include <cmath>

namespace ra7 {
namespace {

class ScenePassesTest : public test::RenderTest {
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        addCamera({0, 0, 5});
        addSquareMesh("square", 2);
        addMaterial("grey");
    }

    // The red level at the centre after one opaque pass.
    double opaqueCentreRed()
    {
        beginSceneFrame();
        Scene->RenderOpaque();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return centre(frame())[0];
    }
};

TEST_F(ScenePassesTest, EachLightThatReachesAGeometryAddsOnePass)
{
    addGeometry("wall", "square", "grey", {0, 0, 0});
    addLight("a", {0, 0, 3}, 10, 0.2f);
    EXPECT_NEAR(opaqueCentreRed(), 51, 2);
    addLight("b", {3, 0, 0}, 10, 0.2f);
    addLight("c", {0, 3, 0}, 10, 0.2f);
    // Three passes, the second and third added with depth function GL_EQUAL.
    EXPECT_NEAR(opaqueCentreRed(), 153, 3);
    EXPECT_FALSE(MultiPass);
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LESS);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(ScenePassesTest, RangeDecidesWhichLightsReachExceptRangeZeroAndStatic)
{
    addGeometry("wall", "square", "grey", {0, 0, 0});
    addLight("near", {0, 0, 3}, 3, 0.2f);  // exactly at its range: reaches
    addLight("far", {0, 0, 50}, 10, 0.2f); // out of range
    EXPECT_NEAR(opaqueCentreRed(), 51, 2);
    addLight("endless", {0, 0, 500}, 0, 0.2f); // range 0 reaches everything
    EXPECT_NEAR(opaqueCentreRed(), 102, 3);
    static_cast<KaLight*>(SceneObjects->FindByName("far"))->Static = true;
    EXPECT_NEAR(opaqueCentreRed(), 153, 3);
}

TEST_F(ScenePassesTest, AGeometryNoLightReachesIsDrawnOnlyByItsSelfIllumination)
{
    addTexture("glow.tga", 0, 200, 0);
    Materials->Find("grey")->SelfIllumination = "glow.tga";
    addGeometry("wall", "square", "grey", {0, 0, 0});
    addLight("far", {0, 0, 50}, 10, 0.5f);
    beginSceneFrame();
    Scene->RenderOpaque();
    const auto c = centre(frame());
    EXPECT_NEAR(c[1], 200, 3);
    EXPECT_NEAR(c[0], 0, 2);
}

TEST_F(ScenePassesTest, SelfIlluminationIsAddedOnTopOfTheLitPass)
{
    addTexture("glow.tga", 0, 200, 0);
    Materials->Find("grey")->SelfIllumination = "glow.tga";
    addGeometry("wall", "square", "grey", {0, 0, 0});
    addLight("a", {0, 0, 3}, 10, 0.2f);
    beginSceneFrame();
    Scene->RenderOpaque();
    const auto c = centre(frame());
    EXPECT_NEAR(c[0], 51, 2);
    EXPECT_NEAR(c[1], 251, 3);
}

TEST_F(ScenePassesTest, WithBloomOnSelfIlluminationShowsOnlyThroughTheBloomImage)
{
    detect(false, true, true);
    if (!Settings.UseFBO || !Settings.UseGLSL)
        RA7_SKIP_WITHOUT("the driver offers no framebuffer objects or GLSL");
    Shaders = std::make_unique<KaShaderClass>(); // now with the GLSL programs
    CreateBloomTargets();
    addTexture("glow.tga", 0, 200, 0);
    Materials->Find("grey")->SelfIllumination = "glow.tga";
    addGeometry("wall", "square", "grey", {0, 0, 0});
    addLight("a", {0, 0, 3}, 10, 0.2f);
    Settings.UseBloom = true;

    beginSceneFrame();
    Scene->RenderOpaque();
    const auto lit = centre(frame());
    EXPECT_NEAR(lit[1], 51, 2) << "the lit pass leaves the glow out";

    FrameOptions options;
    options.ShowAxes = false;
    options.ShowGrid = false;
    beginSceneFrame();
    RenderFrame(options, {});
    const auto pixels = frame();
    const auto withBloom = centre(pixels);
    EXPECT_GT(withBloom[1], withBloom[0] + 100) << "the blurred glow is added over the frame";
    EXPECT_NEAR(withBloom[0], 51, 3);
    const auto corner = regionMean(pixels, 0, 0, 4, 4);
    EXPECT_NEAR(corner[1], 153, 3) << "far from the glow the background stays grey";

    Settings.UseBloom = false;
    beginSceneFrame();
    RenderFrame(options, {});
    const auto withoutBloom = centre(frame());
    EXPECT_NEAR(withoutBloom[1], 251, 3);
    DeleteBloomTargets();
}

// A view rotation that turns the world direction `d` (a unit axis) into the
// eye's −z, keeping the eye's y upright where it can.
Matrix3 lookingAlong(const Vector3& d)
{
    const Vector3 back = VectorScale(d, -1);
    const Vector3 up = std::abs(d.y) > 0.5f ? Vector3{0, 0, d.y > 0 ? 1.0f : -1.0f} : Vector3{0, 1, 0};
    const Vector3 right = {up.y * back.z - up.z * back.y, up.z * back.x - up.x * back.z,
                           up.x * back.y - up.y * back.x};
    // p·R: row i is the eye image of world axis i; the columns are the eye
    // axes in world coordinates.
    return {right.x, up.x, back.x, right.y, up.y, back.y, right.z, up.z, back.z};
}

TEST_F(ScenePassesTest, EverySkyBoxFaceLandsOnItsSide)
{
    struct Face {
        const char* file;
        std::uint32_t KaScene::*field;
        Vector3 direction;
        std::uint8_t r, g, b;
    };
    const Face faces[] = {
        {"front.tga", &KaScene::SkyFront, {0, 0, 1}, 255, 0, 0},
        {"back.tga", &KaScene::SkyBack, {0, 0, -1}, 0, 255, 0},
        {"right.tga", &KaScene::SkyRight, {-1, 0, 0}, 0, 0, 255},
        {"left.tga", &KaScene::SkyLeft, {1, 0, 0}, 255, 255, 0},
        {"up.tga", &KaScene::SkyUp, {0, 1, 0}, 0, 255, 255},
        {"down.tga", &KaScene::SkyDown, {0, -1, 0}, 255, 0, 255},
    };
    Scene->SkyBox = true;
    for (const Face& face : faces) {
        addTexture(face.file, face.r, face.g, face.b);
        (*Scene).*face.field = Textures->Find(face.file)->GLName();
    }
    KaCamera& camera = *SceneObjects->ActiveCamera();
    camera.Trans->Position = {30, -7, 12}; // the box moves with the viewer
    for (const Face& face : faces) {
        SCOPED_TRACE(face.file);
        camera.Trans->Rotation = lookingAlong(face.direction);
        beginSceneFrame();
        glEnable(GL_CULL_FACE); // the faces turn their fronts inwards
        Scene->RenderStatic();
        glDisable(GL_CULL_FACE);
        const auto c = centre(frame());
        EXPECT_NEAR(c[0], face.r, 2);
        EXPECT_NEAR(c[1], face.g, 2);
        EXPECT_NEAR(c[2], face.b, 2);
    }
}

TEST_F(ScenePassesTest, TheLevelOfDetailSwitchesAtTheSquaredDistances)
{
    addSquareMesh("near", 2);
    addSquareMesh("middle", 1);
    addSquareMesh("far", 0.4f);
    KaGeometry& g = addGeometry("g", "near", "grey", {0, 0, 0});
    g.MeshLod1 = "middle";
    g.MeshLod2 = "far";
    addLight("a", {0, 0, 3}, 0, 1.0f);
    // The level drawn shows in how far the square reaches from the centre.
    const auto level = [&](float distanceSqr) {
        beginSceneFrame();
        g.DistToCamera = distanceSqr;
        Scene->RenderOpaque();
        const auto pixels = frame();
        if (centre(pixels)[0] < 128)
            return std::string("none");
        const bool reachesHalf = regionMean(pixels, 25, 30, 27, 34)[0] > 128;
        const bool reachesOuter = regionMean(pixels, 18, 30, 19, 34)[0] > 128;
        return std::string(reachesOuter ? "near" : reachesHalf ? "middle" : "far");
    };
    EXPECT_EQ(level(1.0e7f), "near");
    EXPECT_EQ(level(1.1e7f), "middle");
    EXPECT_EQ(level(1.0e9f), "middle");
    EXPECT_EQ(level(1.1e9f), "far");
    EXPECT_EQ(level(5.0e11f), "far");
    EXPECT_EQ(level(5.1e11f), "none");
    g.MeshLod2.clear();
    EXPECT_EQ(level(1.0e9f), "middle");
    EXPECT_EQ(level(1.1e9f), "none");
    Settings.UseLod = false;
    EXPECT_EQ(level(5.1e11f), "near");
}

TEST_F(ScenePassesTest, FrustumCullingSkipsWhatTheViewVolumeLeavesOut)
{
    addLight("a", {0, 0, 3}, 0, 1.0f);
    // In view, but its bounding box stands far behind the camera: only the
    // culling test can keep it from being drawn.
    KaGeometry& g = addGeometry("g", "square", "grey", {0, 0, 0});
    g.Bounds->Main->LocalTrans.Position = {0, 0, 100};
    KaGeometry& inside = addGeometry("inside", "square", "grey", {3, 0, -20});
    const auto draw = [&] {
        beginSceneFrame();
        UpdateScene({}); // the view volume from the view just loaded
        beginSceneFrame();
        Scene->RenderOpaque();
        return centre(frame())[0];
    };
    Settings.UseFrustumCulling = true;
    EXPECT_NEAR(draw(), 0, 1);
    EXPECT_EQ(g.Bounds->FrustumResult, 0);
    EXPECT_EQ(inside.Bounds->FrustumResult, 1);
    Settings.UseFrustumCulling = false;
    EXPECT_NEAR(draw(), 255, 1);
    EXPECT_EQ(g.Bounds->FrustumResult, 1);
}

TEST_F(ScenePassesTest, BoundsAreDrawnWithTheSelectedObjectHighlighted)
{
    KaGeometry& g = addGeometry("g", "square", "grey", {0, 0, 0});
    g.Bounds->Main = std::make_unique<KaBoundingSphere>(1.0f);
    beginSceneFrame();
    glDisable(GL_DEPTH_TEST);
    Scene->RenderBounds("g");
    const auto selected = frame();
    beginSceneFrame();
    glDisable(GL_DEPTH_TEST);
    Scene->RenderBounds("other");
    const auto plain = frame();
    double selectedRed = 0;
    double plainRed = 0;
    for (std::size_t i = 0; i < selected.size(); i += 4) {
        selectedRed = std::max<double>(selectedRed, selected[i]);
        plainRed = std::max<double>(plainRed, plain[i]);
    }
    EXPECT_EQ(selectedRed, 255);
    EXPECT_NEAR(plainRed, 51, 2);
}

} // namespace
} // namespace ra7
