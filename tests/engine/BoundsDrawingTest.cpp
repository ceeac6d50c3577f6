// Wire drawings of the bounding shapes, read back from the frame.
#include "engine/GLTestSupport.h"

#include "math/DotMath.h"
#include "scene/Ka7BoundingVolume.h"

#include <gtest/gtest.h>

#include <numbers>

namespace ra7 {
namespace {

using BoundsDrawing = test::GLTest;

TEST_F(BoundsDrawing, ASphereIsDrawnAtItsOffsetTurnedWithItsOwner)
{
    // An owner at the centre of the view turned a quarter about z: the
    // sphere's offset along +x becomes +y, where its WorldTrans lies.
    KaBoundingSphere sphere(0.2f);
    sphere.LocalTrans.Position = {0.6f, 0, 0};
    KaTransformation owner;
    owner.Rotation = RotationZ(std::numbers::pi_v<float> / 2);
    sphere.UpdateWorld(owner);
    ASSERT_NEAR(std::abs(sphere.WorldTrans.Position.y), 0.6f, 1e-5f);
    beginFrame();
    sphere.Render(owner);
    const auto pixels = frame();
    // [-1, 1] over 64 pixels: x = 0.6 lies at pixel 51, y = ±0.6 at 51 or 12.
    const int turnedRow = sphere.WorldTrans.Position.y > 0 ? 51 : 12;
    EXPECT_GT(regionMean(pixels, 26, turnedRow - 6, 38, turnedRow + 6)[0], 0) << "drawn where it was turned";
    EXPECT_EQ(regionMean(pixels, 45, 26, 58, 38)[0], 0) << "not at the unturned offset";
}

} // namespace
} // namespace ra7
