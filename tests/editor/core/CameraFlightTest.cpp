// Flying the editor's camera: the pitch clamp and the yaw wrap, the three
// Ctrl moves, the angles taken back from a camera turned otherwise, key and
// wheel flying, and framing the selection.

#include "core/CameraFlight.h"

#include "engine/SceneTestSupport.h"
#include "resources/Ka7MeshList.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ra7::editor {
namespace {

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

Vector3 forwardOf(const Matrix3& rotation)
{
    return EyeToWorld({0, 0, -1}, rotation);
}

TEST(CameraFlight, PitchNeverLeavesNinetyDegreesEitherWay)
{
    CameraFlight flight;
    flight.CtrlMove(0, -1000, true, false); // far up
    EXPECT_EQ(flight.Pitch(), 90.0f);
    flight.CtrlMove(0, 30, true, false);
    EXPECT_EQ(flight.Pitch(), 75.0f);
    flight.CtrlMove(0, 5000, true, false);
    EXPECT_EQ(flight.Pitch(), -90.0f);
}

TEST(CameraFlight, YawPastAFullTurnWrapsIntoZeroToThreeSixty)
{
    CameraFlight flight;
    flight.CtrlMove(-740, 0, true, false); // yaw += 370
    EXPECT_NEAR(flight.Yaw(), 10.0f, 1e-4f);
    flight.CtrlMove(40, 0, true, false); // yaw −= 20
    EXPECT_NEAR(flight.Yaw(), 350.0f, 1e-4f);
    // Far more than one turn in one move still lands in range.
    flight.CtrlMove(-5000, 0, true, false);
    EXPECT_GE(flight.Yaw(), 0.0f);
    EXPECT_LT(flight.Yaw(), 360.0f);
}

TEST(CameraFlight, TheMouseLooksWhereItGoes)
{
    CameraFlight flight;
    ASSERT_TRUE(flight.CtrlMove(20, 0, true, false).turned);
    // Right: the view turns right (towards +x from looking down −z).
    EXPECT_GT(forwardOf(flight.Rotation()).x, 0.1f);
    flight.SetAngles(0, 0);
    flight.CtrlMove(0, -20, true, false);
    EXPECT_GT(forwardOf(flight.Rotation()).y, 0.1f); // up looks up
}

TEST(CameraFlight, BothButtonsMoveAlongTheViewAndMiddlePans)
{
    CameraFlight flight;
    flight.SetAngles(0, 90); // looking down −x
    const FlightStep along = flight.CtrlMove(7, 30, true, true);
    EXPECT_FALSE(along.turned);
    expectNear(along.move, {2, 0, 0}); // mouse down: back, away from −x
    const FlightStep pan = flight.CtrlMove(15, -30, false, true);
    EXPECT_FALSE(pan.turned);
    // −dx/15 along the camera's right (which is −z here), dy/15 along its up.
    expectNear(pan.move, {0, -2, 1});
    EXPECT_EQ(flight.Yaw(), 90.0f);
}

TEST(CameraFlight, TheTurnOfAVectorIsTheInverseOfTheCameraRotation)
{
    CameraFlight flight;
    flight.SetAngles(-35, 123);
    Vector3 eye{0.3f, -0.2f, 0.9f};
    VectorNormalize(eye);
    expectNear(flight.ToWorld(eye), EyeToWorld(eye, flight.Rotation()));
}

TEST(CameraFlight, AnglesComeBackFromACameraTurnedOtherwise)
{
    for (const float pitch : {-89.0f, -30.0f, 0.0f, 45.0f, 89.0f})
        for (const float yaw : {0.0f, 10.0f, 179.0f, 270.0f, 359.0f}) {
            CameraFlight made;
            made.SetAngles(pitch, yaw);
            CameraFlight taken;
            taken.TakeFrom(made.Rotation());
            EXPECT_NEAR(taken.Pitch(), pitch, 1e-2f);
            const float yawError = std::fmod(std::abs(taken.Yaw() - yaw) + 180.0f, 360.0f) - 180.0f;
            EXPECT_NEAR(yawError, 0.0f, 1e-2f) << pitch << " " << yaw;
        }
}

TEST(CameraFlight, ACameraLookingStraightDownKeepsItsHeading)
{
    CameraFlight made;
    made.SetAngles(-90, 60);
    CameraFlight taken;
    taken.TakeFrom(made.Rotation());
    EXPECT_NEAR(taken.Pitch(), -90.0f, 1e-3f);
    EXPECT_NEAR(taken.Yaw(), 60.0f, 1e-2f);
    // A rotation of zeros looks nowhere: the angles stay.
    taken.TakeFrom({0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_NEAR(taken.Yaw(), 60.0f, 1e-2f);
}

TEST(CameraKeys, KeysFlyAlongTheViewSidewaysAndUpTheWorld)
{
    CameraFlight turned;
    turned.SetAngles(0, 90); // looking down −x, right is −z
    const Matrix3 rotation = turned.Rotation();
    FlyKeys keys;
    keys.forward = true;
    expectNear(KeyFlight(keys, rotation, 500), {-5, 0, 0});
    keys.fast = true;
    expectNear(KeyFlight(keys, rotation, 500), {-20, 0, 0});
    keys = FlyKeys{};
    keys.right = true;
    expectNear(KeyFlight(keys, rotation, 1000), {0, 0, -10});
    keys = FlyKeys{};
    keys.up = true;
    keys.forward = true;
    keys.back = true; // forward and back cancel
    expectNear(KeyFlight(keys, rotation, 1000), {0, 10, 0});
    EXPECT_EQ(KeyFlight(FlyKeys{}, rotation, 1000), (Vector3{0, 0, 0}));
}

TEST(CameraKeys, TheWheelMovesAlongTheView)
{
    CameraFlight level;
    expectNear(WheelMove(120, false, level.Rotation()), {0, 0, -1});
    expectNear(WheelMove(-240, false, level.Rotation()), {0, 0, 2});
    expectNear(WheelMove(120, true, level.Rotation()), {0, 0, -5});
}

class CameraPlacementTest : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        Meshes = std::make_unique<KaMeshList>();
    }
    void TearDown() override
    {
        Meshes.reset();
        SceneTest::TearDown();
    }
    // A mesh with the box from (−1, −2, −3) to (1, 2, 3).
    void addBoxMesh(const std::string& name)
    {
        auto mesh = std::make_unique<KaMesh>();
        mesh->Name = name;
        mesh->Vertices = {{-1, -2, -3}, {1, 2, 3}};
        Meshes->Add(std::move(mesh));
    }
};

TEST_F(CameraPlacementTest, AChildCameraKeepsTheOffsetThatPutsItWhereItFlew)
{
    auto& rig = add<KaGeometry>("rig");
    rig.Trans->Position = {10, 0, 0};
    rig.Trans->Rotation = RotationY(0.5f);
    auto& camera = add<KaCamera>("eye");
    rig.AddChild(camera);
    scene().UpdateRoots();
    const Vector3 before = camera.Trans->Position;
    MoveCamera(scene(), camera, {1, 2, 3});
    scene().UpdateRoots();
    expectNear(camera.Trans->Position, VectorAdd(before, {1, 2, 3}));
}

TEST_F(CameraPlacementTest, TheSelectionSphereSkipsTheCameraMissingAndStaticObjects)
{
    addBoxMesh("box");
    auto& box = add<KaGeometry>("crate");
    box.MeshName = "box";
    box.Trans->Position = {5, 0, 0};
    auto& light = add<KaGeometry>("far");
    light.Static = true;
    add<KaCamera>("eye");
    const auto sphere = SelectionSphere(scene(), {"crate", "far", "eye", "ghost"}, "eye");
    ASSERT_TRUE(sphere);
    expectNear(sphere->centre, {5, 0, 0});
    EXPECT_NEAR(sphere->radius, std::sqrt(14.0f), 1e-4f);
    EXPECT_FALSE(SelectionSphere(scene(), {"eye", "far"}, "eye"));
}

TEST_F(CameraPlacementTest, TwoObjectsMakeOneSphereAroundBoth)
{
    add<KaGeometry>("a").Trans->Position = {-4, 0, 0}; // no mesh: radius 1
    add<KaGeometry>("b").Trans->Position = {4, 0, 0};
    const auto sphere = SelectionSphere(scene(), {"a", "b"}, "");
    ASSERT_TRUE(sphere);
    expectNear(sphere->centre, {0, 0, 0});
    EXPECT_NEAR(sphere->radius, 5, 1e-4f);
}

TEST(CameraFraming, TheFramedSphereFitsTheViewFromTheSameDirection)
{
    CameraFlight flight;
    flight.SetAngles(-20, 30);
    const Matrix3 rotation = flight.Rotation();
    const BoundingSphere sphere{{3, 4, 5}, 2};
    const Vector3 at = FramingPosition(sphere, rotation, 45, 4.0f / 3.0f);
    const Vector3 towards = VectorSub(sphere.centre, at);
    const float distance = std::sqrt(VectorLengthSqr(towards));
    expectNear(VectorScale(towards, 1 / distance), forwardOf(rotation));
    // The sphere's edge is inside half the vertical field of view.
    EXPECT_LT(std::asin(sphere.radius / distance), DegToRad(22.5f));
    EXPECT_GT(std::asin(sphere.radius / distance), DegToRad(15.0f));
    // A point-sized object is still looked at from some distance.
    const Vector3 point = FramingPosition({{0, 0, 0}, 0}, rotation, 45, 1);
    EXPECT_NEAR(std::sqrt(VectorLengthSqr(point)), 1.0f, 1e-4f);
}

} // namespace
} // namespace ra7::editor
