// Drawing of the effect kinds: a sprite fading behind a wall by the depth
// test, particles moving along their direction, the light handed to the
// driver and the markers.
#include "engine/RenderTestSupport.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "render/FrameRoutine.h"
#include "render/Ka7Scene.h"
#include "resources/DrawState.h"
#include "resources/Ka7MeshList.h"
#include "runtime/FrameTime.h"

#include <epoxy/gl.h>

#include <gmock/gmock.h>

namespace ra7 {
namespace {

class EffectsDrawingTest : public test::RenderTest {
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        addCamera({0, 0, 5});
        addSquareMesh("square", 2);
        addMaterial("grey");
        addLight("lamp", {0, 0, 3}, 0, 0.2f);
        addTexture("white.tga", 255, 255, 255);
    }

    KaSprite& addSprite(const Vector3& position)
    {
        KaSprite& sprite = add<KaSprite>("glow");
        sprite.Trans->Position = position;
        sprite.Texture1 = "white.tga";
        sprite.Size1 = 5;
        sprite.Size2 = 0;
        sprite.Size3 = 0;
        sprite.ViewRange = 0;
        sprite.ZTest = 1;
        return sprite;
    }

    // One frame of opaque geometry then effects; returns the centre colour.
    std::array<double, 4> effectsFrame()
    {
        beginSceneFrame();
        Scene->RenderOpaque();
        Scene->RenderEffects();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return centre(frame());
    }
};

TEST_F(EffectsDrawingTest, ASpriteBehindAWallFadesOutAndBackInOver200Milliseconds)
{
    KaSprite& sprite = addSprite({0, 0, -2});
    addGeometry("wall", "square", "grey", {0, 0, 0});
    FrameTime = 20.0f; // a step of 0.1 per frame

    for (int i = 1; i <= 5; ++i)
        effectsFrame();
    EXPECT_NEAR(sprite.Color1[3], 0.5f, 1e-4f);
    EXPECT_EQ(sprite.InView, 0);
    for (int i = 1; i <= 5; ++i)
        effectsFrame();
    EXPECT_FLOAT_EQ(sprite.Color1[3], 0.0f);
    EXPECT_FLOAT_EQ(sprite.Color3[3], 0.0f) << "the fade level is copied to every layer";
    effectsFrame();
    EXPECT_FLOAT_EQ(sprite.Color1[3], 0.0f) << "clamped at 0";

    SceneObjects->DeleteByName("wall");
    const auto first = effectsFrame();
    EXPECT_NEAR(sprite.Color1[3], 0.1f, 1e-4f);
    EXPECT_EQ(sprite.InView, 1);
    for (int i = 2; i <= 10; ++i)
        effectsFrame();
    EXPECT_FLOAT_EQ(sprite.Color1[3], 1.0f);
    const auto full = effectsFrame();
    EXPECT_GT(full[0], first[0] + 150) << "the drawn sprite follows its fade level";
}

TEST_F(EffectsDrawingTest, ASpriteInFrontOfTheWallStaysAndIsDrawnAdditively)
{
    addGeometry("wall", "square", "grey", {0, 0, 0});
    KaSprite& sprite = addSprite({0, 0, 1});
    sprite.Color1 = {1, 0, 0, 1};
    const auto c = effectsFrame();
    EXPECT_FLOAT_EQ(sprite.Color1[3], 1.0f);
    EXPECT_NEAR(c[0], 255, 1);
    EXPECT_NEAR(c[1], 51, 2) << "added over the wall's grey";
    EXPECT_FALSE(InFrustum) << "the renderer leaves the flag false";
}

TEST_F(EffectsDrawingTest, ASpriteWithAMissingFlareIsNotDrawnAtAll)
{
    KaSprite& sprite = addSprite({0, 0, 1});
    sprite.FlareName = "no such flare";
    EXPECT_NEAR(effectsFrame()[0], 0, 1);
    sprite.FlareName.clear();
    EXPECT_GT(effectsFrame()[0], 200);
}

// The mean x (in pixels) of the lit pixels of the frame.
double litCentroidX(const std::vector<std::uint8_t>& pixels)
{
    double sum = 0;
    double count = 0;
    for (int y = 0; y < test::kViewSize; ++y)
        for (int x = 0; x < test::kViewSize; ++x)
            if (pixels[(static_cast<std::size_t>(y) * test::kViewSize + static_cast<std::size_t>(x)) * 4] >
                100) {
                sum += x;
                ++count;
            }
    return count > 0 ? sum / count : -1;
}

TEST_F(EffectsDrawingTest, ParticlesWithoutSpreadMoveAlongTheirDirection)
{
    KaParSystem& system = add<KaParSystem>("smoke", 4);
    system.Trans->Position = {-1.5f, 0, 0};
    system.EmitDirection = {1, 0, 0};
    system.Spread = 0;
    system.MinSpeed = system.MaxSpeed = 1;
    system.MinSize = system.MaxSize = 2;
    system.MinLife = system.MaxLife = kUnendingLife;
    system.TextureName = "white.tga";
    FrameTime = 10.0f; // 0.1 units per update

    std::vector<double> xs;
    for (int i = 0; i < 4; ++i) {
        UpdateScene({});
        beginSceneFrame();
        Scene->RenderEffects();
        xs.push_back(litCentroidX(frame()));
    }
    for (const KaParticle& p : system.Particles) {
        EXPECT_FLOAT_EQ(p.Direction.x, 1.0f);
        EXPECT_FLOAT_EQ(p.Direction.y, 0.0f);
        EXPECT_FLOAT_EQ(p.Direction.z, 0.0f);
        EXPECT_NEAR(p.Position.x, -1.2f, 1e-5f);
        EXPECT_FLOAT_EQ(p.Position.y, 0.0f);
    }
    // 0.1 units at 5 units from the camera are about 1.5 pixels.
    ASSERT_GT(xs[0], 0);
    EXPECT_NEAR(xs[1] - xs[0], 1.55, 0.5);
    EXPECT_NEAR(xs[3] - xs[0], 4.6, 0.8);
}

TEST_F(EffectsDrawingTest, ApplyLightPutsTheDriversLightWhereTheLightStandsInTheView)
{
    KaLight& light = *static_cast<KaLight*>(SceneObjects->FindByName("lamp"));
    light.Ambient = {0.1f, 0.2f, 0.3f, 0.5f};
    light.Trans->Rotation = RotationY(DegToRad(90)); // turning the light does not move it
    glLoadIdentity();
    SceneObjects->ActiveCamera()->Trans->ApplyView(); // camera at (0, 0, 5)
    light.ApplyLight();
    EXPECT_EQ(CurrentLightName, "lamp");
    EXPECT_EQ(CurrentLight(), &light);
    GLfloat position[4] = {};
    GLfloat ambient[4] = {};
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    // Eye coordinates: the light at (0, 0, 3) is 2 units in front of the camera.
    EXPECT_NEAR(position[0], 0, 1e-5);
    EXPECT_NEAR(position[1], 0, 1e-5);
    EXPECT_NEAR(position[2], -2, 1e-5);
    EXPECT_EQ(position[3], 1);
    EXPECT_THAT(ambient, testing::ElementsAre(0.1f, 0.2f, 0.3f, 0.5f));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));

    light.Static = true; // a direction: the camera's translation does not apply
    light.ApplyLight();
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_THAT(position, testing::ElementsAre(0, 0, 3, 0));
    GLfloat modelView[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    EXPECT_EQ(modelView[14], -5) << "the model-view matrix is restored";
}

