#include "math/DotMath.h"
#include "math/Ka7Transform.h"

#include <gmock/gmock.h>

#include <cmath>
#include <numbers>

namespace ra7 {
namespace {

using ::testing::FloatNear;
using ::testing::Pointwise;

constexpr float kPi = std::numbers::pi_v<float>;

TEST(DotMath, NormalizingTheZeroVectorGivesZero)
{
    Vector3 zero{0, 0, 0};
    VectorNormalize(zero);
    EXPECT_EQ(zero, kZeroVector);
    Vector3 v{0, 3, 4};
    VectorNormalize(v);
    EXPECT_FLOAT_EQ(v.y, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    Vector3 tiny{1e-30f, 0, 0}; // squared length underflows to 0
    VectorNormalize(tiny);
    EXPECT_EQ(tiny, kZeroVector);
}

TEST(DotMath, RowVectorsTurnTheWayTheAxesDo)
{
    Vector3 x{1, 0, 0};
    VectorTransform(x, RotationZ(kPi / 2));
    EXPECT_NEAR(x.x, 0, 1e-6);
    EXPECT_NEAR(x.y, 1, 1e-6);
    Vector3 y{0, 1, 0};
    VectorTransform(y, RotationX(kPi / 2));
    EXPECT_NEAR(y.z, 1, 1e-6);
    Vector3 z{0, 0, 1};
    VectorTransform(z, RotationY(kPi / 2));
    EXPECT_NEAR(z.x, 1, 1e-6);
}

TEST(DotMath, ProductsFollowTheirIndexRules)
{
    const Matrix3 a = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const Matrix3 b = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    EXPECT_EQ(MatrixMultiply3(a, b), (Matrix3{30, 24, 18, 84, 69, 54, 138, 114, 90}));
    // Composition: v·(A·B) = (v·A)·B.
    Vector3 v{1, -2, 0.5f};
    Vector3 stepwise = v;
    VectorTransform(stepwise, RotationX(0.3f));
    VectorTransform(stepwise, RotationZ(1.1f));
    VectorTransform(v, MatrixMultiply3(RotationX(0.3f), RotationZ(1.1f)));
    EXPECT_NEAR(v.x, stepwise.x, 1e-5);
    EXPECT_NEAR(v.y, stepwise.y, 1e-5);
    EXPECT_NEAR(v.z, stepwise.z, 1e-5);

    Matrix4 translate = Matrix3To4(kIdentityMatrix3);
    SetTranslation(translate, {1, 2, 3});
    const Matrix4 scale = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
    // MatrixMultiply4(A, B) is B·A for column-major storage: translate, then scale.
    const Matrix4 r = MatrixMultiply4(translate, scale);
    EXPECT_EQ(r[12], 2);
    EXPECT_EQ(r[13], 4);
    EXPECT_EQ(r[14], 6);
}

TEST(DotMath, InverseUndoesRotationAndScaleAndRefusesSingularMatrices)
{
    const Matrix3 m = MatrixMultiply3(RotationX(0.7f), Matrix3{2, 0, 0, 0, 0.5f, 0, 0, 0, 3});
    const auto inverse = MatrixInverse3(m);
    ASSERT_TRUE(inverse.has_value());
    const Matrix3 product = MatrixMultiply3(m, *inverse);
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(product[i], kIdentityMatrix3[i], 1e-6f) << i;
    EXPECT_FALSE(MatrixInverse3(Matrix3{1, 2, 3, 2, 4, 6, 0, 0, 1}).has_value());
    EXPECT_FALSE(MatrixInverse3(Matrix3{}).has_value());
}

TEST(DotMath, RotationRowsBecomeColumnsOfTheGlMatrix)
{
    const Matrix3 m = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(Matrix3To4(m), (Matrix4{1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 0, 0, 0, 1}));
    EXPECT_FLOAT_EQ(DegToRad(180), kPi);
}

TEST(DotMath, PerspectiveMatchesTheHandComputedGluMatrix)
{
    // fovY 90°: top = near, so element 5 = 1, element 0 = 1/aspect.
    const Matrix4 m = PerspectiveMatrix(90, 2, 1, 101);
    const Matrix4 expected = {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -102.0f / 100, -1, 0, 0, -202.0f / 100, 0};
    EXPECT_THAT(m, Pointwise(FloatNear(1e-6f), expected));
    const Matrix4 narrow = PerspectiveMatrix(60, 1.0f, 0.5f, 1000);
    EXPECT_NEAR(narrow[5], 1.0 / std::tan(std::numbers::pi / 6), 1e-5);
}

TEST(Transformation, ModelMatrixPlacesLocalPoints)
{
    KaTransformation t;
    t.Rotation = RotationZ(kPi / 2);
    t.Position = {10, 0, 0};
    const Matrix4 m = t.ModelMatrix();
    // Column-major: p' = M·p; p = (1,0,0) should land at (10, 1, 0).
    const float p[4] = {1, 0, 0, 1};
    float out[3] = {0, 0, 0};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            out[row] += m[4 * col + row] * p[col];
    EXPECT_NEAR(out[0], 10, 1e-6);
    EXPECT_NEAR(out[1], 1, 1e-6);
    EXPECT_NEAR(out[2], 0, 1e-6);
}

TEST(Transformation, ViewMatrixIsRotationAfterNegatedTranslation)
{
    KaTransformation t;
    t.Position = {1, 2, 3};
    const Matrix4 v = t.ViewMatrix();
    EXPECT_EQ(v[12], -1);
    EXPECT_EQ(v[13], -2);
    EXPECT_EQ(v[14], -3);

    t.Rotation = RotationY(kPi / 2);
    const Matrix4 turned = t.ViewMatrix();
    // The eye position maps to the origin of view space.
    const float p[4] = {1, 2, 3, 1};
    for (int row = 0; row < 3; ++row) {
        float sum = 0;
        for (int col = 0; col < 4; ++col)
            sum += turned[4 * col + row] * p[col];
        EXPECT_NEAR(sum, 0, 1e-5) << row;
    }
}

} // namespace
} // namespace ra7
