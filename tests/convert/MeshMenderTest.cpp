// libmeshmender.so through the converter's run-time binding and through its
// C contract: smoothing, creases, seams, cylindrical wrapping, ownership.
#include "MeshMenderCall.h"

#include "meshmender/MeshMender.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <map>
#include <numbers>
#include <tuple>

namespace ra7 {
namespace {

float dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vector3 cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

class MeshMenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string whyNot;
        library = MeshMenderLibrary::Open(RA7_MESHMENDER_PATH, whyNot);
        ASSERT_TRUE(library) << whyNot;
    }

    // Appends the quad a b c d as two triangles facing `outward`.
    static void addQuad(KaCarArr& indices, const KaGeomData3& p, std::uint32_t a, std::uint32_t b,
                        std::uint32_t c, std::uint32_t d, const Vector3& outward)
    {
        if (dot(cross(VectorSub(p[b], p[a]), VectorSub(p[c], p[a])), outward) < 0)
            std::swap(b, d);
        indices.insert(indices.end(), {a, b, c, a, c, d});
    }

    // A cube of 8 shared corners around the origin, texture coordinates (x, y).
    static MeshArrays cube()
    {
        MeshArrays mesh;
        for (std::uint32_t i = 0; i < 8; ++i) {
            const Vector3 p{i & 1 ? 1.f : -1.f, i & 2 ? 1.f : -1.f, i & 4 ? 1.f : -1.f};
            mesh.Vertices.push_back(p);
            mesh.TexCoords.push_back({p.x * 0.5f + 0.5f, p.y * 0.5f + 0.5f});
            Vector3 n = p;
            VectorNormalize(n);
            mesh.Normals.push_back(n);
        }
        const auto& p = mesh.Vertices;
        addQuad(mesh.Indices, p, 0, 2, 6, 4, {-1, 0, 0});
        addQuad(mesh.Indices, p, 1, 3, 7, 5, {1, 0, 0});
        addQuad(mesh.Indices, p, 0, 1, 5, 4, {0, -1, 0});
        addQuad(mesh.Indices, p, 2, 3, 7, 6, {0, 1, 0});
        addQuad(mesh.Indices, p, 0, 1, 3, 2, {0, 0, -1});
        addQuad(mesh.Indices, p, 4, 5, 7, 6, {0, 0, 1});
        return mesh;
    }

    // The side of a cylinder of radius 1 and height 1 around z with `segments`
    // columns whose last column wraps onto the first vertices (u from 0 to
    // (segments-1)/segments, no seam copies); with caps, fans to two centres.
    static MeshArrays cylinder(std::uint32_t segments, bool caps)
    {
        MeshArrays mesh;
        for (std::uint32_t ring = 0; ring < 2; ++ring)
            for (std::uint32_t s = 0; s < segments; ++s) {
                const float angle =
                    2 * std::numbers::pi_v<float> * static_cast<float>(s) / static_cast<float>(segments);
                mesh.Vertices.push_back({std::cos(angle), std::sin(angle), static_cast<float>(ring)});
                mesh.TexCoords.push_back(
                    {static_cast<float>(s) / static_cast<float>(segments), static_cast<float>(ring)});
            }
        for (std::uint32_t s = 0; s < segments; ++s) {
            const std::uint32_t next = (s + 1) % segments;
            const Vector3 out = VectorAdd(mesh.Vertices[s], mesh.Vertices[next]);
            addQuad(mesh.Indices, mesh.Vertices, s, next, segments + next, segments + s, out);
        }
        if (caps) {
            const auto bottom = static_cast<std::uint32_t>(mesh.Vertices.size());
            mesh.Vertices.push_back({0, 0, 0});
            mesh.Vertices.push_back({0, 0, 1});
            mesh.TexCoords.push_back({0.5f, 0.5f});
            mesh.TexCoords.push_back({0.5f, 0.5f});
            for (std::uint32_t s = 0; s < segments; ++s) {
                const std::uint32_t next = (s + 1) % segments;
                mesh.Indices.insert(mesh.Indices.end(), {bottom, next, s});
                mesh.Indices.insert(mesh.Indices.end(), {bottom + 1, segments + s, segments + next});
            }
        }
        mesh.Normals.assign(mesh.Vertices.size(), kZeroVector);
        return mesh;
    }

