// GMS text models: the object layout, both ways of merging positions with
// texture coordinates, and damaged files.
#include "GMSReader.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ra7 {
namespace {

struct GmsMesh {
    std::vector<std::string> vertices, faces, normals, texCoords, texFaces;
};

// One object in the file's layout, `counts` as written.
std::string gmsObject(const std::string& name, const std::string& position, const std::string& type,
                      const std::string& counts, const GmsMesh& mesh)
{
    std::string text = "New Object\r\n{\r\n" + position + "\r\n" + name + "\r\n" + type + "\r\n";
    if (type == "omnilight()")
        return text;
    text += "mesh\r\n" + counts + "\r\nvertices\r\n";
    const auto lines = [&](const std::vector<std::string>& items) {
        for (const std::string& item : items)
            text += item + "\r\n";
    };
    lines(mesh.vertices);
    text += "end\r\nfaces\r\n";
    lines(mesh.faces);
    text += "end\r\nnormals\r\n";
    lines(mesh.normals);
    text += "end\r\ntexcoords\r\n";
    lines(mesh.texCoords);
    text += "end\r\ntexfaces\r\n";
    lines(mesh.texFaces);
    text += "end\r\n}\r\n";
    return text;
}

// A quad: four positions, two triangles, one normal each.
GmsMesh quad(std::vector<std::string> texCoords, std::vector<std::string> texFaces)
{
    return {{"0 0 0", "1 0 0", "1 1 0", "0 1 0"},
            {"0 1 2", "0 2 3"},
            {"0 0 1", "0 0 1", "0 0 1", "0 0 1"},
            std::move(texCoords),
            std::move(texFaces)};
}

std::string errorOf(const std::string& text, std::vector<GmsObject>& objects)
{
    try {
        ReadGMSText(text, "level.gms", objects);
    } catch (const FileError& e) {
        return e.what();
    }
    return "no error";
}

TEST(GmsReaderTest, FewerTexCoordsThanVerticesKeepTheVertexNumbering)
{
    const std::string text = "gmax scene\r\n" + gmsObject("Floor", "1 2 3", "trimesh()", "4 2 3",
                                                          quad({"0 0", "1 0", "0.5 1"}, {"0 1 2", "0 2 1"}));
    std::vector<GmsObject> objects;
    ReadGMSText(text, "level.gms", objects);
    ASSERT_EQ(objects.size(), 1u);
    const GmsObject& floor = objects[0];
    EXPECT_EQ(floor.Name, "Floor");
    EXPECT_EQ(floor.Position, (Vector3{1, 2, 3}));
    const MeshArrays& mesh = floor.Mesh;
    EXPECT_EQ(mesh.Indices, (KaCarArr{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(mesh.Vertices, (KaGeomData3{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    // Slot v holds the coordinate of the corner whose vertex is v (the last one written).
    EXPECT_EQ(mesh.TexCoords, (KaGeomData2{{0, 0}, {1, 0}, {0.5f, 1}, {1, 0}}));
    EXPECT_EQ(mesh.Normals.size(), 4u);
    EXPECT_EQ(mesh.Tangents, KaGeomData3(4));
    EXPECT_EQ(mesh.Binormals, KaGeomData3(4));
}

TEST(GmsReaderTest, MoreTexCoordsThanVerticesReLayPositionsAndNormals)
{
    // Six texture coordinates: every corner its own, so the seam can differ.
    GmsMesh mesh = quad({"0 0", "1 0", "1 1", "0.1 0", "1 1", "0 1"}, {"0 1 2", "3 4 5"});
    mesh.normals = {"0 0 1", "1 0 0", "0 1 0", "0 0 -1"};
    std::vector<GmsObject> objects;
    ReadGMSText(gmsObject("Wall", "0 0 0", "TriMesh()", "4 2 6", mesh), "level.gms", objects);
    ASSERT_EQ(objects.size(), 1u);
    const MeshArrays& merged = objects[0].Mesh;
    EXPECT_EQ(merged.Indices, (KaCarArr{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(merged.TexCoords.size(), 6u);
    EXPECT_EQ(merged.Vertices,
              (KaGeomData3{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    EXPECT_EQ(merged.Normals,
              (KaGeomData3{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 0}, {0, 0, -1}}));
    EXPECT_EQ(merged.Tangents.size(), 6u);
    EXPECT_EQ(merged.Binormals.size(), 6u);
}

TEST(GmsReaderTest, OtherObjectTypesAreSkippedWithoutMovingTheObjectBefore)
{
    const std::string text = gmsObject("A", "1 1 1", "trimesh()", "4 2 0", quad({}, {"0 0 0", "0 0 0"})) +
                             gmsObject("Lamp", "9 9 9", "omnilight()", "", {}) +
                             gmsObject("B", "2 2 2", "trimesh()", "4 2 0", quad({}, {"0 0 0", "0 0 0"}));
    std::vector<GmsObject> objects;
    ReadGMSText(text, "level.gms", objects);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].Position, (Vector3{1, 1, 1}));
    EXPECT_EQ(objects[1].Name, "B");
    EXPECT_EQ(objects[1].Mesh.TexCoords, KaGeomData2(4)); // no texture coordinates: zeros
}

TEST(GmsReaderTest, ObjectsReadBeforeADamagedOneAreKept)
{
    GmsMesh bad = quad({"0 0"}, {"0 0 0", "0 0 0"});
    bad.vertices[2] = "1 1,5.0 0";
    const std::string text =
        gmsObject("Good", "0 0 0", "trimesh()", "4 2 1", quad({"0 0"}, {"0 0 0", "0 0 0"})) +
        gmsObject("Bad", "0 0 0", "trimesh()", "4 2 1", bad);
    std::vector<GmsObject> objects;
    EXPECT_EQ(errorOf(text, objects), "level.gms: line 42: malformed number \"1,5.0\"");
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].Name, "Good");
}

TEST(GmsReaderTest, DamagedFilesNameTheLine)
{
    std::vector<GmsObject> objects;
    const GmsMesh ok = quad({"0 0"}, {"0 0 0", "0 0 0"});
    GmsMesh badIndex = ok;
    badIndex.faces[1] = "0 2 4";
    EXPECT_EQ(errorOf(gmsObject("X", "0 0 0", "trimesh()", "4 2 1", badIndex), objects),
              "level.gms: line 16: vertex index 4 is outside 0 .. 3");
    GmsMesh badTex = ok;
    badTex.texFaces[0] = "0 -1 0";
    EXPECT_EQ(errorOf(gmsObject("X", "0 0 0", "trimesh()", "4 2 1", badTex), objects),
              "level.gms: line 28: texture-coordinate index -1 is outside 0 .. 0");
    EXPECT_EQ(errorOf(gmsObject("X", "0 0 0", "trimesh()", "4 2000000000 1", ok), objects),
              "level.gms: line 7: counts 4 2000000000 1 are larger than the file");
    EXPECT_EQ(errorOf(gmsObject("X", "0 0 0", "trimesh()", "4 -2 1", ok), objects),
              "level.gms: line 7: count -2 is negative");
    EXPECT_EQ(errorOf(gmsObject("X", "0 0 0", "trimesh()", "4 2", ok), objects),
              "level.gms: line 7: the vertex, face and texture-coordinate counts needs 3 whole numbers");
    EXPECT_EQ(errorOf(gmsObject("X", "0 zero 0", "trimesh()", "4 2 1", ok), objects),
              "level.gms: line 3: malformed number \"zero\"");
    EXPECT_EQ(errorOf("new object\n{\n1 2 3\nName\n", objects),
              "level.gms: line 5: the file ends where the object's type should follow");
    const std::string whole = gmsObject("X", "0 0 0", "trimesh()", "4 2 1", ok);
    EXPECT_EQ(errorOf(whole.substr(0, whole.find("end\r\ntexfaces")), objects),
              "level.gms: line 26: the file ends where texture-coordinate index should follow");
    EXPECT_TRUE(objects.empty());
}

TEST(GmsReaderTest, FilesWithoutObjectsGiveNothing)
{
    std::vector<GmsObject> objects;
    ReadGMSText("", "level.gms", objects);
    ReadGMSText("just\ntext\n new objects\n", "level.gms", objects);
    EXPECT_TRUE(objects.empty());
}

class GmsFileTest : public test::ScratchDirectoryTest {};

TEST_F(GmsFileTest, ReadsFromAFileNamedAsStored)
{
    std::filesystem::create_directories(dir() / "Levels");
    test::writeFile(dir() / "Levels" / "one.gms",
                    gmsObject("Box", "0 5 0", "trimesh()", "4 2 1", quad({"0 0"}, {"0 0 0", "0 0 0"})));
    std::vector<GmsObject> objects;
    ReadGMS("levels\\ONE.gms", objects);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].Position, (Vector3{0, 5, 0}));
    EXPECT_THROW(ReadGMS("missing.gms", objects), FileError);
}

} // namespace
} // namespace ra7
