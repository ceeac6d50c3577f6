// The OBJ reader's rules, its line ends and separators, and its refusal of
// damaged files with the file and line named.
#include "OBJLoader.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace ra7 {
namespace {

class ObjReaderTest : public test::ScratchDirectoryTest {
protected:
    TModel read(std::string_view text)
    {
        TModel model;
        ReadOBJText(model, text, "model.obj", dir(),
                    [this](const std::string& caption, const std::string& message) {
                        messages.push_back(caption + "|" + message);
                    });
        return model;
    }

    // The message of the error that reading `text` stops with.
    std::string errorOf(std::string_view text)
    {
        try {
            read(text);
        } catch (const FileError& e) {
            return e.what();
        }
        return "no error";
    }

    std::vector<std::string> messages;
};

TEST_F(ObjReaderTest, ReadsDotDecimalsWhateverTheLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // A comma locale where one is installed; the reader must not care.
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8"))
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const TModel model = read("v 1.5 2 3\nv 1,25 -0.5e1 +7\n");
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_EQ(model.VertexCount, 2);
    EXPECT_EQ(model.Vertices[1], (Vector3{1.5f, 2, 3}));
    EXPECT_EQ(model.Vertices[2], (Vector3{1.25f, -5, 7}));
}

TEST_F(ObjReaderTest, ArraysAreOneBasedAndTexCoordsKeepTwoNumbers)
{
    const TModel model = read("v 1 2 3\nvn 0 0 1\nvt 0.25 0.75 0\nvt 0.5\n");
    ASSERT_EQ(model.Vertices.size(), 2u);
    EXPECT_EQ(model.NormalCount, 1);
    EXPECT_EQ(model.Normals[1], (Vector3{0, 0, 1}));
    ASSERT_EQ(model.TexCoordCount, 2);
    EXPECT_EQ(model.TexCoords[1], (Vector2{0.25f, 0.75f}));
    EXPECT_EQ(model.TexCoords[2], (Vector2{0.5f, 0})); // a missing v is 0
}

TEST_F(ObjReaderTest, ReadsTheFourCornerForms)
{
    const TModel model = read("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\n"
                              "vt 0 0\nvt 1 0\nvt 1 1\n"
                              "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\nvn 0 0 -1\nvn 0 -1 0\nvn -1 0 0\n"
                              "g all\n"
                              "f 1//2 3//4 5//6\n"
                              "f 1/1/1 2/2/2 3/3/3\n"
                              "f 1 2 3 4\n"
                              "f 1/1 2/2 3/3\n");
    const TGroup& group = model.Groups[1];
    ASSERT_EQ(group.FaceCount, 4);
    const TCorner* c = group.FaceCorners(1);
    EXPECT_EQ(group.Faces[1].Count, 3);
    EXPECT_EQ((std::vector<int>{c[0].Vertex, c[1].Vertex, c[2].Vertex}), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ((std::vector<int>{c[0].Normal, c[1].Normal, c[2].Normal}), (std::vector<int>{2, 4, 6}));
    EXPECT_EQ((std::vector<int>{c[0].TexCoord, c[1].TexCoord, c[2].TexCoord}), (std::vector<int>{0, 0, 0}));
    c = group.FaceCorners(2);
    EXPECT_EQ((std::vector<int>{c[2].Vertex, c[2].TexCoord, c[2].Normal}), (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(group.Faces[3].Count, 4);
    c = group.FaceCorners(3);
    EXPECT_EQ((std::vector<int>{c[3].Vertex, c[3].TexCoord, c[3].Normal}), (std::vector<int>{4, 0, 0}));
    c = group.FaceCorners(4); // v/t: texture coordinate without a normal
    EXPECT_EQ((std::vector<int>{c[1].Vertex, c[1].TexCoord, c[1].Normal}), (std::vector<int>{2, 2, 0}));
}

TEST_F(ObjReaderTest, RelativeIndicesCountBackFromTheLastRead)
{
    const TModel model = read("v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvt 1 1\nvn 0 0 1\n"
                              "f -3/-2/-1 -2/-1/-1 -1/-1/-1\n"
                              "v 5 5 5\n"
                              "f -4 -2 -1\n");
    const TGroup& group = model.Groups[1];
    const TCorner* c = group.FaceCorners(1);
    EXPECT_EQ((std::vector<int>{c[0].Vertex, c[0].TexCoord, c[0].Normal}), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ((std::vector<int>{c[1].Vertex, c[1].TexCoord}), (std::vector<int>{2, 2}));
    c = group.FaceCorners(2);
    EXPECT_EQ((std::vector<int>{c[0].Vertex, c[1].Vertex, c[2].Vertex}), (std::vector<int>{1, 3, 4}));
}

TEST_F(ObjReaderTest, FacesBeforeTheFirstGroupGoIntoAnImplicitGroup)
{
    const TModel model = read("v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 3\ng Lid\nf 3 2 1\n");
    ASSERT_EQ(model.GroupCount, 2);
    EXPECT_EQ(model.Groups[1].Name, kImplicitGroupName);
    EXPECT_EQ(model.Groups[1].FaceCount, 1);
    EXPECT_EQ(model.Groups[2].Name, "LID");
    EXPECT_EQ(model.Groups[2].FaceCount, 1);
}

TEST_F(ObjReaderTest, NamesAreUpperCasedAndGroupNamesTrimmed)
{
    const TModel model = read("g   Left Wing \t\n# comment\n\ng\n");
    ASSERT_EQ(model.GroupCount, 2);
    EXPECT_EQ(model.Groups[1].Name, "LEFT WING");
    EXPECT_EQ(model.Groups[2].Name, "");
}

TEST_F(ObjReaderTest, KeywordsAreReadInAnyCaseAndUnknownStatementsIgnored)
{
    const TModel model = read("V 1 2 3\nVn 0 1 0\nvT 0.5 0.5\no thing\ns 1\nvp 1 2\nl 1 2\nfoo bar\n");
    EXPECT_EQ(model.VertexCount, 1);
    EXPECT_EQ(model.NormalCount, 1);
    EXPECT_EQ(model.TexCoordCount, 1);
    EXPECT_EQ(model.GroupCount, 0);
}

TEST_F(ObjReaderTest, CrLfLoneCrTabsAndRunsOfBlanksReadLikePlainLines)
{
    const std::string plain = "v 1 2 3\nv 4 5 6\nv 7 8 9\nvt 0.1 0.2\ng box\nf 1/1 2/1 3/1\n";
    const TModel expected = read(plain);
    for (const std::string& text :
         {std::string("v 1 2 3\r\nv 4 5 6\r\nv 7 8 9\r\nvt 0.1 0.2\r\ng box\r\nf 1/1 2/1 3/1\r\n"),
          std::string("v 1 2 3\rv 4 5 6\rv 7 8 9\rvt 0.1 0.2\rg box\rf 1/1 2/1 3/1"),
          std::string("v\t1\t2\t3\nv  4   5 6\n  v 7 8 9  \nvt\t0.1 0.2\ng\tbox\nf 1/1\t2/1  3/1\n")}) {
        const TModel model = read(text);
        ASSERT_EQ(model.VertexCount, 3);
        for (int v = 1; v <= 3; ++v)
            EXPECT_EQ(model.Vertices[v], expected.Vertices[v]);
        EXPECT_EQ(model.TexCoords[1], expected.TexCoords[1]);
        ASSERT_EQ(model.GroupCount, 1);
        EXPECT_EQ(model.Groups[1].Name, "BOX");
        ASSERT_EQ(model.Groups[1].FaceCount, 1);
        EXPECT_EQ(model.Groups[1].FaceCorners(1)[2].Vertex, 3);
    }
}

TEST_F(ObjReaderTest, ErrorLineNumbersCountCrLfAsOneLineEnd)
{
    EXPECT_EQ(errorOf("# head\r\n\r\nv 1 2 3\r\nv 1 2 x\r\n"), "model.obj: line 4: malformed number \"x\"");
    EXPECT_EQ(errorOf("v 1 2 3\rv 1 2 3\rf 1 2 9"),
              "model.obj: line 3: vertex index 9 is past the 2 read so far");
}

TEST_F(ObjReaderTest, MalformedNumbersStopTheReadWithTheLine)
{
    EXPECT_EQ(errorOf("v 1 2 3\nv 1 2\n"), "model.obj: line 2: a vertex needs three numbers");
    EXPECT_EQ(errorOf("vn 1 nan 3\n"), "model.obj: line 1: malformed number \"nan\"");
    EXPECT_EQ(errorOf("vn 1 1e39 3\n"), "model.obj: line 1: malformed number \"1e39\"");
    EXPECT_EQ(errorOf("vt 0x10 1\n"), "model.obj: line 1: malformed number \"0x10\"");
    EXPECT_EQ(errorOf("vt\n"), "model.obj: line 1: a texture coordinate needs a number");
    EXPECT_EQ(errorOf("v 1 2 3\nv 1 2 3\nv 1 2 3\nf 1 2 3x\n"),
              "model.obj: line 4: face corner \"3x\" is not v, v/t, v//n or v/t/n");
    EXPECT_EQ(errorOf("v 1 2 3\nv 1 2 3\nv 1 2 3\nf 1 2 99999999999\n"),
              "model.obj: line 4: face corner \"99999999999\" is not v, v/t, v//n or v/t/n");
}

TEST_F(ObjReaderTest, RefusesCornersOfNoKnownForm)
{
    const std::string head = "v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvn 0 0 1\n";
    for (const char* corner : {"1/", "1//", "1/1/", "1/1/1/1", "/1", "//1", "1/a/1", "--1", "1 /1"}) {
        const std::string message = errorOf(head + "f 1 2 " + corner + "\n");
        EXPECT_NE(message.find("model.obj: line 6: face corner"), std::string::npos)
            << corner << ": " << message;
    }
}

TEST_F(ObjReaderTest, RefusesIndicesOutsideTheArrays)
{
    const std::string head = "v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvn 0 0 1\n";
    EXPECT_EQ(errorOf(head + "f 0 1 2\n"),
              "model.obj: line 6: vertex index 0 is not valid: indices start at 1");
    EXPECT_EQ(errorOf(head + "f 1 2 4\n"), "model.obj: line 6: vertex index 4 is past the 3 read so far");
    EXPECT_EQ(errorOf(head + "f 1 2 2147483647\n"),
              "model.obj: line 6: vertex index 2147483647 is past the 3 read so far");
    EXPECT_EQ(errorOf(head + "f 1/2/1 2/1/1 3/1/1\n"),
              "model.obj: line 6: texture coordinate index 2 is past the 1 read so far");
    EXPECT_EQ(errorOf(head + "f 1//1 2//1 3//7\n"),
              "model.obj: line 6: normal index 7 is past the 1 read so far");
    EXPECT_EQ(errorOf(head + "f 1 2 -4\n"),
              "model.obj: line 6: relative vertex index -4 points before the first of the 3 read so far");
    EXPECT_EQ(errorOf("f 1 2 3\n"), "model.obj: line 1: vertex index 1 is past the 0 read so far");
    EXPECT_EQ(errorOf(head + "f 1 2\n"),
              "model.obj: line 6: a face needs at least three corners, this one has 2");
}

TEST_F(ObjReaderTest, EmptyAndCommentOnlyFilesGiveAnEmptyModel)
{
    for (const char* text : {"", "\n\n\r\n", "# nothing\n#v 1 2 3\n"}) {
        const TModel model = read(text);
        EXPECT_EQ(model.VertexCount, 0);
        EXPECT_EQ(model.GroupCount, 0);
        EXPECT_EQ(model.Vertices.size(), 1u);
    }
}

TEST_F(ObjReaderTest, UseMtlPicksTheLastMatchingMaterialAndTheSecondLineWins)
{
    test::writeFile(dir() / "lib.mtl", "newmtl Red\nnewmtl Blue\nnewmtl red\n");
    const TModel model =
        read("mtllib lib.mtl\nv 0 0 0\ng a\nusemtl RED\nusemtl blue\nf 1 1 1\ng b\nUSEMTL red\n"
             "usemtl nosuch\n");
    ASSERT_TRUE(model.HasMaterials);
    ASSERT_EQ(model.MaterialCount, 3);
    EXPECT_EQ(model.Groups[1].MaterialIndex, 2); // the second line wins
    EXPECT_EQ(model.Groups[2].MaterialIndex, 3); // "RED" matches 1 and 3, the last wins
}

TEST_F(ObjReaderTest, UseMtlBeforeTheGroupLineAppliesToTheGroupThatFollows)
{
    test::writeFile(dir() / "lib.mtl", "newmtl wood\nnewmtl iron\n");
    const TModel model = read("mtllib lib.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\n"
                              "usemtl iron\ng handle\nf 1 2 3\ng blade\nf 1 2 3\n");
    EXPECT_EQ(model.Groups[1].MaterialIndex, 2);
    EXPECT_EQ(model.Groups[2].MaterialIndex, 0); // a group starts without one
}

TEST_F(ObjReaderTest, MissingLibraryShowsTheMessageAndTheModelLoadsWithoutMaterials)
{
    const TModel model = read("mtllib Missing.mtl\nv 1 2 3\n");
    EXPECT_FALSE(model.HasMaterials);
    EXPECT_EQ(model.VertexCount, 1);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"Load Model Material|Cannot find the material file : MISSING.MTL"}));
}

TEST_F(ObjReaderTest, LoadObjFindsLibraryAndTexturesBesideTheModelWithoutChangingDirectory)
{
    std::filesystem::create_directories(dir() / "models" / "maps");
    test::writeFile(dir() / "models" / "crate.mtl", "newmtl Crate\nmap_Kd maps\\Wood.tga\n");
    test::writeFile(dir() / "models" / "maps" / "wood.tga", "not really an image");
    test::writeFile(dir() / "models" / "Crate.v2.obj", "mtllib CRATE.MTL\nv 1 2 3\n");
    const auto before = std::filesystem::current_path();
    std::vector<std::string> shown;
    const TModel model = LoadOBJ("models\\crate.v2.obj",
                                 [&](const std::string&, const std::string& text) { shown.push_back(text); });
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(model.Name, "Crate");
    ASSERT_TRUE(model.HasMaterials);
    ASSERT_EQ(model.MaterialCount, 1);
    EXPECT_EQ(model.Materials[1].MapName, "MAPS\\WOOD.TGA");
    EXPECT_EQ(std::filesystem::canonical(model.Materials[1].MapPath),
              std::filesystem::canonical(dir() / "models" / "maps" / "wood.tga"));
}

TEST_F(ObjReaderTest, MissingObjFileGivesAnEmptyModelWithoutMessage)
{
    std::vector<std::string> shown;
    const TModel model =
        LoadOBJ("nothing.obj", [&](const std::string&, const std::string& text) { shown.push_back(text); });
    EXPECT_EQ(model.Name, "nothing");
    EXPECT_EQ(model.VertexCount, 0);
    EXPECT_EQ(model.GroupCount, 0);
    EXPECT_TRUE(shown.empty());
}

TEST_F(ObjReaderTest, BlockwiseFileReadEqualsReadingFromMemory)
{
    // Lines cross the 1 MiB block boundaries of the file reader, CR LF split included.
    std::string text = "g strip\n";
    for (int i = 0; i < 40000; ++i)
        text += "v " + std::to_string(i) + ".125 -" + std::to_string(i % 97) + ".5 1e-3\r\n";
    for (int i = 3; i <= 40000; ++i)
        text += "f " + std::to_string(i - 2) + " " + std::to_string(i - 1) + " -1\r\n";
    ASSERT_GT(text.size(), 3u << 19);
    test::writeFile(dir() / "strip.obj", text);
    const TModel fromFile = LoadOBJ("strip.obj");
    const TModel fromMemory = read(text);
    ASSERT_EQ(fromFile.VertexCount, 40000);
    EXPECT_EQ(fromFile.Vertices, fromMemory.Vertices);
    ASSERT_EQ(fromFile.Groups[1].FaceCount, 39998);
    EXPECT_EQ(fromFile.Groups[1].FaceCorners(39998)[2].Vertex, 40000);
    EXPECT_EQ(fromFile.Vertices[40000], (Vector3{39999.125f, -(39999 % 97) - 0.5f, 1e-3f}));
}

TEST_F(ObjReaderTest, AnErrorInALargeFileNamesTheRightLine)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "v 1 2 3\n";
    text += "v 1 2 three\n";
    test::writeFile(dir() / "big.obj", text);
    try {
        LoadOBJ("big.obj");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "big.obj: line 100001: malformed number \"three\"");
    }
}

TEST_F(ObjReaderTest, ClearModelEmptiesEverything)
{
    test::writeFile(dir() / "lib.mtl", "newmtl a\n");
    TModel model = read("mtllib lib.mtl\nv 1 2 3\nvt 0 0\nvn 0 0 1\ng x\nf 1 1 1\n");
    ClearModel(model);
    EXPECT_FALSE(model.HasMaterials);
    EXPECT_EQ(model.VertexCount + model.NormalCount + model.TexCoordCount + model.GroupCount +
                  model.MaterialCount,
              0);
    EXPECT_EQ(model.Vertices.size() + model.Normals.size() + model.TexCoords.size() + model.Groups.size() +
                  model.Materials.size(),
              5u); // only the unused elements 0
}

} // namespace
} // namespace ra7