    // Every vertex that a triangle uses has unit tangent and binormal
    // orthogonal to its unit normal.
    static void expectOrthonormalFrames(const MeshArrays& mesh)
    {
        ASSERT_EQ(mesh.Normals.size(), mesh.Vertices.size());
        ASSERT_EQ(mesh.Tangents.size(), mesh.Vertices.size());
        ASSERT_EQ(mesh.Binormals.size(), mesh.Vertices.size());
        for (const std::uint32_t v : mesh.Indices) {
            ASSERT_LT(v, mesh.Vertices.size());
            EXPECT_NEAR(dot(mesh.Normals[v], mesh.Normals[v]), 1, 1e-5f) << v;
            EXPECT_NEAR(dot(mesh.Tangents[v], mesh.Tangents[v]), 1, 1e-5f) << v;
            EXPECT_NEAR(dot(mesh.Binormals[v], mesh.Binormals[v]), 1, 1e-5f) << v;
            EXPECT_NEAR(dot(mesh.Tangents[v], mesh.Normals[v]), 0, 1e-5f) << v;
            EXPECT_NEAR(dot(mesh.Binormals[v], mesh.Normals[v]), 0, 1e-5f) << v;
        }
    }

    std::unique_ptr<MeshMenderLibrary> library;
};

TEST_F(MeshMenderTest, CubeSplitsAtItsCreases)
{
    MeshArrays mesh = cube();
    const MeshArrays before = mesh;
    MeshMenderOptions options;
    options.MinNormalCreaseCos = 0.5f; // faces at 90° do not share normals
    ASSERT_TRUE(library->Apply(mesh, options));
    EXPECT_EQ(mesh.Vertices.size(), 24u); // each corner once per face
    ASSERT_EQ(mesh.Indices.size(), 36u);
    expectOrthonormalFrames(mesh);
    for (std::size_t t = 0; t < 12; ++t) {
        const auto* i = &mesh.Indices[3 * t];
        Vector3 face = cross(VectorSub(mesh.Vertices[i[1]], mesh.Vertices[i[0]]),
                             VectorSub(mesh.Vertices[i[2]], mesh.Vertices[i[0]]));
        VectorNormalize(face);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(mesh.Normals[i[k]], face) << "triangle " << t;
            // Positions stay those of the input triangle.
            EXPECT_EQ(mesh.Vertices[i[k]], before.Vertices[before.Indices[3 * t + k]]);
        }
    }
}

TEST_F(MeshMenderTest, CubeStaysSmoothWhenEveryAngleIsAllowed)
{
    MeshArrays mesh = cube();
    MeshMenderOptions options;
    options.MinNormalCreaseCos = -1;
    options.MinTangentCreaseCos = -1;
    options.MinBinormalCreaseCos = -1;
    ASSERT_TRUE(library->Apply(mesh, options));
    EXPECT_EQ(mesh.Vertices.size(), 8u);
    expectOrthonormalFrames(mesh);
    for (std::size_t v = 0; v < 8; ++v) {
        const Vector3& n = mesh.Normals[v];
        const Vector3& p = mesh.Vertices[v];
        // Points out of the cube into the corner's own octant.
        EXPECT_GT(n.x * p.x, 0.2f);
        EXPECT_GT(n.y * p.y, 0.2f);
        EXPECT_GT(n.z * p.z, 0.2f);
    }
}

TEST_F(MeshMenderTest, CylinderSideIsSmoothAndCapsMeetItAtACrease)
{
    constexpr std::uint32_t kSegments = 16;
    MeshArrays mesh = cylinder(kSegments, true);
    MeshMenderOptions options;
    options.MinNormalCreaseCos = 0.7f; // neighbouring side faces are 22.5° apart
    options.FixCylindrical = true;
    ASSERT_TRUE(library->Apply(mesh, options));
    expectOrthonormalFrames(mesh);
    std::map<std::tuple<float, float, float>, int> sideNormals, capNormals;
    for (const std::uint32_t v : mesh.Indices) {
        const Vector3& p = mesh.Vertices[v];
        const Vector3& n = mesh.Normals[v];
        if (p.x == 0 && p.y == 0)
            continue; // cap centre
        const auto key = std::make_tuple(p.x, p.y, p.z);
        if (std::fabs(n.z) > 0.999f) {
            EXPECT_NEAR(n.z, p.z == 0 ? -1.0f : 1.0f, 1e-6f);
            capNormals[key] = 1;
        } else {
            // Smoothed over both neighbouring side faces: close to the radius.
            EXPECT_NEAR(n.z, 0, 1e-6f);
            EXPECT_GT(dot(n, {p.x, p.y, 0}), 0.99f);
            sideNormals[key] = 1;
        }
    }
    // Every rim position carries both a side normal and a cap normal.
    EXPECT_EQ(sideNormals.size(), 2 * kSegments);
    EXPECT_EQ(capNormals.size(), 2 * kSegments);
}

