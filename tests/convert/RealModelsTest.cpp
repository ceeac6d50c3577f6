// OBJ models that nobody here wrote: the test models Debian ships with assimp
// (package assimp-testmodels). The counts were taken with grep and awk over
// the files themselves.
#include "EditConvert.h"
#include "MeshMenderCall.h"
#include "OBJLoader.h"
#include "TangentSpace.h"
#include "engine/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace ra7 {
namespace {

const std::filesystem::path kModels = "/usr/share/assimp/models/OBJ";

class RealModelsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kModels / "spider.obj"))
            RA7_SKIP_WITHOUT("assimp-testmodels is not installed (scripts/packages.txt lists it)");
    }

    static std::int32_t faceTotal(const TModel& model)
    {
        std::int32_t total = 0;
        for (std::int32_t g = 1; g <= model.GroupCount; ++g)
            total += model.Groups[g].FaceCount;
        return total;
    }

    static std::int32_t findGroup(const TModel& model, const std::string& name)
    {
        for (std::int32_t g = 1; g <= model.GroupCount; ++g)
            if (model.Groups[g].Name == name)
                return g;
        return 0;
    }
};

TEST_F(RealModelsTest, SpiderReadsWithItsLibraryAndTextures)
{
    std::vector<std::string> messages;
    const TModel model =
        LoadOBJ((kModels / "spider.obj").string(),
                [&](const std::string&, const std::string& text) { messages.push_back(text); });
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(model.Name, "spider");
    EXPECT_EQ(model.VertexCount, 762);
    EXPECT_EQ(model.TexCoordCount, 302);
    EXPECT_EQ(model.NormalCount, 747);
    EXPECT_EQ(model.GroupCount, 19);
    EXPECT_EQ(faceTotal(model), 1368);
    EXPECT_TRUE(IsTriangulated(model));
    ASSERT_TRUE(model.HasMaterials);
    EXPECT_EQ(model.MaterialCount, 5);

    const std::int32_t body = findGroup(model, "HLEIB01");
    ASSERT_NE(body, 0);
    EXPECT_EQ(model.Groups[body].FaceCount, 80);
    EXPECT_EQ(model.Materials[model.Groups[body].MaterialIndex].Name, "HLEIBTEX");
    const std::int32_t eye = findGroup(model, "AUGE");
    ASSERT_NE(eye, 0);
    EXPECT_EQ(model.Groups[eye].FaceCount, 38);
    EXPECT_EQ(model.Materials[model.Groups[eye].MaterialIndex].Name, "AUGENTEX");

    // "map_Kd .\wal67ar_small.jpg", found beside the model ignoring case.
    const TMaterial& skin = model.Materials[1];
    EXPECT_EQ(skin.Name, "SKIN");
    EXPECT_EQ(skin.MapName, ".\\WAL67AR_SMALL.JPG");
    EXPECT_EQ(skin.MapPath.filename(), "wal67ar_small.jpg");
    EXPECT_EQ(skin.Diffuse, (Vector3{0.827451f, 0.792157f, 0.772549f}));

    const auto plans = PlanGroupMeshes(model, "spider");
    ASSERT_EQ(plans.size(), 19u);
    std::size_t corners = 0;
    for (const GroupMeshPlan& plan : plans)
        corners += BuildGroupMesh(model, plan.Group).Vertices.size();
    EXPECT_EQ(corners, 3u * 1368);
}

TEST_F(RealModelsTest, HouseWithoutNormalsAndWithACodePageMaterialName)
{
    const TModel model = LoadOBJ((kModels / "regr01.obj").string());
    EXPECT_EQ(model.VertexCount, 2108);
    EXPECT_EQ(model.TexCoordCount, 688);
    EXPECT_EQ(model.NormalCount, 0);
    EXPECT_EQ(model.GroupCount, 111); // 55 named "g" lines and 56 bare ones
    EXPECT_EQ(faceTotal(model), 2710);
    ASSERT_TRUE(model.HasMaterials); // "mtllib ./regr01.mtl"
    EXPECT_EQ(model.MaterialCount, 12);
    const std::int32_t base = findGroup(model, "BASE");
    ASSERT_NE(base, 0);
    const TMaterial& material = model.Materials[model.Groups[base].MaterialIndex];
    EXPECT_EQ(material.Name, "BASE");
    EXPECT_EQ(material.Specular, (Vector3{0.9f, 0.9f, 0.9f}));
    EXPECT_EQ(material.Shininess, 0.0f);
    // Byte 0xE6 of "Terraindæk" (Latin-1) is "ж" in code page 1251.
    EXPECT_EQ(model.Materials[9].Name, "TERRAIND\xD0\xB6K");
    // Faces without normals get their face's normal.
    const MeshArrays mesh = BuildGroupMesh(model, base);
    ASSERT_FALSE(mesh.Normals.empty());
    EXPECT_NEAR(mesh.Normals[0].x * mesh.Normals[0].x + mesh.Normals[0].y * mesh.Normals[0].y +
                    mesh.Normals[0].z * mesh.Normals[0].z,
                1.0f, 1e-5f);
}

TEST_F(RealModelsTest, EveryTangentSpaceMethodCopesWithTheSpider)
{
    const TModel model = LoadOBJ((kModels / "spider.obj").string());
    std::string whyNot;
    const auto mender = MeshMenderLibrary::Open(RA7_MESHMENDER_PATH, whyNot);
    ASSERT_TRUE(mender) << whyNot;
    MeshMenderOptions options;
    options.MinNormalCreaseCos = 0.5f;
    options.MinTangentCreaseCos = 0.5f;
    options.MinBinormalCreaseCos = 0.5f;
    for (const GroupMeshPlan& plan : PlanGroupMeshes(model, "spider")) {
        MeshArrays mesh = BuildGroupMesh(model, plan.Group);
        const std::size_t corners = mesh.Vertices.size();
        TangentSpaceGradients(mesh.Vertices, mesh.Indices, mesh.TexCoords, mesh.Tangents, mesh.Binormals);
        for (const Vector3& t : mesh.Tangents)
            ASSERT_TRUE(std::isfinite(t.x) && std::isfinite(t.y) && std::isfinite(t.z)) << plan.MeshName;
        TangentSpaceIsoLines(mesh.Vertices, mesh.Indices, mesh.Normals, mesh.TexCoords, mesh.Tangents,
                             mesh.Binormals);
        ASSERT_EQ(mesh.Tangents.size(), corners);
        // The mender welds the separate corners back by position and smooths them.
        ASSERT_TRUE(mender->Apply(mesh, options)) << plan.MeshName;
        ASSERT_EQ(mesh.Indices.size(), corners);
        ASSERT_EQ(mesh.Normals.size(), mesh.Vertices.size());
        for (const std::uint32_t v : mesh.Indices) {
            const Vector3& n = mesh.Normals[v];
            const Vector3& t = mesh.Tangents[v];
            ASSERT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-4f) << plan.MeshName;
            ASSERT_NEAR(t.x * t.x + t.y * t.y + t.z * t.z, 1.0f, 1e-4f) << plan.MeshName;
            ASSERT_NEAR(n.x * t.x + n.y * t.y + n.z * t.z, 0.0f, 1e-4f) << plan.MeshName;
        }
    }
}

} // namespace
} // namespace ra7
