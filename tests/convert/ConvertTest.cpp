// What conversion makes of an OBJ model's groups: the triangulation check,
// scaling, the per-group mesh arrays and the mesh file names.
#include "EditConvert.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"

#include <gtest/gtest.h>

namespace ra7 {
namespace {

class ConvertTest : public test::ScratchDirectoryTest {
protected:
    TModel read(std::string_view text)
    {
        TModel model;
        ReadOBJText(model, text, "model.obj", dir());
        return model;
    }
};

constexpr std::string_view kQuad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                                   "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                   "vn 0 0 1\nvn 0 0 -1\n";

TEST_F(ConvertTest, TwoTrianglesGiveSixVerticesAndIndicesZeroToFive)
{
    const TModel model = read(std::string(kQuad) + "g quad\nf 1/1/1 2/2/1 3/3/1\nf 1/1/2 3/3/2 4/4/2\n");
    const MeshArrays mesh = BuildGroupMesh(model, 1);
    ASSERT_EQ(mesh.Vertices.size(), 6u);
    EXPECT_EQ(mesh.Indices, (KaCarArr{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(mesh.Vertices, (KaGeomData3{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    EXPECT_EQ(mesh.Normals,
              (KaGeomData3{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}}));
    EXPECT_EQ(mesh.TexCoords, (KaGeomData2{{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(mesh.Tangents, KaGeomData3(6));
    EXPECT_EQ(mesh.Binormals, KaGeomData3(6));
}

TEST_F(ConvertTest, CornersWithoutNormalOrTexCoordGetTheFaceNormalAndZero)
{
    const TModel model = read(std::string(kQuad) + "f 1 3 4\nf 4 3 1\n");
    const MeshArrays mesh = BuildGroupMesh(model, 1);
    EXPECT_EQ(mesh.Normals,
              (KaGeomData3{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}}));
    EXPECT_EQ(mesh.TexCoords, KaGeomData2(6));
}

TEST_F(ConvertTest, IsTriangulatedRefusesAnyFaceWithMoreThanThreeCorners)
{
    EXPECT_TRUE(IsTriangulated(read("")));
    EXPECT_TRUE(IsTriangulated(read(std::string(kQuad) + "g a\nf 1 2 3\ng b\nf 1 3 4\n")));
    EXPECT_FALSE(IsTriangulated(read(std::string(kQuad) + "g a\nf 1 2 3\ng b\nf 1 3 4\nf 1 2 3 4\n")));
    EXPECT_FALSE(IsTriangulated(read(std::string(kQuad) + "f 1 2 3 4\ng b\nf 1 3 4\n")));
}

TEST_F(ConvertTest, ScaleModelScalesEveryPositionTheLastIncluded)
{
    TModel model = read("v 1 -2 3\nv 0.1 0.2 0.3\nv 4 5 6\n");
    const TModel original = model;
    ScaleModel(model, 1.0f);
    EXPECT_EQ(model.Vertices, original.Vertices);
    ScaleModel(model, 2.0f);
    EXPECT_EQ(model.Vertices[1], (Vector3{2, -4, 6}));
    EXPECT_EQ(model.Vertices[3], (Vector3{8, 10, 12}));
    EXPECT_EQ(model.Vertices[0], kZeroVector);
}

TEST_F(ConvertTest, GroupsWithTheSameNameGetDistinctMeshFiles)
{
    const TModel model =
        read(std::string(kQuad) + "g box\nf 1 2 3\ng Box\nf 1 2 3\ng box_1\nf 1 2 3\ng BOX\nf 1 2 3\n");
    const auto plans = PlanGroupMeshes(model, "data\\models");
    ASSERT_EQ(plans.size(), 4u);
    EXPECT_EQ(plans[0].MeshName, "data\\models\\BOX.mes");
    EXPECT_EQ(plans[1].MeshName, "data\\models\\BOX_2.mes"); // BOX_1 belongs to a group of that name
    EXPECT_EQ(plans[2].MeshName, "data\\models\\BOX_1.mes");
    EXPECT_EQ(plans[3].MeshName, "data\\models\\BOX_3.mes");
}

TEST_F(ConvertTest, GroupNamesCannotLeadOutOfTheTargetFolder)
{
    const TModel model =
        read(std::string(kQuad) + "g ..\\..\\evil\nf 1 2 3\ng a/b:c\nf 1 2 3\ng ..\nf 1 2 3\n");
    const auto plans = PlanGroupMeshes(model, "out");
    ASSERT_EQ(plans.size(), 3u);
    EXPECT_EQ(plans[0].MeshName, "out\\.._.._EVIL.mes");
    EXPECT_EQ(plans[1].MeshName, "out\\A_B_C.mes");
    EXPECT_EQ(plans[2].MeshName, "out\\GROUP...mes");
    for (const auto& plan : plans)
        EXPECT_EQ(plan.MeshName.find('\\', 4), std::string::npos) << plan.MeshName;
}

TEST_F(ConvertTest, EmptyDirectoryGivesBareFileNames)
{
    const TModel model = read(std::string(kQuad) + "f 1 2 3\n");
    const auto plans = PlanGroupMeshes(model, "");
    ASSERT_EQ(plans.size(), 1u);
    EXPECT_EQ(plans[0].MeshName, "DEFAULT.mes");
}

using MaterialShininessTest = test::ConsoleTest;

TEST_F(MaterialShininessTest, RoundsHalvesToEvenWithinTheByteRange)
{
    TMaterial material;
    material.Name = "METAL";
    for (const auto& [ns, expected] : std::initializer_list<std::pair<float, int>>{{0.0f, 0},
                                                                                   {0.4f, 0},
                                                                                   {0.5f, 0},
                                                                                   {1.5f, 2},
                                                                                   {2.5f, 2},
                                                                                   {96.078431f, 96},
                                                                                   {254.5f, 254},
                                                                                   {255.4f, 255},
                                                                                   {-0.5f, 0}}) {
        material.Shininess = ns;
        EXPECT_EQ(MaterialShininess(material), expected) << ns;
    }
    EXPECT_FALSE(test::logHas("! Материал METAL: блеск Ns 0 вне 0..255, взято 0"));
}

TEST_F(MaterialShininessTest, ValuesOutsideTheByteRangeAreClampedWithALogLineNamingTheMaterial)
{
    TMaterial material;
    material.Name = "METAL";
    for (const auto& [ns, expected] : std::initializer_list<std::pair<float, int>>{
             {255.5f, 255}, {256.0f, 255}, {1000.0f, 255}, {-0.6f, 0}, {-40.0f, 0}}) {
        material.Shininess = ns;
        EXPECT_EQ(MaterialShininess(material), expected) << ns;
    }
    EXPECT_TRUE(test::logHas("! Материал METAL: блеск Ns 1000 вне 0..255, взято 255"));
    EXPECT_TRUE(test::logHas("! Материал METAL: блеск Ns -40 вне 0..255, взято 0"));
}

} // namespace
} // namespace ra7
