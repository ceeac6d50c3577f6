// Messages that name the problem, through the real ra7 program in a fresh
// project: where `ra7 render` cannot write, what image type it writes, the
// light of an unlit scene, and the refusals of `ra7 convert`. Each case
// names the message a user saw before.
#include "ToolTestSupport.h"

#include "engine/TestSupport.h"
#include "resources/Ka7TextureIL.h"
#include "runtime/TextCodec.h"

#include <IL/il.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <map>

namespace ra7 {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

// A pyramid looking at +z: its four sides face four ways, so a light
// shades them differently while ambient light alone gives one flat colour.
constexpr const char* kPyramid = "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nv 0 0 1\n"
                                 "f 1 2 5\nf 2 3 5\nf 3 4 5\nf 4 1 5\n";
constexpr const char* kQuad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
constexpr const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

class Ra7Messages : public test::ScratchDirectoryTest {
protected:
    void SetUp() override
    {
        ScratchDirectoryTest::SetUp();
        const test::ProgramRun init = test::runRa7({"init", "."});
        ASSERT_EQ(init.status, 0) << init.err;
    }

    // A converted model's scene: geometry only, no light and no camera.
    void convertPyramid()
    {
        test::writeFile("pyramid.obj", kPyramid);
        const test::ProgramRun run =
            test::runRa7({"convert", "pyramid.obj", "-f", "meshes", "-o", "pyramid", "-q"});
        ASSERT_EQ(run.status, 0) << run.err;
    }

    // Pixel colours of an image file and how many pixels have each.
    static std::map<std::uint32_t, int> colourCounts(const std::string& file, int& width, int& height)
    {
        InitImageLibrary();
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        std::map<std::uint32_t, int> counts;
        if (ilLoadImage(file.c_str()) == IL_TRUE && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE) == IL_TRUE) {
            width = ilGetInteger(IL_IMAGE_WIDTH);
            height = ilGetInteger(IL_IMAGE_HEIGHT);
            const ILubyte* pixels = ilGetData();
            for (int i = 0; i < width * height; ++i) {
                const ILubyte* p = pixels + 3 * i;
                ++counts[(static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) |
                         p[2]];
            }
        }
        ilDeleteImages(1, &image);
        return counts;
    }

    static bool fileStartsWith(const std::string& file, std::string_view bytes)
    {
        return test::readFile(file).rfind(bytes, 0) == 0;
    }
};

