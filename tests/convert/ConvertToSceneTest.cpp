// Conversion into engine objects: mesh files, materials, geometry objects and
// the GMS objects, on real lists and a real object array.
#include "ConvertToScene.h"
#include "ConvertSceneFixture.h"
#include "MeshMenderCall.h"
#include "SceneTangentSpace.h"

#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <gmock/gmock.h>

#include <cmath>
#include <filesystem>

namespace ra7 {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::string_view kCorners = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                                      "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                      "vn 0 0 1\n";
constexpr std::string_view kTwoTriangles = "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";

class ConvertToSceneTest : public test::ConvertSceneTest {
protected:
    void SetUp() override
    {
        ConvertSceneTest::SetUp();
        fs::create_directory("meshes");
    }

    // Reads the OBJ text (and an MTL library "model.mtl" when given) from
    // the scratch directory.
    TModel model(const std::string& obj, const std::string& mtl = {})
    {
        if (!mtl.empty())
            test::writeFile("model.mtl", mtl);
        test::writeFile("model.obj", (mtl.empty() ? "" : "mtllib model.mtl\n") + obj);
        return LoadOBJ("model.obj");
    }

    static const KaGeometry& geometry(const std::string& name)
    {
        const KaSceneObj* object = SceneObjects->FindByName(name);
        EXPECT_NE(object, nullptr) << name;
        return static_cast<const KaGeometry&>(*object);
    }

