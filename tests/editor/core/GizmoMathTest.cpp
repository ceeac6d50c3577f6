// The gizmo's arithmetic: the axes a picked colour grabs, the signs and
// scales of a drag for each axis and mode, the rotation about an axis, the
// turn that keeps a script's scale, and the placement in front of the camera.

#include "core/GizmoMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace ra7::editor {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void expectNear(const Matrix3& actual, const Matrix3& expected, float tolerance = 1e-5f)
{
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

float rowLength(const Matrix3& m, std::size_t row)
{
    return std::sqrt(m[3 * row] * m[3 * row] + m[3 * row + 1] * m[3 * row + 1] +
                     m[3 * row + 2] * m[3 * row + 2]);
}

float rowDot(const Matrix3& m, std::size_t a, std::size_t b)
{
    return m[3 * a] * m[3 * b] + m[3 * a + 1] * m[3 * b + 1] + m[3 * a + 2] * m[3 * b + 2];
}

TEST(GizmoAxes, AComponentGrabsOnlyAboveOneTenth)
{
    EXPECT_FALSE(AxesUnder({0.1f, 0.1f, 0.1f}).Any());
    EXPECT_EQ(AxesUnder({0.11f, 0, 0}), (GrabbedAxes{true, false, false}));
    EXPECT_EQ(AxesUnder({0, 1, 0}), (GrabbedAxes{false, true, false}));
    EXPECT_EQ(AxesUnder({0, 0, 1}), (GrabbedAxes{false, false, true}));
}

TEST(GizmoAxes, AMixedEdgeGrabsBothAndTheDragUsesYThenZThenX)
{
    EXPECT_EQ(AxesUnder({0.5f, 0.5f, 0}), (GrabbedAxes{true, true, false}));
    EXPECT_EQ(DraggedAxis({true, true, true}), GizmoAxis::Y);
    EXPECT_EQ(DraggedAxis({true, true, false}), GizmoAxis::Y);
    EXPECT_EQ(DraggedAxis({true, false, true}), GizmoAxis::Z);
    EXPECT_EQ(DraggedAxis({false, true, true}), GizmoAxis::Y);
    EXPECT_EQ(DraggedAxis({true, false, false}), GizmoAxis::X);
    EXPECT_EQ(DraggedAxis({}), std::nullopt);
}

TEST(GizmoSigns, TheCameraOnTheSameCoordinateCountsAsTheLowerSide)
{
    // Camera x ≤ gizmo x gives sZ −1; camera z ≤ gizmo z gives sX +1.
    const DragSigns level = SideSigns({2, 0, 3}, {2, 5, 3});
    EXPECT_EQ(level.z, -1.0f);
    EXPECT_EQ(level.x, 1.0f);
    const DragSigns beyond = SideSigns({2.001f, 0, 3.001f}, {2, 5, 3});
    EXPECT_EQ(beyond.z, 1.0f);
    EXPECT_EQ(beyond.x, -1.0f);
}

TEST(GizmoMove, EachAxisFollowsItsMouseDirectionWithItsSign)
{
    // At distance 11 a pixel is 11/550 = 0.02 units.
    const DragSigns plus{1, 1};
    const DragSigns minus{-1, -1};
    const ScreenDelta leftAndUp{50, 25};
    expectNear(MoveOffset(GizmoAxis::Y, 11, leftAndUp, plus), {0, 0.5f, 0});
    expectNear(MoveOffset(GizmoAxis::Y, 11, leftAndUp, minus), {0, 0.5f, 0});
    expectNear(MoveOffset(GizmoAxis::Z, 11, leftAndUp, plus), {0, 0, 1.0f});
    expectNear(MoveOffset(GizmoAxis::Z, 11, leftAndUp, minus), {0, 0, -1.0f});
    expectNear(MoveOffset(GizmoAxis::X, 11, leftAndUp, plus), {1.0f, 0, 0});
    expectNear(MoveOffset(GizmoAxis::X, 11, leftAndUp, minus), {-1.0f, 0, 0});
}

TEST(GizmoMove, TwiceTheDistanceMovesTwiceAsFar)
{
    const Vector3 near = MoveOffset(GizmoAxis::X, 7, {30, 0}, {1, 1});
    const Vector3 far = MoveOffset(GizmoAxis::X, 14, {30, 0}, {1, 1});
    EXPECT_FLOAT_EQ(far.x, 2 * near.x);
}

TEST(GizmoMove, NoMovementMovesNothing)
{
    EXPECT_EQ(MoveOffset(GizmoAxis::Z, 100, {0, 0}, {-1, 1}), (Vector3{0, 0, 0}));
}

TEST(RotationAboutAxis, EqualsTheAxisRotationsForTheCoordinateAxes)
{
    for (const float angle : {-2.5f, -0.3f, 0.0f, 0.7f, kPi}) {
        expectNear(RotationAboutAxis({1, 0, 0}, angle), RotationX(angle));
        expectNear(RotationAboutAxis({0, 1, 0}, angle), RotationY(angle));
        expectNear(RotationAboutAxis({0, 0, 1}, angle), RotationZ(angle));
    }
}

TEST(RotationAboutAxis, KeepsItsAxisAndIsARotation)
{
    Vector3 w{1, 2, -2};
    VectorNormalize(w);
    const Matrix3 m = RotationAboutAxis(w, 1.1f);
    Vector3 turned = w;
    VectorTransform(turned, m);
    expectNear(turned, w);
    for (std::size_t row = 0; row < 3; ++row)
        EXPECT_NEAR(rowLength(m, row), 1, 1e-6f);
    EXPECT_NEAR(rowDot(m, 0, 1), 0, 1e-6f);
    // A quarter turn about z takes x to y with row vectors, as RotationZ does.
    Vector3 x{1, 0, 0};
    VectorTransform(x, RotationAboutAxis({0, 0, 1}, kPi / 2));
    expectNear(x, {0, 1, 0});
}

TEST(GizmoTurn, WorldAxesTakeTheDescribedAnglesAndScale)
{
    // Distance 55: k = 0.1 radians per pixel about the world axes.
    const DragSigns signs{-1, 1};
    expectNear(TurnStep(GizmoAxis::Y, true, 55, {2, 7}, signs, kIdentityMatrix3), RotationY(-0.2f));
    expectNear(TurnStep(GizmoAxis::Z, true, 55, {2, 7}, signs, kIdentityMatrix3), RotationZ(-0.7f));
    expectNear(TurnStep(GizmoAxis::X, true, 55, {2, 7}, signs, kIdentityMatrix3), RotationX(0.7f));
}

TEST(GizmoTurn, OwnAxesTurnAboutTheObjectsAxisFasterPerPixel)
{
    // Distance 25: k = 0.1 about the own axes (d/250).
    const Matrix3 turned = RotationZ(kPi / 2); // its own x axis is the world's y
    const Matrix3 step = TurnStep(GizmoAxis::X, false, 25, {0, 3}, {1, 1}, turned);
    expectNear(step, RotationY(0.3f));
}

TEST(GizmoTurn, AScaledObjectStillTurnsByAPureRotation)
{
    // A script scaled the object by 3 along its own y: the axis is not unit.
    const Matrix3 scaled = MatrixMultiply3({1, 0, 0, 0, 3, 0, 0, 0, 1}, RotationX(0.4f));
    const Matrix3 step = TurnStep(GizmoAxis::Y, false, 25, {5, 0}, {1, 1}, scaled);
    for (std::size_t row = 0; row < 3; ++row)
        EXPECT_NEAR(rowLength(step, row), 1, 1e-5f);
    EXPECT_NEAR(rowDot(step, 0, 2), 0, 1e-5f);
}

TEST(GizmoTurn, ManySmallTurnsOfAScaledObjectKeepItsScaleAndRightAngles)
{
    const Matrix3 start = MatrixMultiply3({2, 0, 0, 0, 0.5f, 0, 0, 0, 1}, RotationY(0.3f));
    const Vector3 lengths = RowLengths(start);
    Matrix3 kept = start;
    Matrix3 drifting = start;
    for (int i = 0; i < 20000; ++i) {
        const Matrix3 turn = TurnStep(GizmoAxis::Z, false, 25, {0, 0.37f}, {1, 1}, kept);
        kept = OrthogonalizeRows(MatrixMultiply3(kept, turn), lengths);
        drifting = MatrixMultiply3(drifting, TurnStep(GizmoAxis::Z, false, 25, {0, 0.37f}, {1, 1}, drifting));
    }
    EXPECT_NEAR(rowLength(kept, 0), 2, 1e-5f);
    EXPECT_NEAR(rowLength(kept, 1), 0.5f, 1e-5f);
    EXPECT_NEAR(rowLength(kept, 2), 1, 1e-5f);
    EXPECT_NEAR(rowDot(kept, 0, 1), 0, 1e-5f);
    EXPECT_NEAR(rowDot(kept, 1, 2), 0, 1e-5f);
    // Without it the products drift measurably.
    EXPECT_GT(std::abs(rowLength(drifting, 0) - 2) + std::abs(rowDot(drifting, 0, 1)), 1e-4f);
}

TEST(GizmoTurn, OrthogonalizingKeepsAMirrorAndLeavesADegenerateMatrix)
{
    const Matrix3 mirrored = {1, 0, 0, 0, 1, 0, 0, 0, -2};
    expectNear(OrthogonalizeRows(mirrored), mirrored);
    const Matrix3 flat = {1, 0, 0, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ(OrthogonalizeRows(flat), flat);
    EXPECT_EQ(PureRotation(flat), kIdentityMatrix3);
    expectNear(PureRotation({0, 4, 0, -2, 0, 0, 0, 0, 7}), RotationZ(kPi / 2));
}

TEST(GizmoPlacement, StandsFourteenUnitsFromTheCameraTowardsTheTarget)
{
    const Vector3 camera{1, 2, 3};
    const Vector3 target{1, 2, -97};
    const GizmoPlacement placement = PlaceGizmo(target, camera, 0.1f);
    ASSERT_TRUE(placement.visible);
    EXPECT_FLOAT_EQ(placement.distance, 100);
    expectNear(VectorAdd(placement.origin, placement.shift), {1, 2, 3 - kGizmoDistance}, 1e-4f);
    // A near target puts the gizmo behind it, still 14 units away.
    const GizmoPlacement close = PlaceGizmo({1, 2, 1}, camera, 0.1f);
    expectNear(VectorAdd(close.origin, close.shift), {1, 2, 3 - kGizmoDistance}, 1e-4f);
}

TEST(GizmoPlacement, ATargetAtTheCameraShowsNoGizmo)
{
    // The selected object is the active camera itself: no direction.
    EXPECT_FALSE(PlaceGizmo({5, 5, 5}, {5, 5, 5}, 0.1f).visible);
    EXPECT_FALSE(PlaceGizmo({5, 5, 5.05f}, {5, 5, 5}, 0.1f).visible);
    EXPECT_TRUE(PlaceGizmo({5, 5, 5.2f}, {5, 5, 5}, 0.1f).visible);
}

} // namespace
} // namespace ra7::editor