// Before: "ra7 render: nofolder/shot.png: cannot write the PNG image (DevIL error 1290)".
TEST_F(Ra7Messages, RenderIntoAMissingFolderSaysSoBeforeStarting)
{
    convertPyramid();
    fs::remove("log.txt");
    const test::ProgramRun run = test::runRa7({"render", "pyramid.kgf", "-o", "nofolder/shot.png"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ra7 render: nofolder/shot.png: the folder nofolder does not exist\n");
    EXPECT_FALSE(fs::exists("log.txt")) << "stopped before the engine started";
    EXPECT_FALSE(fs::exists("nofolder"));
}

// Before: PNG bytes under the name shot.jpg.
TEST_F(Ra7Messages, RenderWritesJpegForAJpgName)
{
    convertPyramid();
    for (const char* name : {"shot.jpg", "SHOT.JPEG"}) {
        const test::ProgramRun run =
            test::runRa7({"render", "pyramid.kgf", "-o", name, "--width", "64", "--height", "48", "-q"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(fileStartsWith(name, "\xFF\xD8\xFF")) << name << " is JPEG";
        int width = 0, height = 0;
        EXPECT_GT(colourCounts(name, width, height).size(), 1u);
        EXPECT_EQ(width, 64);
        EXPECT_EQ(height, 48);
        EXPECT_FALSE(fs::exists(std::string(name) + ".part"));
    }
    ASSERT_EQ(test::runRa7({"render", "pyramid.kgf", "-o", "shot.png", "-q"}).status, 0);
    EXPECT_TRUE(fileStartsWith("shot.png", "\x89PNG"));
}

// Before: one flat colour, exit status 0 and nothing said.
TEST_F(Ra7Messages, AnUnlitSceneIsDrawnByTheEditorsDefaultLight)
{
    convertPyramid();
    const test::ProgramRun run = test::runRa7({"render", "pyramid.kgf", "-o", "shot.png", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err,
              "ra7 render: the scene has no light; drawn lit by the editor's default light \"lig1\" at "
              "(10, 10, 10)\n");
    int width = 0, height = 0;
    const std::map<std::uint32_t, int> counts = colourCounts("shot.png", width, height);
    // The sides turned to the light and those turned away show as two shades.
    int bigAreas = 0;
    for (const auto& [colour, count] : counts)
        if (colour != 0x999999 && count > 200)
            ++bigAreas;
    EXPECT_GE(bigAreas, 2);
}

TEST_F(Ra7Messages, ASceneWithItsOwnLightIsDrawnAsItIs)
{
    ASSERT_EQ(test::runRa7({"init", "--sample", "."}).status, 0);
    const test::ProgramRun run = test::runRa7({"render", "scene.kgf", "-o", "shot.png", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

// Before: with -q only "ra7 convert: failed: --Конвертер: Отмена конвертации!".
TEST_F(Ra7Messages, QuietConvertKeepsTheReasonOfTheRefusal)
{
    test::writeFile("quad.obj", kQuad);
    const test::ProgramRun run = test::runRa7({"convert", "quad.obj", "-f", "meshes", "-o", "quad", "-q"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "ra7 convert: failed: --Конвертер: Ошибка! Модель не триангулирована!\n");
    EXPECT_FALSE(fs::exists("quad.kgf"));
    EXPECT_FALSE(fs::exists("meshes"));
}

// Before: "--folder: ... " from the option parser, naming no problem.
TEST_F(Ra7Messages, AFolderThatIsAFileIsNamed)
{
    test::writeFile("box.obj", kTriangle);
    const test::ProgramRun run = test::runRa7({"convert", "box.obj", "-f", "box.obj", "-o", "box", "-q"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("--folder box.obj is a file; give the folder the .mes files go to"));
    EXPECT_FALSE(fs::exists("box.kgf"));
}

// Before: exit status 0 and a scene without objects.
TEST_F(Ra7Messages, AModelWithoutFacesIsRefused)
{
    test::writeFile("empty.obj", "");
    test::writeFile("garbage.obj", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR garbage", 24));
    test::writeFile("points.obj", "v 0 0 0\nv 1 0 0\n");
    for (const char* model : {"empty.obj", "garbage.obj", "points.obj"}) {
        const test::ProgramRun run = test::runRa7({"convert", model, "-f", "meshes", "-o", "out", "-q"});
        EXPECT_EQ(run.status, 1) << model;
        EXPECT_THAT(run.err, AllOf(HasSubstr("В модели нет ни одной грани"), HasSubstr(model))) << model;
        EXPECT_FALSE(fs::exists("out.kgf")) << model;
        EXPECT_FALSE(fs::exists("meshes")) << model;
    }
    test::writeFile("empty.gms", "nothing here\n");
    const test::ProgramRun gms = test::runRa7({"convert", "empty.gms", "-o", "out", "-q"});
    EXPECT_EQ(gms.status, 1);
    EXPECT_THAT(gms.err, HasSubstr("trimesh()"));
    EXPECT_FALSE(fs::exists("out.kgf"));
}

// Before: the second model's DEFAULT.mes replaced the first one's silently,
// so the first scene showed the second model.
TEST_F(Ra7Messages, AnotherModelsMeshIsReplacedOnlyWhenAskedTo)
{
    test::writeFile("triangle.obj", kTriangle);
    test::writeFile("pyramid.obj", kPyramid);
    ASSERT_EQ(test::runRa7({"convert", "triangle.obj", "-f", "meshes", "-o", "triangle", "-q"}).status, 0);
    const std::string first = test::readFile("meshes/DEFAULT.mes");

    const test::ProgramRun refused =
        test::runRa7({"convert", "pyramid.obj", "-f", "meshes", "-o", "pyramid", "-q"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "ra7 convert: meshes\\DEFAULT.mes is already there; give --overwrite to replace, or "
              "convert into another --folder\n");
    EXPECT_EQ(test::readFile("meshes/DEFAULT.mes"), first);
    EXPECT_FALSE(fs::exists("pyramid.kgf"));

    const test::ProgramRun replaced =
        test::runRa7({"convert", "pyramid.obj", "-f", "meshes", "-o", "pyramid", "-q", "--overwrite"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_NE(test::readFile("meshes/DEFAULT.mes"), first);
    EXPECT_TRUE(fs::exists("pyramid.kgf"));
    // Into a folder of its own nothing is in the way.
    EXPECT_EQ(test::runRa7({"convert", "triangle.obj", "-f", "meshes/triangle", "-o", "t2", "-q"}).status, 0);
}

} // namespace
} // namespace ra7
