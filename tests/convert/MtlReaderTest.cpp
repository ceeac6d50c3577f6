// The MTL library reader: entries, colours, maps and damaged libraries.
#include "OBJLoader.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

namespace ra7 {
namespace {

class MtlReaderTest : public test::ScratchDirectoryTest {
protected:
    TModel read(std::string_view text)
    {
        TModel model;
        ReadMTLText(model, text, "lib.mtl", dir());
        return model;
    }
    std::string errorOf(std::string_view text)
    {
        try {
            read(text);
        } catch (const FileError& e) {
            return e.what();
        }
        return "no error";
    }
};

TEST_F(MtlReaderTest, ReadsEntriesWithColoursShininessAndDefaults)
{
    const TModel model =
        read("# made by hand\n"
             "newmtl  Shiny Metal \n"
             "Ka 0.1 0.2 0.3\nKd\t0.4 0.5 0.6\nks 0.7 0.8 0.9\nNs 96.5\nNi 1.5\nd 1\nillum 2\n"
             "newmtl plain\n"
             "Kd 0.5\n");
    ASSERT_EQ(model.MaterialCount, 2);
    const TMaterial& shiny = model.Materials[1];
    EXPECT_EQ(shiny.Name, "SHINY METAL");
    EXPECT_EQ(shiny.Ambient, (Vector3{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(shiny.Diffuse, (Vector3{0.4f, 0.5f, 0.6f}));
    EXPECT_EQ(shiny.Specular, (Vector3{0.7f, 0.8f, 0.9f}));
    EXPECT_EQ(shiny.Shininess, 96.5f);
    const TMaterial& plain = model.Materials[2];
    EXPECT_EQ(plain.Shininess, 60.0f);
    EXPECT_EQ(plain.Ambient, kZeroVector);
    EXPECT_EQ(plain.Diffuse, (Vector3{0.5f, 0.5f, 0.5f})); // one number is a grey
    EXPECT_TRUE(plain.MapName.empty());
}

TEST_F(MtlReaderTest, MapNameIsTheLastWordUpperCased)
{
    const TModel model = read("newmtl a\nmap_Kd textures/wood.tga\n"
                              "newmtl b\nmap_Kd -s 1 1 1 -o 0 0 0 Stone.PNG\n");
    EXPECT_EQ(model.Materials[1].MapName, "TEXTURES/WOOD.TGA");
    EXPECT_EQ(model.Materials[2].MapName, "STONE.PNG");
    EXPECT_TRUE(model.Materials[1].MapPath.empty()); // no such file
}

TEST_F(MtlReaderTest, ADiffuseMapIsNotReplacedByALaterBumpMap)
{
    const TModel model = read("newmtl a\nmap_Kd colour.tga\nmap_Bump bump.tga\nmap_Ks shine.tga\n"
                              "newmtl b\nmap_Bump bump.tga\n"
                              "newmtl c\nmap_Ka ambient.tga\nmap_Kd diffuse.tga\n");
    EXPECT_EQ(model.Materials[1].MapName, "COLOUR.TGA");
    EXPECT_EQ(model.Materials[2].MapName, "BUMP.TGA"); // the only map it has
    EXPECT_EQ(model.Materials[3].MapName, "DIFFUSE.TGA");
}

TEST_F(MtlReaderTest, TextureFoundIgnoringCaseInTheModelsFolder)
{
    test::writeFile(dir() / "Bricks.Png", "x");
    const TModel model = read("newmtl wall\nmap_Kd bricks.png\n");
    EXPECT_EQ(model.Materials[1].MapPath.filename(), "Bricks.Png");
}

TEST_F(MtlReaderTest, StatementsBeforeTheFirstEntryAreIgnored)
{
    const TModel model = read("Kd 1 0 0\nmap_Kd x.tga\nNs 5\nnewmtl a\n");
    ASSERT_EQ(model.MaterialCount, 1);
    EXPECT_EQ(model.Materials[1].Diffuse, kZeroVector);
    EXPECT_EQ(model.Materials[1].Shininess, 60.0f);
    EXPECT_EQ(model.Materials[0].Diffuse, kZeroVector); // element 0 stays unused
}

TEST_F(MtlReaderTest, DamagedEntriesNameTheLibraryAndLine)
{
    EXPECT_EQ(errorOf("newmtl a\r\nKd 1 0\r\n"), "lib.mtl: line 2: a colour needs three numbers");
    EXPECT_EQ(errorOf("newmtl a\nKa 1 zero 0\n"), "lib.mtl: line 2: malformed number \"zero\"");
    EXPECT_EQ(errorOf("newmtl a\n\nNs\n"), "lib.mtl: line 3: Ns needs a number");
    EXPECT_EQ(errorOf("newmtl a\nNs 1..5\n"), "lib.mtl: line 2: malformed number \"1..5\"");
}

TEST_F(MtlReaderTest, DamagedLibraryStopsTheModelReadNamingTheLibraryFile)
{
    test::writeFile(dir() / "Broken.mtl", "newmtl a\nKd 1 1 x\n");
    TModel model;
    try {
        ReadOBJText(model, "mtllib broken.mtl\n", "model.obj", dir());
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "Broken.mtl: line 2: malformed number \"x\"");
    }
}

} // namespace
} // namespace ra7
