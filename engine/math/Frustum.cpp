#include "math/Frustum.h"

#include <cmath>

namespace ra7 {

namespace {
KaPlane normalised(float a, float b, float c, float d)
{
    const float length = std::sqrt(a * a + b * b + c * c);
    if (length == 0.0f)
        return {a, b, c, d};
    return {a / length, b / length, c / length, d / length};
}
} // namespace

KaFrustum ExtractFrustum(const Matrix4& projection, const Matrix4& modelView)
{
    const Matrix4 c = MatrixMultiply4(modelView, projection);
    KaFrustum planes{};
    planes[kRightPlane] = normalised(c[3] - c[0], c[7] - c[4], c[11] - c[8], c[15] - c[12]);
    planes[kLeftPlane] = normalised(c[3] + c[0], c[7] + c[4], c[11] + c[8], c[15] + c[12]);
    planes[kBottomPlane] = normalised(c[3] + c[1], c[7] + c[5], c[11] + c[9], c[15] + c[13]);
    planes[kTopPlane] = normalised(c[3] - c[1], c[7] - c[5], c[11] - c[9], c[15] - c[13]);
    planes[kFarPlane] = normalised(c[3] - c[2], c[7] - c[6], c[11] - c[10], c[15] - c[14]);
    planes[kNearPlane] = normalised(c[3] + c[2], c[7] + c[6], c[11] + c[10], c[15] + c[14]);
    return planes;
}

} // namespace ra7
