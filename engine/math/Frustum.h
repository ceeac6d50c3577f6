#pragma once
// The camera's view volume: six planes (a, b, c, d) in the order right, left,
// bottom, top, far, near, each normalised so that (a, b, c) has length 1. A
// point p is inside a plane when a·x + b·y + c·z + d > 0.

#include "math/DotMath.h"

#include <array>

namespace ra7 {

using KaPlane = std::array<float, 4>;
using KaFrustum = std::array<KaPlane, 6>;

enum FrustumPlane { kRightPlane, kLeftPlane, kBottomPlane, kTopPlane, kFarPlane, kNearPlane };

// The planes of the clip matrix projection·modelView (Gribb–Hartmann), from
// OpenGL's column-major matrices as glGetFloatv returns them.
KaFrustum ExtractFrustum(const Matrix4& projection, const Matrix4& modelView);

// a·x + b·y + c·z + d. Inline: the culling asks it for every object and
// plane in every frame.
inline float PlaneDistance(const KaPlane& plane, const Vector3& point)
{
    return plane[0] * point.x + plane[1] * point.y + plane[2] * point.z + plane[3];
}

} // namespace ra7
