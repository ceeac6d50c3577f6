// The converter's own tangent-space methods on meshes whose answer is known.
#include "TangentSpace.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ra7 {
namespace {

// The unit quad as two triangles, u along +x and v along +y.
struct Quad {
    KaGeomData3 vertices{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    KaGeomData3 normals = KaGeomData3(6, Vector3{0, 0, 1});
    KaGeomData2 texCoords{{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
    KaCarArr indices{0, 1, 2, 3, 4, 5};
};

// The same quad with its four corners shared, as a GMS file or the mesh
// mender gives it.
struct IndexedQuad {
    KaGeomData3 vertices{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    KaGeomData3 normals = KaGeomData3(4, Vector3{0, 0, 1});
    KaGeomData2 texCoords{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    KaCarArr indices{0, 1, 2, 0, 2, 3};
};

void expectNear(const Vector3& actual, const Vector3& expected, const char* what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-6f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-6f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-6f) << what;
}

TEST(TangentSpaceTest, GradientsOnTheUnitQuadFollowUAndV)
{
    const Quad quad;
    KaGeomData3 tangents, binormals;
    TangentSpaceGradients(quad.vertices, quad.indices, quad.texCoords, tangents, binormals);
    ASSERT_EQ(tangents.size(), 6u);
    ASSERT_EQ(binormals.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        expectNear(tangents[i], {1, 0, 0}, "tangent");
        expectNear(binormals[i], {0, 1, 0}, "binormal");
    }
}

TEST(TangentSpaceTest, IsoLinesOnTheUnitQuadPointFromHighToLow)
{
    const Quad quad;
    KaGeomData3 tangents, binormals;
    TangentSpaceIsoLines(quad.vertices, quad.indices, quad.normals, quad.texCoords, tangents, binormals);
    ASSERT_EQ(tangents.size(), 6u);
    ASSERT_EQ(binormals.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        expectNear(tangents[i], {-1, 0, 0}, "tangent");
        expectNear(binormals[i], {0, -1, 0}, "binormal");
    }
}

TEST(TangentSpaceTest, GradientsFollowMirroredAndStretchedMappings)
{
    Quad quad;
    for (Vector2& uv : quad.texCoords)
        uv = {-3 * uv.x, 0.5f * uv.y};
    KaGeomData3 tangents, binormals;
    TangentSpaceGradients(quad.vertices, quad.indices, quad.texCoords, tangents, binormals);
    for (std::size_t i = 0; i < 6; ++i) {
        expectNear(tangents[i], {-1, 0, 0}, "tangent");
        expectNear(binormals[i], {0, 1, 0}, "binormal");
    }
}

TEST(TangentSpaceTest, DegenerateTextureMappingGivesZeroNotNonFiniteVectors)
{
    Quad quad;
    for (std::size_t i = 0; i < 3; ++i)
        quad.texCoords[i] = {0.5f, 0.5f}; // the first triangle has no texture area
    KaGeomData3 tangents, binormals;
    TangentSpaceGradients(quad.vertices, quad.indices, quad.texCoords, tangents, binormals);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(tangents[i], kZeroVector);
        EXPECT_EQ(binormals[i], kZeroVector);
    }
    expectNear(tangents[3], {1, 0, 0}, "the other triangle is untouched");

    TangentSpaceIsoLines(quad.vertices, quad.indices, quad.normals, quad.texCoords, tangents, binormals);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(std::isfinite(tangents[i].x) && std::isfinite(tangents[i].y) &&
                    std::isfinite(tangents[i].z));
        EXPECT_TRUE(std::isfinite(binormals[i].x) && std::isfinite(binormals[i].y) &&
                    std::isfinite(binormals[i].z));
    }
}

TEST(TangentSpaceTest, VerticesOfNoWholeTriangleKeepZeroVectors)
{
    Quad quad;
    quad.vertices.push_back({5, 5, 5});
    quad.normals.push_back({0, 0, 1});
    quad.texCoords.push_back({0.3f, 0.3f});
    quad.indices.push_back(6); // indices that make no whole triangle
    KaGeomData3 tangents, binormals;
    TangentSpaceGradients(quad.vertices, quad.indices, quad.texCoords, tangents, binormals);
    ASSERT_EQ(tangents.size(), 7u);
    EXPECT_EQ(tangents[6], kZeroVector);
    EXPECT_EQ(binormals[6], kZeroVector);
    TangentSpaceIsoLines(quad.vertices, quad.indices, quad.normals, quad.texCoords, tangents, binormals);
    ASSERT_EQ(tangents.size(), 7u) << "one entry per vertex, so that the mesh can be saved";
    ASSERT_EQ(binormals.size(), 7u);
    EXPECT_EQ(tangents[6], kZeroVector);
    expectNear(tangents[5], {-1, 0, 0}, "tangent");
}

TEST(TangentSpaceTest, BothMethodsTakeTheTrianglesFromTheIndexList)
{
    const IndexedQuad quad;
    KaGeomData3 tangents, binormals;
    TangentSpaceGradients(quad.vertices, quad.indices, quad.texCoords, tangents, binormals);
    ASSERT_EQ(tangents.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        expectNear(tangents[i], {1, 0, 0}, "tangent");
        expectNear(binormals[i], {0, 1, 0}, "binormal");
    }
    TangentSpaceIsoLines(quad.vertices, quad.indices, quad.normals, quad.texCoords, tangents, binormals);
    ASSERT_EQ(tangents.size(), 4u);
    ASSERT_EQ(binormals.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        expectNear(tangents[i], {-1, 0, 0}, "tangent");
        expectNear(binormals[i], {0, -1, 0}, "binormal");
    }
}

TEST(TangentSpaceTest, TrianglesNamingVerticesPastTheEndAreLeftOut)
{
    IndexedQuad quad;
    quad.indices = {0, 1, 2, 0, 2, 99};
    KaGeomData3 tangents, binormals;
    TangentSpaceGradients(quad.vertices, quad.indices, quad.texCoords, tangents, binormals);
    expectNear(tangents[1], {1, 0, 0}, "the whole triangle counts");
    EXPECT_EQ(tangents[3], kZeroVector);
    TangentSpaceIsoLines(quad.vertices, quad.indices, quad.normals, quad.texCoords, tangents, binormals);
    EXPECT_EQ(tangents[3], kZeroVector);
    ASSERT_EQ(tangents.size(), 4u);
}

TEST(TangentSpaceTest, RerunningReplacesThePreviousVectors)
{
    const Quad quad;
    KaGeomData3 tangents(10, Vector3{9, 9, 9}), binormals(3, Vector3{9, 9, 9});
    TangentSpaceIsoLines(quad.vertices, quad.indices, quad.normals, quad.texCoords, tangents, binormals);
    TangentSpaceIsoLines(quad.vertices, quad.indices, quad.normals, quad.texCoords, tangents, binormals);
    EXPECT_EQ(tangents.size(), 6u);
    TangentSpaceGradients(quad.vertices, quad.indices, quad.texCoords, tangents, binormals);
    TangentSpaceGradients(quad.vertices, quad.indices, quad.texCoords, tangents, binormals);
    ASSERT_EQ(tangents.size(), 6u);
    expectNear(tangents[0], {1, 0, 0}, "not accumulated over runs");
}

TEST(TangentSpaceTest, IsoLinesAreOrthogonalToATiltedNormal)
{
    Quad quad;
    const float s = 1 / std::sqrt(2.0f);
    quad.normals.assign(6, Vector3{s, 0, s});
    KaGeomData3 tangents, binormals;
    TangentSpaceIsoLines(quad.vertices, quad.indices, quad.normals, quad.texCoords, tangents, binormals);
    for (std::size_t i = 0; i < 6; ++i) {
        const float d = tangents[i].x * s + tangents[i].z * s;
        EXPECT_NEAR(d, 0, 1e-6f);
        expectNear(tangents[i], {-s, 0, s}, "tangent projected into the tilted plane");
        expectNear(binormals[i], {0, -1, 0}, "binormal already in the plane");
    }
}

} // namespace
} // namespace ra7