TEST_F(EffectsDrawingTest, MarkersShowExceptForTheCameraNamedCam1)
{
    SceneObjects->DeleteByName("lamp");
    Scene->ShowMarkers = true;
    add<KaSound>("hum");
    beginSceneFrame();
    Scene->RenderOpaque();
    const auto sound = centre(frame());
    EXPECT_NEAR(sound[1], 255, 1);
    EXPECT_NEAR(sound[0], 0, 1);

    SceneObjects->DeleteByName("hum");
    CameraModel = std::make_unique<KaGeometry>();
    CameraModel->MeshName = "square";
    KaCamera& other = add<KaCamera>("cam1");
    other.Trans->Position = {0, 0, 0};
    beginSceneFrame();
    Scene->RenderOpaque();
    EXPECT_EQ(regionMean(frame(), 0, 0, test::kViewSize, test::kViewSize)[1], 0) << "cam1 draws no marker";
    other.SetName("cam2");
    beginSceneFrame();
    Scene->RenderOpaque();
    const auto pixels = frame();
    double green = 0;
    for (std::size_t i = 1; i < pixels.size(); i += 4)
        green = std::max<double>(green, pixels[i]);
    EXPECT_NEAR(green, 153, 2) << "a wire model in (0, 0.6, 0)";
    CameraModel.reset();
}

// Before: loading the sample (its own "cam1") renamed the editor's camera to
// "cam1_1", whose wire model, drawn at the eye, put a green line across the view.
TEST_F(EffectsDrawingTest, TheCameraTheViewLooksThroughDrawsNoMarkerWhateverItsName)
{
    SceneObjects->DeleteByName("lamp");
    Scene->ShowMarkers = true;
    // A floor-like square from behind the eye to 1 unit in front of it, under
    // it: drawn at the eye, its wire edges run down the picture.
    auto mesh = std::make_unique<KaMesh>();
    mesh->Name = "deck";
    mesh->Vertices = {{-1, -0.3f, -1}, {1, -0.3f, -1}, {1, -0.3f, 1}, {-1, -0.3f, 1}};
    mesh->Normals.assign(4, Vector3{0, 1, 0});
    mesh->TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    mesh->Indices = {0, 1, 2, 0, 2, 3};
    mesh->VertexCount = 4;
    mesh->IndexCount = 6;
    Meshes->Add(std::move(mesh));
    CameraModel = std::make_unique<KaGeometry>();
    CameraModel->MeshName = "deck";
    const auto greenest = [this] {
        beginSceneFrame();
        Scene->RenderOpaque();
        const auto pixels = frame();
        double green = 0;
        for (std::size_t i = 1; i < pixels.size(); i += 4)
            green = std::max<double>(green, pixels[i]);
        return green;
    };

    KaCamera& viewer = *SceneObjects->ActiveCamera();
    viewer.SetName("cam1_1");
    ActiveCameraName = "cam1_1";
    ASSERT_EQ(SceneObjects->ActiveCamera(), &viewer);
    EXPECT_EQ(greenest(), 0) << "the active camera draws no marker";

    KaCamera& other = add<KaCamera>("cam2"); // the same model, seen from the viewer
    other.Trans->Position = viewer.Trans->Position;
    EXPECT_NEAR(greenest(), 153, 2) << "another camera at the same place still does";
    CameraModel.reset();
}

TEST_F(EffectsDrawingTest, TheCameraTakesItsViewVolumeFromTheCurrentMatrices)
{
    KaCamera& camera = *SceneObjects->ActiveCamera();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.1, 0.1, -0.1, 0.1, 0.1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera.UpdateFrustumFromGL();
    const KaPlane& nearPlane = camera.Frustum[5];
    EXPECT_NEAR(nearPlane[2], -1, 1e-5);
    EXPECT_NEAR(nearPlane[3], -0.1, 1e-4);
}

} // namespace
} // namespace ra7
