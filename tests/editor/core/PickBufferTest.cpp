// Picking on a real context (Mesa through headless EGL): the object under a
// pixel, the front one of two, markers and static background, the gizmo's
// axes, a multisampled view, and the OpenGL state left as it was.

#include "core/PickBuffer.h"
#include "MeshShapes.h"
#include "core/EditorSelection.h"
#include "core/GizmoDrawing.h"
#include "effects/Ka7Light.h"
#include "engine/GLTestSupport.h"
#include "resources/Ka7MeshList.h"
#include "runtime/Capabilities.h"
#include "runtime/DotWindow.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

namespace ra7::editor {
namespace {

// A view as large as the editor's, whatever the size of the test context:
// the picking passes draw into their own small buffer.
constexpr Viewport kView{0, 0, 1024, 768};

class ViewPickTest : public ra7::test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Meshes = std::make_unique<KaMeshList>();
        SceneObjects = std::make_unique<KaObjArray>();
        addMesh("cube", [](KaMesh& mesh) { datagen::AppendBox(mesh, {0, 0, 0}, {1, 1, 1}); });
        addMesh("arrow", [](KaMesh& mesh) {
            datagen::AppendCylinderX(mesh, 0.0f, 0.75f, 0.03f, 12);
            datagen::AppendConeX(mesh, 0.75f, 1.0f, 0.08f, 16);
        });
        auto camera = std::make_unique<KaCamera>();
        camera->SetName("eye");
        SceneObjects->Add(std::move(camera));
        ActiveCameraName = "eye";
    }
    void TearDown() override
    {
        pick.Release();
        CameraModel.reset();
        SceneObjects.reset();
        ActiveCameraName.clear();
        GLTest::TearDown();
    }

    template <class Fill>
    void addMesh(const std::string& name, Fill fill)
    {
        auto mesh = std::make_unique<KaMesh>();
        fill(*mesh);
        Meshes->Add(datagen::FinishMesh(std::move(mesh), name));
    }
    KaGeometry& cube(const std::string& name, Vector3 position)
    {
        auto geometry = std::make_unique<KaGeometry>();
        geometry->SetName(name);
        geometry->MeshName = "cube";
        geometry->Trans->Position = position;
        return static_cast<KaGeometry&>(*SceneObjects->Add(std::move(geometry)));
    }
    std::unique_ptr<KaGeometry> arrow(const Matrix3& rotation)
    {
        auto geometry = std::make_unique<KaGeometry>();
        geometry->MeshName = "arrow";
        geometry->Trans->Rotation = rotation;
        return geometry;
    }