TEST_F(MeshMenderTest, FixCylindricalMakesTheSeamContinuous)
{
    constexpr std::uint32_t kSegments = 12;
    const auto tangentsFollowTheCircle = [](const MeshArrays& mesh) {
        for (const std::uint32_t v : mesh.Indices) {
            const Vector3& p = mesh.Vertices[v];
            if (dot(mesh.Tangents[v], {-p.y, p.x, 0}) < 0.95f)
                return false;
        }
        return true;
    };
    MeshArrays fixed = cylinder(kSegments, false);
    MeshMenderOptions options;
    options.MinNormalCreaseCos = 0.7f;
    options.FixCylindrical = true;
    ASSERT_TRUE(library->Apply(fixed, options));
    expectOrthonormalFrames(fixed);
    EXPECT_TRUE(tangentsFollowTheCircle(fixed));
    // The two seam vertices are split: u = 0 for the first column, 1 for the last.
    EXPECT_EQ(fixed.Vertices.size(), 2 * kSegments + 2);
    for (std::size_t v = 2 * kSegments; v < fixed.Vertices.size(); ++v)
        EXPECT_EQ(fixed.TexCoords[v].x, 1.0f);

    MeshArrays wrapped = cylinder(kSegments, false);
    options.FixCylindrical = false;
    ASSERT_TRUE(library->Apply(wrapped, options));
    EXPECT_FALSE(tangentsFollowTheCircle(wrapped)); // the last column runs backwards
}

// Two panels of a shallow roof whose ridge vertices are doubled in the input
// (different texture coordinates on either side: a texture seam).
MeshArrays roof()
{
    MeshArrays mesh;
    mesh.Vertices = {{-1, 0, 0},   {-1, 1, 0},   {0, 0, 0.2f}, {0, 1, 0.2f}, // left panel
                     {0, 0, 0.2f}, {0, 1, 0.2f}, {1, 0, 0},    {1, 1, 0}};   // right panel
    mesh.TexCoords = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 0}, {0, 1}, {1, 0}, {1, 1}};
    mesh.Normals.assign(8, kZeroVector);
    mesh.Indices = {0, 2, 3, 0, 3, 1, 4, 6, 5, 5, 6, 7}; // mirror images
    return mesh;
}

TEST_F(MeshMenderTest, RespectSplitsKeepsSeamVerticesApart)
{
    MeshMenderOptions options;
    options.MinNormalCreaseCos = 0.5f;
    MeshArrays welded = roof();
    ASSERT_TRUE(library->Apply(welded, options));
    expectOrthonormalFrames(welded);
    // Across the seam the normals are shared: both ridge copies point straight up.
    EXPECT_NEAR(welded.Normals[2].z, 1, 1e-6f);
    EXPECT_EQ(welded.Normals[2], welded.Normals[4]);

    options.RespectSplits = true;
    MeshArrays apart = roof();
    ASSERT_TRUE(library->Apply(apart, options));
    expectOrthonormalFrames(apart);
    EXPECT_LT(apart.Normals[2].x, -0.1f); // the left panel's own normal
    EXPECT_GT(apart.Normals[4].x, 0.1f);  // the right panel's
    EXPECT_EQ(apart.Vertices.size(), 8u);
}

TEST_F(MeshMenderTest, WithoutRecomputingNormalsSplitsStillGiveEveryVertexItsNormal)
{
    MeshArrays mesh = cube();
    const MeshArrays before = mesh;
    MeshMenderOptions options;
    options.CalculateNormals = false;
    options.MinTangentCreaseCos = 0.99f;
    options.MinBinormalCreaseCos = 0.99f;
    ASSERT_TRUE(library->Apply(mesh, options));
    ASSERT_GT(mesh.Vertices.size(), 8u); // tangents split the corners
    ASSERT_EQ(mesh.Normals.size(), mesh.Vertices.size());
    for (std::size_t c = 0; c < mesh.Indices.size(); ++c)
        EXPECT_EQ(mesh.Normals[mesh.Indices[c]], before.Normals[before.Indices[c]]);
}

TEST_F(MeshMenderTest, FailedMendLeavesTheMeshWithZeroTangents)
{
    MeshArrays mesh = cube();
    mesh.Tangents.assign(8, Vector3{1, 1, 1});
    mesh.Indices.back() = 8; // past the last vertex
    const MeshArrays before = mesh;
    EXPECT_FALSE(library->Apply(mesh, {}));
    EXPECT_EQ(mesh.Vertices, before.Vertices);
    EXPECT_EQ(mesh.Normals, before.Normals);
    EXPECT_EQ(mesh.TexCoords, before.TexCoords);
    EXPECT_EQ(mesh.Indices, before.Indices);
    EXPECT_EQ(mesh.Tangents, KaGeomData3(8));
    EXPECT_EQ(mesh.Binormals, KaGeomData3(8));

    MeshArrays notTriangles = cube();
    notTriangles.Indices.pop_back();
    EXPECT_FALSE(library->Apply(notTriangles, {}));
}