    static std::vector<std::string> filesIn(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ConvertToSceneTest, TwoTriangleGroupBecomesAMeshFileThatReadsBackByteForByte)
{
    const ConversionResult result =
        ConvertOBJModel(model(std::string(kCorners) + "g quad\n" + std::string(kTwoTriangles)), "meshes");
    EXPECT_THAT(result.MeshNames, ElementsAre("meshes\\QUAD.mes"));
    EXPECT_THAT(result.ObjectNames, ElementsAre("QUAD"));
    EXPECT_TRUE(result.MaterialNames.empty());

    const std::string bytes = test::readFile("meshes/QUAD.mes");
    // Tag, name, two counts, 6 indices, then positions, normals, texture
    // coordinates, tangents and binormals of 6 vertices.
    EXPECT_EQ(bytes.size(), 4u + 256 + 8 + 6 * 4 + 6 * (12 + 12 + 8 + 12 + 12));
    RecordReader file("QUAD.mes", bytes);
    KaMesh read;
    ReadMeshFile(file, read);
    EXPECT_EQ(read.Name, "meshes\\QUAD.mes");
    EXPECT_EQ(read.VertexCount, 6);
    EXPECT_EQ(read.Indices, (KaCarArr{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(read.Vertices, (KaGeomData3{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    EXPECT_EQ(read.TexCoords, (KaGeomData2{{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(read.Tangents, KaGeomData3(6));
    {
        RecordWriter again("again.mes");
        read.SaveToFile(again);
        again.commit();
    }
    EXPECT_EQ(test::readFile("again.mes"), bytes);

    // The list holds the same mesh, and the object uses it at every level.
    ASSERT_EQ(Meshes->Count(), 1);
    EXPECT_EQ(Meshes->Get(0).Vertices, read.Vertices);
    const KaGeometry& quad = geometry("QUAD");
    EXPECT_EQ(quad.MeshName, "meshes\\QUAD.mes");
    EXPECT_EQ(quad.MeshLod1, quad.MeshName);
    EXPECT_EQ(quad.MeshLod2, quad.MeshName);
    EXPECT_EQ(quad.MaterialName, "");
    // The main box encloses the mesh rather than the unit box at the origin.
    ASSERT_EQ(quad.Bounds->Main->Kind(), KaShapeKind::AABB);
    EXPECT_EQ(static_cast<const KaBoundingAABB&>(*quad.Bounds->Main).Size, (Vector3{0.5f, 0.5f, 0}));
    EXPECT_EQ(quad.Bounds->Main->LocalTrans.Position, (Vector3{0.5f, 0.5f, 0}));
}

TEST_F(ConvertToSceneTest, QuadModelIsRefusedWithItsMessageAndNothingIsWritten)
{
    std::vector<std::string> shown;
    const ConversionResult result =
        ConvertOBJModel(model(std::string(kCorners) + "g tri\nf 1 2 3\ng quad\nf 1 2 3 4\n"), "meshes",
                        [&](const std::string&, const std::string& text) { shown.push_back(text); });
    EXPECT_THAT(shown, ElementsAre("Не правильный файл obj, нужно триангулировать полигоны!"));
    EXPECT_TRUE(result.MeshNames.empty());
    EXPECT_TRUE(filesIn("meshes").empty());
    EXPECT_EQ(Meshes->Count(), 0);
    EXPECT_EQ(SceneObjects->Count(), 0);
}

TEST_F(ConvertToSceneTest, GroupWithoutFacesMakesNoFileNoMeshNoObject)
{
    ConvertOBJModel(
        model(std::string(kCorners) + "g empty\ng full\n" + std::string(kTwoTriangles) + "g last\n"),
        "meshes");
    EXPECT_THAT(filesIn("meshes"), ElementsAre("FULL.mes"));
    EXPECT_EQ(Meshes->Count(), 1);
    ASSERT_EQ(SceneObjects->Count(), 1);
    EXPECT_EQ(SceneObjects->GetItem(0)->Name(), "FULL");
}

TEST_F(ConvertToSceneTest, NameClashesGiveDistinctObjectsMaterialsAndFiles)
{
    auto existing = std::make_unique<KaGeometry>();
    existing->SetName("BOX");
    SceneObjects->Add(std::move(existing));
    const std::string mtl = "newmtl wood\nKd 1 0 0\n";
    const ConversionResult result = ConvertOBJModel(
        model(std::string(kCorners) + "usemtl wood\ng box\nf 1 2 3\ng Box\nusemtl wood\nf 1 3 4\n", mtl),
        "meshes");
    EXPECT_THAT(result.ObjectNames, ElementsAre("BOX_1", "BOX_2"));
    EXPECT_THAT(result.MeshNames, ElementsAre("meshes\\BOX.mes", "meshes\\BOX_1.mes"));
    EXPECT_THAT(result.MaterialNames, ElementsAre("WOOD", "WOOD_1"));
    EXPECT_THAT(filesIn("meshes"), ElementsAre("BOX.mes", "BOX_1.mes"));
    EXPECT_NE(test::readFile("meshes/BOX.mes"), test::readFile("meshes/BOX_1.mes"));
    EXPECT_EQ(geometry("BOX_1").MeshName, "meshes\\BOX.mes");
    EXPECT_EQ(geometry("BOX_2").MeshName, "meshes\\BOX_1.mes");
    EXPECT_EQ(geometry("BOX_2").MaterialName, "WOOD_1");
    EXPECT_EQ(Materials->Count(), 2);
}

TEST_F(ConvertToSceneTest, MaterialTakesTheLibraryColoursAndShininessRoundedHalfToEven)
{
    const std::string mtl = "newmtl stone\nKa 0.1 0.2 0.3\nKd 0.4 0.5 0.6\nKs 0.7 0.8 0.9\nNs 62.5\n";
    ConvertOBJModel(model(std::string(kCorners) + "g wall\nusemtl stone\n" + std::string(kTwoTriangles), mtl),
                    "meshes");
    const KaMaterial* stone = Materials->Find("STONE");
    ASSERT_NE(stone, nullptr);
    EXPECT_EQ(stone->Ambient, (KaColor{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(stone->Diffuse, (KaColor{0.4f, 0.5f, 0.6f, 1}));
    EXPECT_EQ(stone->Specular, (KaColor{0.7f, 0.8f, 0.9f, 1}));
    EXPECT_EQ(stone->Shininess, 62);
    EXPECT_EQ(stone->Textures[0], "");
    EXPECT_EQ(geometry("WALL").MaterialName, "STONE");
}

TEST_F(ConvertToSceneTest, ShininessAboveTheByteRangeIsClampedAndEveryGroupConverts)
{
    const std::string mtl = "newmtl ok\nNs 10\nnewmtl shiny\nNs 900\nnewmtl third\nNs 96\n";
    const TModel read =
        model(std::string(kCorners) + "g first\nusemtl ok\nf 1 2 3\ng second\nusemtl shiny\nf 1 3 4\n"
                                      "g last\nusemtl third\nf 1 2 4\n",
              mtl);
    ASSERT_NO_THROW(ConvertOBJModel(read, "meshes"));
    EXPECT_THAT(filesIn("meshes"), ElementsAre("FIRST.mes", "LAST.mes", "SECOND.mes"));
    EXPECT_EQ(SceneObjects->Count(), 3);
    ASSERT_NE(Materials->Find("SHINY"), nullptr);
    EXPECT_EQ(Materials->Find("SHINY")->Shininess, 255);
    EXPECT_EQ(Materials->Find("THIRD")->Shininess, 96);
    EXPECT_TRUE(test::logHas("! Материал SHINY: блеск Ns 900 вне 0..255, взято 255"));
}

TEST_F(ConvertToSceneTest, TexturesFoundBesideTheModelAreCopiedIntoTheMeshFolder)
{
    const std::string mtl = "newmtl painted\nmap_Kd wood.tga\nnewmtl bare\nmap_Kd beside.tga\n"
                            "newmtl lost\nmap_Kd gone.tga\n";
    test::writeSolidTga("meshes/wood.tga", 2, 0, 255, 0);
    test::writeSolidTga("beside.tga", 2, 255, 0, 0); // beside the model, not in the target folder
    ConvertOBJModel(model(std::string(kCorners) + "g a\nusemtl painted\nf 1 2 3\ng b\nusemtl bare\nf 1 3 4\n"
                                                  "g c\nusemtl lost\nf 1 2 4\n",
                          mtl),
                    "meshes");
    const KaMaterial* painted = Materials->Find("PAINTED");
    const KaMaterial* bare = Materials->Find("BARE");
    const KaMaterial* lost = Materials->Find("LOST");
    ASSERT_TRUE(painted && bare && lost);
    EXPECT_EQ(painted->Textures[0], "meshes\\WOOD.TGA");
    EXPECT_NE(Textures->Find("meshes\\WOOD.TGA"), nullptr);
    EXPECT_EQ(bare->Textures[0], "meshes\\BESIDE.TGA");
    EXPECT_NE(Textures->Find("meshes\\BESIDE.TGA"), nullptr);
    EXPECT_EQ(test::readFile("meshes/BESIDE.TGA"), test::readFile("beside.tga"));
    EXPECT_EQ(lost->Textures[0], "");
    EXPECT_TRUE(test::logHas("! Текстура GONE.TGA материала LOST не найдена ни рядом с моделью, ни в "
                             "meshes\\GONE.TGA"));
    EXPECT_EQ(Textures->Count(), 2);
}

TEST_F(ConvertToSceneTest, MeshFileThatCannotBeCreatedStopsTheConversion)
{
    EXPECT_THROW(ConvertOBJModel(model(std::string(kCorners) + "g a\nf 1 2 3\n"), "no-such-folder"), Error);
    EXPECT_EQ(SceneObjects->Count(), 0);
    EXPECT_EQ(Meshes->Count(), 0);
}

// One GMS object in the file's layout.
std::string gmsObject(const std::string& name, const std::string& position, const std::string& counts,
                      const std::string& body)
{
    return "New Object\r\n{\r\n" + position + "\r\n" + name + "\r\ntrimesh()\r\nmesh\r\n" + counts + "\r\n" +
           body;
}

// A quad: four positions, two triangles, normals n0 .. n3.
std::string quadBody(const std::string& texCoords, const std::string& texFaces)
{
    return "vertices\r\n0 0 0\r\n1 0 0\r\n1 1 0\r\n0 1 0\r\nend\r\nfaces\r\n0 1 2\r\n0 2 3\r\nend\r\n"
           "normals\r\n0 0 1\r\n0 1 0\r\n1 0 0\r\n0 0 -1\r\nend\r\ntexcoords\r\n" +
           texCoords + "end\r\ntexfaces\r\n" + texFaces + "end\r\n}\r\n";
}

TEST_F(ConvertToSceneTest, GmsObjectsMergeIntoMeshesAndGeometryAtTheirPositions)
{
    // Floor: three texture coordinates for four positions (vertex numbering).
    // Wall: six texture coordinates (texture numbering, positions re-laid).
    const std::string text =
        "gmax\r\n" +
        gmsObject("Floor", "1 2 3", "4 2 3", quadBody("0 0\r\n1 0\r\n0.5 1\r\n", "0 1 2\r\n0 2 1\r\n")) +
        gmsObject("Wall", "-4 5 6", "4 2 6",
                  quadBody("0 0\r\n1 0\r\n1 1\r\n0 0.5\r\n0.5 0.5\r\n0 1\r\n", "0 1 2\r\n3 4 5\r\n"));
    test::writeFile("level.gms", text);
    const ConversionResult result = LoadGMS("level.gms");
    EXPECT_THAT(result.ObjectNames, ElementsAre("Floor", "Wall"));
    EXPECT_THAT(result.MeshNames, ElementsAre("FloorMesh", "WallMesh"));
    EXPECT_TRUE(filesIn("meshes").empty());
    EXPECT_FALSE(fs::exists("FloorMesh")) << "no mesh file is written";

    // How each layout is read is GmsReaderTest's; here where the meshes go.
    ASSERT_NE(Meshes->Find("FloorMesh"), nullptr);
    EXPECT_EQ(Meshes->Find("FloorMesh")->VertexCount, 4);
    ASSERT_NE(Meshes->Find("WallMesh"), nullptr);
    EXPECT_EQ(Meshes->Find("WallMesh")->VertexCount, 6);
    EXPECT_EQ(geometry("Floor").Trans->Position, (Vector3{1, 2, 3}));
    EXPECT_EQ(geometry("Floor").MeshLod2, "FloorMesh");
    EXPECT_EQ(geometry("Wall").Trans->Position, (Vector3{-4, 5, 6}));

    // A second load merges under new object names; the meshes are known already.
    EXPECT_TRUE(LoadGMS("level.gms").MeshNames.empty());
    EXPECT_NE(SceneObjects->FindByName("Floor_1"), nullptr);
    EXPECT_EQ(Meshes->Count(), 2);
}

TEST_F(ConvertToSceneTest, DamagedGmsObjectStopsTheLoadKeepingTheObjectsBefore)
{
    const std::string text =
        "gmax\r\n" +
        gmsObject("Good", "0 0 0", "4 2 3", quadBody("0 0\r\n1 0\r\n0.5 1\r\n", "0 1 2\r\n0 2 1\r\n")) +
        gmsObject("Bad", "0 0 0", "4 2 3", quadBody("0 0\r\n1 x\r\n0.5 1\r\n", "0 1 2\r\n0 2 1\r\n"));
    test::writeFile("level.gms", text);
    EXPECT_THROW(LoadGMS("level.gms"), FileError);
    EXPECT_NE(SceneObjects->FindByName("Good"), nullptr);
    EXPECT_EQ(SceneObjects->FindByName("Bad"), nullptr);
    EXPECT_EQ(Meshes->Count(), 1);
}

// Tangent space over the converted scene.
class SceneTangentSpaceTest : public ConvertToSceneTest {
protected:
    void convertQuad()
    {
        ConvertOBJModel(model(std::string(kCorners) + "g quad\n" + std::string(kTwoTriangles)), "meshes");
        // A second object sharing the mesh: it is computed once.
        auto copy = std::make_unique<KaGeometry>();
        copy->SetName("copy");
        copy->MeshName = "meshes\\QUAD.mes";
        SceneObjects->Add(std::move(copy));
    }
};

TEST_F(SceneTangentSpaceTest, GradientsAndIsoLinesFillEveryVertexOfEachMeshOnce)
{
    convertQuad();
    EXPECT_EQ(ApplyTangentSpace(TangentMethod::Gradients).Computed, 1);
    const KaMesh& mesh = *Meshes->Find("meshes\\QUAD.mes");
    EXPECT_EQ(mesh.Tangents, KaGeomData3(6, Vector3{1, 0, 0}));
    EXPECT_EQ(mesh.Binormals, KaGeomData3(6, Vector3{0, 1, 0}));
    EXPECT_EQ(ApplyTangentSpace(TangentMethod::IsoLines).Computed, 1);
    EXPECT_EQ(mesh.Tangents, KaGeomData3(6, Vector3{-1, 0, 0}));
    EXPECT_EQ(mesh.Binormals, KaGeomData3(6, Vector3{0, -1, 0}));
    EXPECT_EQ(ApplyTangentSpace(TangentMethod::None).Computed, 0);
}

TEST_F(SceneTangentSpaceTest, AnIndexedGmsMeshGetsTheTangentsOfItsTrianglesAndCanBeSaved)
{
    // Four shared corners, two triangles: the index list, not vertex triples,
    // says which corners make a triangle.
    const std::string body =
        "vertices\r\n0 0 0\r\n1 0 0\r\n1 1 0\r\n0 1 0\r\nend\r\nfaces\r\n0 1 2\r\n0 2 3\r\n"
        "end\r\nnormals\r\n0 0 1\r\n0 0 1\r\n0 0 1\r\n0 0 1\r\nend\r\ntexcoords\r\n"
        "0 0\r\n1 0\r\n1 1\r\n0 1\r\nend\r\ntexfaces\r\n0 1 2\r\n0 2 3\r\nend\r\n}\r\n";
    test::writeFile("floor.gms", "gmax\r\n" + gmsObject("Floor", "0 0 0", "4 2 4", body));
    LoadGMS("floor.gms");
    KaMesh& mesh = *Meshes->Find("FloorMesh");
    ASSERT_EQ(mesh.Indices, (KaCarArr{0, 1, 2, 0, 2, 3}));
    for (const TangentMethod method : {TangentMethod::Gradients, TangentMethod::IsoLines}) {
        EXPECT_EQ(ApplyTangentSpace(method).Computed, 1);
        ASSERT_EQ(mesh.Tangents.size(), 4u);
        ASSERT_EQ(mesh.Binormals.size(), 4u);
        const float sign = method == TangentMethod::Gradients ? 1.0f : -1.0f;
        for (std::size_t v = 0; v < 4; ++v) {
            EXPECT_NEAR(mesh.Tangents[v].x, sign, 1e-5f) << v;
            EXPECT_NEAR(mesh.Binormals[v].y, sign, 1e-5f) << v;
        }
        Meshes->SaveAll();
        KaMesh saved;
        RecordReader file = RecordReader::openFile("FloorMesh");
        ReadMeshFile(file, saved);
        EXPECT_EQ(saved.Tangents, mesh.Tangents);
    }
}

TEST_F(SceneTangentSpaceTest, MeshMenderComputesAndSavesEveryMesh)
{
    std::string whyNot;
    const auto library = MeshMenderLibrary::Open(RA7_MESHMENDER_PATH, whyNot);
    ASSERT_TRUE(library) << whyNot;
    convertQuad();
    EXPECT_EQ(ApplyTangentSpace(TangentMethod::MeshMender, library.get()).Computed, 1);
    KaMesh saved;
    RecordReader file = RecordReader::openFile("meshes\\QUAD.mes");
    ReadMeshFile(file, saved);
    ASSERT_EQ(saved.Tangents.size(), static_cast<std::size_t>(saved.VertexCount));
    for (const Vector3& t : saved.Tangents)
        EXPECT_NEAR(std::abs(t.x), 1.0f, 1e-5f);
}

TEST_F(SceneTangentSpaceTest, MeshMenderSavingLeavesUploadedMeshFilesAlone)
{
    std::string whyNot;
    const auto library = MeshMenderLibrary::Open(RA7_MESHMENDER_PATH, whyNot);
    ASSERT_TRUE(library) << whyNot;
    // A mesh loaded with USE VBO: its arrays went to the GPU, only the counts stay.
    test::writeFile("rock.mes", "the rock's file");
    auto uploaded = std::make_unique<KaMesh>();
    uploaded->Name = "rock.mes";
    uploaded->VertexCount = 3;
    uploaded->IndexCount = 3;
    Meshes->Add(std::move(uploaded));
    convertQuad();
    const TangentSpaceReport report = ApplyTangentSpace(TangentMethod::MeshMender, library.get());
    EXPECT_EQ(report.Computed, 1);
    EXPECT_EQ(report.Saved, 1);
    ASSERT_EQ(report.SaveFailures.size(), 1u);
    EXPECT_EQ(report.SaveFailures[0].Name, "rock.mes");
    EXPECT_THAT(report.SaveFailures[0].Reason, HasSubstr("USE VBO"));
    EXPECT_EQ(test::readFile("rock.mes"), "the rock's file");
    KaMesh saved;
    RecordReader file = RecordReader::openFile("meshes\\QUAD.mes");
    ReadMeshFile(file, saved);
    EXPECT_NE(saved.Tangents[0], kZeroVector);
}

TEST_F(SceneTangentSpaceTest, MissingMenderDisablesTheThirdMethodWithAMessage)
{
    std::string whyNot;
    EXPECT_EQ(MeshMenderLibrary::Open("libno-such-mender.so", whyNot), nullptr);
    EXPECT_THAT(whyNot, HasSubstr("disabled"));
    convertQuad();
    EXPECT_EQ(ApplyTangentSpace(TangentMethod::MeshMender, nullptr).Computed, 0);
    EXPECT_EQ(Meshes->Find("meshes\\QUAD.mes")->Tangents, KaGeomData3(6));
}

} // namespace
} // namespace ra7