    // The framebuffer pixel of the view where a world point is drawn.
    static FramebufferPixel pixelOf(const Vector3& world)
    {
        const Matrix4 m =
            MatrixMultiply4(SceneObjects->ActiveCamera()->Trans->ViewMatrix(), ProjectionFor(kView));
        const float v[4] = {world.x, world.y, world.z, 1};
        float clip[4] = {};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                clip[i] += m[static_cast<std::size_t>(j * 4 + i)] * v[j];
        const float x = (clip[0] / clip[3] + 1) / 2 * static_cast<float>(kView.width);
        const float y = (clip[1] / clip[3] + 1) / 2 * static_cast<float>(kView.height);
        return {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
    }

    // With `culled`, only what may show in the pixels around `pixel` is drawn, as a click does.
    std::string objectAt(FramebufferPixel pixel, bool culled = false)
    {
        const KaTransformation eye = *SceneObjects->ActiveCamera()->Trans;
        const KaFrustum around =
            ExtractFrustum(PickProjection(kView, pixel, kPickRegion, ProjectionFor(kView)), eye.ViewMatrix());
        const auto colour = pick.ReadBytes(kView, pixel, ProjectionFor(kView), eye, [&] {
            DrawObjectsForPicking(*SceneObjects, culled ? &around : nullptr);
        });
        EXPECT_TRUE(colour);
        const auto slot = colour ? SlotOfPickColour(*colour) : std::nullopt;
        return slot ? SceneObjects->GetItem(*slot)->Name() : std::string();
    }

    std::array<float, 3> gizmoAt(const GizmoPicture& picture, const GizmoArrows& arrows,
                                 FramebufferPixel pixel)
    {
        const KaTransformation eye = *SceneObjects->ActiveCamera()->Trans;
        const auto colour = pick.ReadColour(kView, pixel, ProjectionFor(kView), eye,
                                            [&] { DrawGizmo(picture, arrows, true); });
        EXPECT_TRUE(colour);
        return colour.value_or(std::array<float, 3>{});
    }

    PickBuffer pick;
};

TEST_F(ViewPickTest, TheObjectUnderThePixelIsFoundAndTheFrontOneWins)
{
    cube("far", {2, 0, -20});
    cube("near", {0, 0, -10});
    auto light = std::make_unique<KaLight>();
    light->SetName("lamp");
    light->Trans->Position = {4, 2, -10};
    SceneObjects->Add(std::move(light));
    EXPECT_EQ(objectAt(pixelOf({0, 0, -10})), "near");
    EXPECT_EQ(objectAt(pixelOf({0.5f, 0.5f, -9})), "near"); // the far cube is behind
    EXPECT_EQ(objectAt(pixelOf({2.6f, 0, -20})), "far");
    EXPECT_EQ(objectAt(pixelOf({-5, 0, -10})), "");
    // A light is a point of a few pixels: a click beside its centre still finds it.
    FramebufferPixel beside = pixelOf({4, 2, -10});
    beside.x += 4;
    EXPECT_EQ(objectAt(beside), "lamp");
    beside.x += 10;
    EXPECT_EQ(objectAt(beside), "");
}

TEST_F(ViewPickTest, SkippingWhatLiesOutsideThePickedPixelsLosesNothing)
{
    // Turned, stretched (as a script's "scale" does), static and plain boxes across the view.
    cube("plain", {-3, -2, -12});
    KaGeometry& turned = cube("turned", {2.5f, 1.5f, -11});
    turned.Trans->Rotation = MatrixMultiply3({3, 0, 0, 0, 0.5f, 0, 0, 0, 1}, RotationZ(0.6f));
    cube("far", {0, 0, -40}).Trans->Rotation = RotationY(0.8f);
    KaGeometry& around = cube("around", {4, -3, -8});
    around.Static = true;
    int hits = 0;
    for (std::int32_t y = 4; y < kView.height; y += 24)
        for (std::int32_t x = 4; x < kView.width; x += 24) {
            const std::string all = objectAt({x, y});
            EXPECT_EQ(objectAt({x, y}, true), all) << x << ", " << y;
            hits += all.empty() ? 0 : 1;
        }
    EXPECT_GT(hits, 100) << "the boxes cover part of the view";
}

TEST_F(ViewPickTest, StaticGeometryIsTheBackgroundAroundTheCamera)
{
    SceneObjects->ActiveCamera()->Trans->Position = {0, 0, 5};
    KaGeometry& sky = cube("sky", {0, 0, -2}); // drawn at (0, 0, 3): in front of the box
    sky.Static = true;
    cube("box", {0, 0, -10});
    EXPECT_EQ(objectAt(pixelOf({0, 0, -10})), "box");
    EXPECT_EQ(objectAt(pixelOf({0.9f, 0.9f, 2})), "sky");
}

TEST_F(ViewPickTest, CamerasArePickedByTheirModelButNeverTheActiveOne)
{
    // A model as large as this one would fill the whole view if the eye drew its own.
    CameraModel = std::make_unique<KaGeometry>();
    CameraModel->MeshName = "cube";
    EXPECT_EQ(objectAt(pixelOf({0, 0, -10})), "");
    auto other = std::make_unique<KaCamera>();
    other->SetName("other");
    other->Trans->Position = {0, 0, -10};
    SceneObjects->Add(std::move(other));
    EXPECT_EQ(objectAt(pixelOf({0.5f, -0.5f, -10})), "other");
    CameraModel.reset();
}

TEST_F(ViewPickTest, EachArrowAndRingOfTheGizmoIsPickedInItsColour)
{
    cube("box", {0, 0, -10});
    const auto arrowX = arrow(kIdentityMatrix3);
    const auto arrowY = arrow(RotationZ(DegToRad(90)));
    const auto arrowZ = arrow(RotationY(DegToRad(-90)));
    const GizmoArrows arrows{arrowX.get(), arrowY.get(), arrowZ.get()};
    EditorSelection selection;
    selection.Set({"box"});
    GizmoState state;
    auto picture = PictureFor(*SceneObjects, selection, state);
    ASSERT_TRUE(picture);
    // The gizmo stands 14 units in front of the camera, towards the box.
    auto colour = gizmoAt(*picture, arrows, pixelOf({0.8f, 0, -14}));
    EXPECT_EQ(AxesUnder(colour), (GrabbedAxes{true, false, false}));
    EXPECT_EQ(colour[0], 1.0f);
    colour = gizmoAt(*picture, arrows, pixelOf({0, 0.8f, -14}));
    EXPECT_EQ(AxesUnder(colour), (GrabbedAxes{false, true, false}));
    colour = gizmoAt(*picture, arrows, pixelOf({0.5f, 0.5f, -14}));
    EXPECT_FALSE(AxesUnder(colour).Any());

    state.SetMode(GizmoMode::Rotate);
    picture = PictureFor(*SceneObjects, selection, state);
    ASSERT_TRUE(picture);
    colour = gizmoAt(*picture, arrows, pixelOf({1.41421f, 1.41421f, -14})); // the ring about z
    EXPECT_EQ(AxesUnder(colour), (GrabbedAxes{false, false, true}));
    colour = gizmoAt(*picture, arrows, pixelOf({0.3f, 0.3f, -14}));
    EXPECT_FALSE(AxesUnder(colour).Any());
}

TEST_F(ViewPickTest, APickLeavesTheFramebufferTheViewAndTheMatricesAsTheyWere)
{
    cube("box", {0, 0, -10});
    const GLuint window = test::sharedHeadless().windowFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, window);
    glViewport(3, 4, 50, 40);
    glClearColor(0.25f, 0.5f, 0.75f, 1);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -3, 3);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    Matrix4 projectionBefore{}, modelViewBefore{};
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, modelViewBefore.data());

    EXPECT_EQ(objectAt(pixelOf({0, 0, -10})), "box");

    GLint framebuffer = 0, viewport[4] = {}, mode = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(static_cast<GLuint>(framebuffer), window);
    EXPECT_EQ(viewport[0], 3);
    EXPECT_EQ(viewport[3], 40);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[1], 0.5f);
    Matrix4 projection{}, modelView{};
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    EXPECT_EQ(projection, projectionBefore);
    EXPECT_EQ(modelView, modelViewBefore);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ViewPickTest, AMultisampledViewStillPicks)
{
    {
        TDotContext context(std::make_unique<HeadlessContext>(64, 64));
        context.SetBufferBits(24, 8, 24, 8);
        context.SetIntAttrib(kDotSampleBuffers, 1);
        context.SetIntAttrib(kDotSamples, 4);
        ASSERT_TRUE(context.InitGL());
        GLint samples = 0;
        glGetIntegerv(GL_SAMPLES, &samples);
        ASSERT_EQ(samples, 4);
        // Reading the view's own pixel would be an error here; the pick buffer is not multisampled.
        cube("box", {0, 0, -10});
        PickBuffer own;
        const KaTransformation eye = *SceneObjects->ActiveCamera()->Trans;
        const auto colour = own.ReadBytes(kView, pixelOf({0, 0, -10}), ProjectionFor(kView), eye,
                                          [] { DrawObjectsForPicking(*SceneObjects); });
        ASSERT_TRUE(colour);
        EXPECT_EQ(SlotOfPickColour(*colour), 1);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        own.Release();
        // The meshes' display lists belong to this context; the next draw makes them again.
        for (std::int32_t i = 0; i < Meshes->Count(); ++i)
            Meshes->Get(i).ResetDisplayList();
    }
    test::sharedContext().MakeCurrent();
}

} // namespace
} // namespace ra7::editor