TEST_F(MeshMenderTest, AFaceWithoutAreaTakesTheNormalOfItsNeighbours)
{
    MeshArrays mesh;
    mesh.Vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 0, 0}};
    mesh.TexCoords = {{0, 0}, {1, 0}, {1, 1}, {2, 0}};
    mesh.Normals.assign(4, kZeroVector); // as some exporters write them
    mesh.Indices = {0, 1, 2, 0, 1, 3};   // the second triangle is a line
    MeshMenderOptions options;
    options.MinNormalCreaseCos = 0.5f;
    ASSERT_TRUE(library->Apply(mesh, options));
    for (const std::uint32_t v : mesh.Indices) {
        if (mesh.Vertices[v].x == 2) {
            // Touches no face with area and came without a normal: nothing
            // to go on, and nothing made up.
            EXPECT_EQ(mesh.Normals[v], kZeroVector);
            continue;
        }
        EXPECT_EQ(mesh.Normals[v], (Vector3{0, 0, 1})) << v;
        EXPECT_NEAR(dot(mesh.Tangents[v], mesh.Tangents[v]), 1, 1e-5f) << v;
        EXPECT_NEAR(dot(mesh.Tangents[v], mesh.Normals[v]), 0, 1e-5f) << v;
    }
}

TEST(MeshMenderLibraryTest, MissingLibraryDisablesTheMethodWithAMessage)
{
    std::string whyNot;
    EXPECT_FALSE(MeshMenderLibrary::Open("libno-such-mender.so", whyNot));
    EXPECT_NE(whyNot.find("libno-such-mender.so"), std::string::npos) << whyNot;
    EXPECT_NE(whyNot.find("disabled"), std::string::npos) << whyNot;
}

TEST(MeshMenderLibraryTest, FoundByFileNameAlone)
{
    std::string whyNot;
    EXPECT_TRUE(MeshMenderLibrary::Open(kMeshMenderFileName, whyNot)) << whyNot;
}

TEST(MeshMenderContractTest, ReturnsBlocksOfItsOwnAndLeavesTheCallersAlone)
{
    void* handle = ::dlopen(RA7_MESHMENDER_PATH, RTLD_NOW);
    ASSERT_NE(handle, nullptr);
    const auto mend = reinterpret_cast<MendFunction>(::dlsym(handle, "Mend"));
    const auto dispose = reinterpret_cast<DisposeMemFunction>(::dlsym(handle, "DisposeMem"));
    ASSERT_TRUE(mend && dispose);

    // One triangle, records of 14 singles.
    std::vector<float> records = {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, //
                                  1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, //
                                  0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> indices = {0, 1, 2};
    const auto recordsBefore = records;
    uintptr_t vertexBlock = reinterpret_cast<uintptr_t>(records.data());
    uintptr_t vertexCount = 3;
    uintptr_t indexBlock = reinterpret_cast<uintptr_t>(indices.data());
    uintptr_t indexCount = 3;
    ASSERT_NE(mend(&vertexBlock, &vertexCount, &indexBlock, &indexCount, 0, 0, 0, 1, -1, 0, 0), 0);
    EXPECT_NE(vertexBlock, reinterpret_cast<uintptr_t>(records.data()));
    EXPECT_NE(indexBlock, reinterpret_cast<uintptr_t>(indices.data()));
    EXPECT_EQ(records, recordsBefore);
    ASSERT_EQ(vertexCount, 3u);
    ASSERT_EQ(indexCount, 3u);
    const float* out = reinterpret_cast<const float*>(vertexBlock);
    EXPECT_EQ((std::vector<float>(out + 8, out + 14)), (std::vector<float>{1, 0, 0, 0, 1, 0}));
    dispose(vertexBlock);
    dispose(indexBlock);

    // Failure changes nothing.
    indices[2] = 3;
    vertexBlock = reinterpret_cast<uintptr_t>(records.data());
    indexBlock = reinterpret_cast<uintptr_t>(indices.data());
    EXPECT_EQ(mend(&vertexBlock, &vertexCount, &indexBlock, &indexCount, 0, 0, 0, 1, -1, 0, 0), 0);
    EXPECT_EQ(vertexBlock, reinterpret_cast<uintptr_t>(records.data()));
    EXPECT_EQ(indexCount, 3u);
    EXPECT_EQ(mend(nullptr, &vertexCount, &indexBlock, &indexCount, 0, 0, 0, 1, -1, 0, 0), 0);
    ::dlclose(handle);
}

} // namespace
} // namespace ra7
