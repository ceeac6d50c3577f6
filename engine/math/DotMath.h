#pragma once
// Vector and matrix conventions shared by the whole engine. Vectors are row
// vectors: v' = v·M, so the rows of a rotation matrix are the images of the
// x, y and z axes. 3×3 matrices are row-major; 4×4 matrices are in OpenGL's
// column-major order. Storage is single precision.

#include <array>
#include <optional>

namespace ra7 {

struct Vector2 {
    float x = 0, y = 0;
    friend bool operator==(const Vector2&, const Vector2&) = default;
};

struct Vector3 {
    float x = 0, y = 0, z = 0;
    friend bool operator==(const Vector3&, const Vector3&) = default;
};

using Matrix3 = std::array<float, 9>;  // element [3·row + column]
using Matrix4 = std::array<float, 16>; // OpenGL column-major

inline constexpr Matrix3 kIdentityMatrix3 = {1, 0, 0, 0, 1, 0, 0, 0, 1};
inline constexpr Vector3 kZeroVector = {0, 0, 0};

Vector3 VectorMake(float x, float y, float z);
Vector3 VectorAdd(const Vector3& a, const Vector3& b);
Vector3 VectorSub(const Vector3& a, const Vector3& b);
Vector3 VectorScale(const Vector3& a, float s);
// x² + y² + z², no square root.
float VectorLengthSqr(const Vector3& a);
// In place; a vector of length 0 becomes the zero vector.
void VectorNormalize(Vector3& a);
// (b − a)·(b − a): every distance the scene stores or compares is squared.
float DistanceSqr(const Vector3& a, const Vector3& b);
// In place: v := v·M.
void VectorTransform(Vector3& v, const Matrix3& m);

Matrix3 MatrixMultiply3(const Matrix3& a, const Matrix3& b);
// R[4i + j] = Σk A[4i + k]·B[4k + j]; for column-major matrices this is the
// mathematical product B·A.
Matrix4 MatrixMultiply4(const Matrix4& a, const Matrix4& b);
void MatrixTranspose3(Matrix3& m);
// The inverse of m, or nothing when m is singular (its determinant is 0 or
// not finite).
std::optional<Matrix3> MatrixInverse3(const Matrix3& m);

// Rotations about the axes, angles in radians; (1,0,0)·RotationZ(a) = (cos a, sin a, 0).
Matrix3 RotationX(float angle);
Matrix3 RotationY(float angle);
Matrix3 RotationZ(float angle);

// Row i of the 3×3 becomes column i of the 4×4, so OpenGL maps p to p·M.
Matrix4 Matrix3To4(const Matrix3& m);
// Writes v into elements 12, 13 and 14.
void SetTranslation(Matrix4& m, const Vector3& v);

float DegToRad(float degrees);

// The projection gluPerspective builds; fovY in degrees.
Matrix4 PerspectiveMatrix(float fovY, float aspect, float zNear, float zFar);

} // namespace ra7
