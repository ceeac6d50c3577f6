#pragma once
// Where a point of the scene lands on the screen and whether anything drawn
// so far hides it: the sprites' fades and lens flares ask this each frame.

#include "math/DotMath.h"

namespace ra7 {

// Where a point lands in the window, and whether it is in front of what the
// depth buffer holds there.
struct PointProjection {
    Vector3 Window; // x, y in pixels from the lower left, depth 0…1
    bool Visible = false;
};

// Projects `point` with the current model-view and projection matrices and
// viewport and compares its depth with the depth buffer at the rounded
// window position; visible inside 0 < x < SCREEN WIDTH, 0 < y < SCREEN HEIGHT.
PointProjection PointVisible(const Vector3& point);

} // namespace ra7
