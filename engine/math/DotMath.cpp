#include "math/DotMath.h"

#include <cmath>
#include <numbers>

namespace ra7 {

Vector3 VectorMake(float x, float y, float z)
{
    return {x, y, z};
}

Vector3 VectorAdd(const Vector3& a, const Vector3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 VectorSub(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 VectorScale(const Vector3& a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}

float VectorLengthSqr(const Vector3& a)
{
    return a.x * a.x + a.y * a.y + a.z * a.z;
}

void VectorNormalize(Vector3& a)
{
    const float lengthSqr = VectorLengthSqr(a);
    if (lengthSqr > 0) {
        const float length = std::sqrt(lengthSqr);
        a = {a.x / length, a.y / length, a.z / length};
    } else {
        a = kZeroVector;
    }
}

float DistanceSqr(const Vector3& a, const Vector3& b)
{
    return VectorLengthSqr(VectorSub(b, a));
}

void VectorTransform(Vector3& v, const Matrix3& m)
{
    v = {v.x * m[0] + v.y * m[3] + v.z * m[6], v.x * m[1] + v.y * m[4] + v.z * m[7],
         v.x * m[2] + v.y * m[5] + v.z * m[8]};
}

Matrix3 MatrixMultiply3(const Matrix3& a, const Matrix3& b)
{
    Matrix3 r{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            r[3 * i + j] = a[3 * i] * b[j] + a[3 * i + 1] * b[3 + j] + a[3 * i + 2] * b[6 + j];
    return r;
}

Matrix4 MatrixMultiply4(const Matrix4& a, const Matrix4& b)
{
    Matrix4 r{};
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t j = 0; j < 4; ++j) {
            float sum = 0;
            for (std::size_t k = 0; k < 4; ++k)
                sum += a[4 * i + k] * b[4 * k + j];
            r[4 * i + j] = sum;
        }
    return r;
}

void MatrixTranspose3(Matrix3& m)
{
    std::swap(m[1], m[3]);
    std::swap(m[2], m[6]);
    std::swap(m[5], m[7]);
}

std::optional<Matrix3> MatrixInverse3(const Matrix3& m)
{
    // Cofactors in double: scaled rotations from scripts may be far from unit size.
    const double a = m[0], b = m[1], c = m[2], d = m[3], e = m[4], f = m[5], g = m[6], h = m[7], i = m[8];
    const double A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
    const double det = a * A + b * B + c * C;
    if (det == 0 || !std::isfinite(det))
        return std::nullopt;
    const double r = 1.0 / det;
    return Matrix3{static_cast<float>(A * r),
                   static_cast<float>(-(b * i - c * h) * r),
                   static_cast<float>((b * f - c * e) * r),
                   static_cast<float>(B * r),
                   static_cast<float>((a * i - c * g) * r),
                   static_cast<float>(-(a * f - c * d) * r),
                   static_cast<float>(C * r),
                   static_cast<float>(-(a * h - b * g) * r),
                   static_cast<float>((a * e - b * d) * r)};
}

Matrix3 RotationX(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    return {1, 0, 0, 0, c, s, 0, -s, c};
}

Matrix3 RotationY(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    return {c, 0, -s, 0, 1, 0, s, 0, c};
}

Matrix3 RotationZ(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    return {c, s, 0, -s, c, 0, 0, 0, 1};
}

Matrix4 Matrix3To4(const Matrix3& m)
{
    return {m[0], m[1], m[2], 0, m[3], m[4], m[5], 0, m[6], m[7], m[8], 0, 0, 0, 0, 1};
}

void SetTranslation(Matrix4& m, const Vector3& v)
{
    m[12] = v.x;
    m[13] = v.y;
    m[14] = v.z;
}

float DegToRad(float degrees)
{
    return static_cast<float>(degrees * 0.017453292519943295);
}

Matrix4 PerspectiveMatrix(float fovY, float aspect, float zNear, float zFar)
{
    const double top = std::tan(std::numbers::pi * fovY / 360.0) * zNear;
    const double bottom = -top;
    const double right = top * aspect;
    const double left = bottom * aspect;
    Matrix4 m{};
    m[0] = static_cast<float>(2.0 * zNear / (right - left));
    m[5] = static_cast<float>(2.0 * zNear / (top - bottom));
    m[8] = static_cast<float>((right + left) / (right - left));
    m[9] = static_cast<float>((top + bottom) / (top - bottom));
    m[10] = static_cast<float>((double(zFar) + zNear) / (double(zNear) - zFar));
    m[11] = -1;
    m[14] = static_cast<float>(2.0 * zFar * zNear / (double(zNear) - zFar));
    return m;
}

} // namespace ra7
