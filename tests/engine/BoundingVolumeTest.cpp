// Bounding shapes: view-volume tests on their boundaries, the set's rule,
// pairwise tests, world placement, the set record and PHZ files.
#include "engine/TestSupport.h"

#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7Camera.h"

#include <gmock/gmock.h>

#include <cstring>
#include <numbers>

namespace ra7 {
namespace {

using ::testing::HasSubstr;

// A box-shaped view volume: inside when −10 < x, y, z < 10.
KaFrustum cube()
{
    return {{{-1, 0, 0, 10}, {1, 0, 0, 10}, {0, 1, 0, 10}, {0, -1, 0, 10}, {0, 0, -1, 10}, {0, 0, 1, 10}}};
}

class BoundingTest : public test::ScratchDirectoryTest {
protected:
    void SetUp() override
    {
        ScratchDirectoryTest::SetUp();
        ResetSettings();
        Settings.UseFrustumCulling = true;
    }
    void TearDown() override
    {
        ResetSettings();
        ScratchDirectoryTest::TearDown();
    }
    KaTransformation at(float x, float y = 0, float z = 0)
    {
        KaTransformation t;
        t.Position = {x, y, z};
        return t;
    }
};

using ViewVolume = BoundingTest;
using ShapePairs = BoundingTest;
using BoundsFile = BoundingTest;

TEST_F(ViewVolume, PointOnAPlaneIsOutside)
{
    KaBoundingObj point;
    EXPECT_TRUE(point.TestFrustum(cube(), at(9.99f)));
    EXPECT_FALSE(point.TestFrustum(cube(), at(10)));
    EXPECT_EQ(point.FrustumResult, 0);
    point.LocalTrans.Position = {-5, 0, 0}; // the offset moves the centre
    EXPECT_TRUE(point.TestFrustum(cube(), at(10)));
}

TEST_F(ViewVolume, SphereTouchingFromOutsideIsOutside)
{
    KaBoundingSphere sphere(2);
    EXPECT_FALSE(sphere.TestFrustum(cube(), at(12))); // distance exactly −r
    EXPECT_TRUE(sphere.TestFrustum(cube(), at(11.9f)));
    KaBoundingSphere none(0); // a radius of exactly 0 is always visible
    EXPECT_TRUE(none.TestFrustum(cube(), at(1000)));
}

TEST_F(ViewVolume, BoxIsOutsideOnlyWhenAllCornersAreBehindOnePlane)
{
    KaBoundingAABB box({1, 1, 1});
    EXPECT_TRUE(box.TestFrustum(cube(), at(11))); // a corner lies exactly on the plane
    EXPECT_FALSE(box.TestFrustum(cube(), at(11.01f)));
    box.Size = {0, 0.001f, 0.001f}; // x = 0: always visible, y and z not examined
    EXPECT_TRUE(box.TestFrustum(cube(), at(1000)));
}

TEST_F(ViewVolume, BoxAgainstATiltedPlaneIsDecidedByItsFarthestCorner)
{
    // Normal (0.6, 0.8, 0): of the box around the origin, the corner
    // (1, 1, ±1) lies 1.4 + d from the plane, every other corner nearer.
    KaFrustum frustum = cube();
    frustum[kRightPlane] = {0.6f, 0.8f, 0, -1.3f};
    KaBoundingAABB box({1, 1, 1});
    EXPECT_TRUE(box.TestFrustum(frustum, at(0)));
    frustum[kRightPlane][3] = -1.5f;
    EXPECT_FALSE(box.TestFrustum(frustum, at(0)));
    box.Size = {-1, -1, -1}; // the same box, its half sizes given negative
    EXPECT_FALSE(box.TestFrustum(frustum, at(0)));
    EXPECT_TRUE(box.TestFrustum(frustum, at(0.2f, 0)));
}

TEST_F(ViewVolume, CullingOffAnswersVisible)
{
    Settings.UseFrustumCulling = false;
    KaBoundingObj point;
    KaBoundingVolume set;
    EXPECT_TRUE(point.TestFrustum(cube(), at(500)));
    EXPECT_TRUE(set.TestFrustum(cube(), at(500)));
}

TEST_F(ViewVolume, SetNeedsItsMainBoxAndOneFurtherShape)
{
    KaBoundingVolume set;
    EXPECT_TRUE(set.TestFrustum(cube(), at(0)));
    KaBoundingSphere far(1);
    far.LocalTrans.Position = {50, 0, 0};
    set.AddCopy(far);
    EXPECT_FALSE(set.TestFrustum(cube(), at(0)));
    EXPECT_EQ(set.FrustumResult, 0);
    set.AddCopy(KaBoundingObj());
    EXPECT_TRUE(set.TestFrustum(cube(), at(0)));
    EXPECT_FALSE(set.TestFrustum(cube(), at(100))); // the main box is outside
}

TEST_F(ViewVolume, CameraPlanesFromTheDefaultProjection)
{
    KaCamera camera;
    Matrix4 identity{};
    for (int i = 0; i < 4; ++i)
        identity[static_cast<std::size_t>(5 * i)] = 1;
    camera.UpdateFrustum(PerspectiveMatrix(45, 1, 0.1f, 1000), identity);
    const KaPlane& nearPlane = camera.Frustum[kNearPlane];
    const KaPlane& farPlane = camera.Frustum[kFarPlane];
    EXPECT_NEAR(nearPlane[2], -1, 1e-5f);
    EXPECT_NEAR(nearPlane[3], -0.1f, 1e-4f);
    EXPECT_NEAR(farPlane[2], 1, 1e-5f);
    EXPECT_NEAR(farPlane[3], 1000, 0.1f);
    KaBoundingObj point;
    EXPECT_TRUE(point.TestFrustum(camera.Frustum, at(0, 0, -5))); // the camera looks along −z
    EXPECT_FALSE(point.TestFrustum(camera.Frustum, at(0, 0, 5)));
}

TEST_F(ShapePairs, EveryPairOnItsBoundary)
{
    KaBoundingSphere s1(1), s2(2);
    KaBoundingObj p1, p2;
    KaBoundingAABB b1({1, 1, 1}), b2({2, 2, 2});
    s2.WorldTrans.Position = {3, 0, 0};
    EXPECT_TRUE(s1.Intersects(&s2)); // (1 + 2)² ≥ 9
    s2.WorldTrans.Position = {3.001f, 0, 0};
    EXPECT_FALSE(s1.Intersects(&s2));

    p1.WorldTrans.Position = {0, 1, 0};
    EXPECT_TRUE(s1.Intersects(&p1));
    EXPECT_TRUE(p1.Intersects(&s1)); // the same row from either side
    p1.WorldTrans.Position = {0, 1.001f, 0};
    EXPECT_FALSE(p1.Intersects(&s1));

    b1.WorldTrans.Position = {3, 0, 0}; // nearest face at x = 2
    s1.WorldTrans.Position = {1, 0, 0};
    EXPECT_TRUE(s1.Intersects(&b1));
    EXPECT_TRUE(b1.Intersects(&s1));
    s1.WorldTrans.Position = {0.99f, 0, 0};
    EXPECT_FALSE(b1.Intersects(&s1));

    b1.WorldTrans.Position = {0, 0, 0};
    b2.WorldTrans.Position = {3, 0, 0}; // half extents, as everywhere: 1 + 2
    EXPECT_TRUE(b1.Intersects(&b2));
    b2.WorldTrans.Position = {3.01f, 0, 0};
    EXPECT_FALSE(b2.Intersects(&b1));

    p2.WorldTrans.Position = {0.999f, 0, 0};
    EXPECT_TRUE(b1.Intersects(&p2));
    p2.WorldTrans.Position = {1, 0, 0}; // strictly inside only
    EXPECT_FALSE(p2.Intersects(&b1));

    p1.WorldTrans.Position = {0, 0, 0};
    p2.WorldTrans.Position = {0.00009f, 0, 0};
    EXPECT_TRUE(p1.Intersects(&p2));
    p2.WorldTrans.Position = {0.0001f, 0, 0};
    EXPECT_FALSE(p1.Intersects(&p2));
    EXPECT_FALSE(p1.Intersects(nullptr));
}

TEST_F(ShapePairs, BoxesMeetExactlyWhereTheirPointsAndSpheresSayTheyReach)
{
    // A box reaches as far for another box as it does for a point or a sphere.
    KaBoundingAABB box({2, 1, 1});
    KaBoundingAABB tiny({0.0001f, 0.0001f, 0.0001f});
    KaBoundingObj point;
    KaBoundingSphere dot(0.0001f);
    for (const float x : {1.5f, 1.99f, 2.05f, 3.0f}) {
        tiny.WorldTrans.Position = point.WorldTrans.Position = dot.WorldTrans.Position = {x, 0, 0};
        const bool reached = point.Intersects(&box);
        EXPECT_EQ(dot.Intersects(&box), reached) << x;
        EXPECT_EQ(tiny.Intersects(&box), reached) << x;
    }
    // Two boxes with faces at x = ±2 and x = 2.5 ± 0.5 overlap.
    KaBoundingAABB other({0.5f, 0.5f, 0.5f});
    other.WorldTrans.Position = {2.4f, 0, 0};
    EXPECT_TRUE(other.Intersects(&box));
}

TEST_F(ShapePairs, WorldPlacementTurnsTheOffset)
{
    KaBoundingSphere sphere(1);
    sphere.LocalTrans.Position = {1, 0, 0};
    KaTransformation owner = at(10, 0, 0);
    owner.Rotation = RotationZ(std::numbers::pi_v<float> / 2);
    sphere.UpdateWorld(owner);
    EXPECT_NEAR(sphere.WorldTrans.Position.x, 10, 1e-5f);
    EXPECT_NEAR(sphere.WorldTrans.Position.y, 1, 1e-5f);
}

TEST_F(ShapePairs, AssignRefusesAnotherKindAndSetHoldsFifty)
{
    KaBoundingSphere sphere;
    KaBoundingAABB box;
    EXPECT_THROW(sphere.Assign(box), Error);
    EXPECT_EQ(sphere.Radius, 2);
    KaBoundingVolume set;
    for (int i = 0; i < kMaxBoundingShapes; ++i)
        set.AddCopy(sphere);
    EXPECT_THROW(set.AddCopy(sphere), Error);
    EXPECT_EQ(set.Count(), 50);
    KaBoundingVolume copy;
    copy.Assign(set);
    EXPECT_EQ(copy.Count(), 50);
    EXPECT_EQ(static_cast<KaBoundingSphere&>(copy.Item(49)).Radius, 2);
}

TEST_F(BoundsFile, RecordSizesAndTheSetWithOnePoint)
{
    EXPECT_EQ(ShapeRecordSize(KaShapeKind::Point), 52u);
    EXPECT_EQ(ShapeRecordSize(KaShapeKind::Sphere), 56u);
    EXPECT_EQ(ShapeRecordSize(KaShapeKind::AABB), 64u);
    KaBoundingVolume set;
    set.AddCopy(KaBoundingObj());
    set.SaveToPhzFile("one.phz");
    EXPECT_EQ(test::readFile("one.phz").size(), 4u + 64 + 4 + 52);
    set.AddCopy(KaBoundingSphere());
    set.SaveToPhzFile("two.phz");
    EXPECT_EQ(test::readFile("two.phz").size(), 4u + 64 + 4 + 52 + 56);
}

TEST_F(BoundsFile, RoundTripKeepsEveryShape)
{
    KaBoundingVolume set;
    static_cast<KaBoundingAABB&>(*set.Main).Size = {3, 4, 5};
    set.Main->LocalTrans.Rotation = RotationX(0.25f);
    KaBoundingSphere sphere(7);
    sphere.LocalTrans.Position = {1, 2, 3};
    set.AddCopy(sphere);
    set.AddCopy(KaBoundingAABB({9, 8, 7}));
    set.AddCopy(KaBoundingObj());
    set.SaveToPhzFile("Set.phz");
    KaBoundingVolume loaded;
    ASSERT_TRUE(loaded.LoadFromPhzFile("set.PHZ"));
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(static_cast<KaBoundingAABB&>(*loaded.Main).Size, (Vector3{3, 4, 5}));
    EXPECT_EQ(loaded.Main->LocalTrans.Rotation, RotationX(0.25f));
    EXPECT_EQ(static_cast<KaBoundingSphere&>(loaded.Item(0)).Radius, 7);
    EXPECT_EQ(loaded.Item(0).LocalTrans.Position, (Vector3{1, 2, 3}));
    EXPECT_EQ(static_cast<KaBoundingAABB&>(loaded.Item(1)).Size, (Vector3{9, 8, 7}));
    EXPECT_EQ(loaded.Item(2).Kind(), KaShapeKind::Point);
    loaded.SaveToPhzFile("again.phz");
    EXPECT_EQ(test::readFile("again.phz"), test::readFile("Set.phz"));
}

TEST_F(BoundsFile, MainSphereStopsAfterTheTwoTags)
{
    KaBoundingVolume set;
    set.AddCopy(KaBoundingObj());
    set.SaveToPhzFile("good.phz");
    std::string bytes = test::readFile("good.phz");
    bytes.replace(5, 3, "sph");
    KaBoundingVolume target;
    target.AddCopy(KaBoundingSphere(3));
    RecordReader reader("bad.phz", bytes);
    EXPECT_FALSE(target.LoadFromFile(reader));
    EXPECT_EQ(reader.offset(), 8u);
    EXPECT_EQ(target.Count(), 1); // unchanged
    RecordReader notAVolume("bad.phz", std::string("\x03xyz", 4));
    EXPECT_FALSE(target.LoadFromFile(notAVolume));
    EXPECT_EQ(notAVolume.offset(), 4u);
}

TEST_F(BoundsFile, DamagedCountsAndShortFilesThrowAndChangeNothing)
{
    KaBoundingVolume set;
    set.AddCopy(KaBoundingObj());
    set.SaveToPhzFile("good.phz");
    const std::string good = test::readFile("good.phz");
    std::string many = good;
    const std::int32_t count = 51;
    std::memcpy(many.data() + 68, &count, 4);
    KaBoundingVolume target;
    RecordReader reader("many.phz", many);
    try {
        target.LoadFromFile(reader);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "many.phz: offset 68: bounding shape count 51 is outside 0 to 50");
    }
    for (std::size_t size = 0; size < good.size(); ++size) {
        RecordReader cut("cut.phz", good.substr(0, size));
        EXPECT_THROW(target.LoadFromFile(cut), FileError) << size;
    }
    EXPECT_EQ(target.Count(), 0);
    EXPECT_EQ(static_cast<KaBoundingAABB&>(*target.Main).Size, (Vector3{1, 1, 1}));
}

} // namespace
} // namespace ra7
