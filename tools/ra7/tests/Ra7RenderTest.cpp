// `ra7 render`: a small scene written to disk the way the editor saves one,
// drawn headless and written as a PNG whose pixels are read back through
// DevIL with the top row first.
#include "ImageOutput.h"
#include "RenderCommand.h"
#include "ToolTestSupport.h"
#include "effects/Ka7Light.h"
#include "engine/TestSupport.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Mesh.h"
#include "resources/Ka7TextureIL.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <IL/il.h>
#include <gmock/gmock.h>

#include <array>
#include <filesystem>

namespace ra7 {
namespace {

namespace fs = std::filesystem;

class Ra7Render : public test::ScratchDirectoryTest {
protected:
    void SetUp() override
    {
        ScratchDirectoryTest::SetUp();
        fs::create_directories("data");
        fs::copy(fs::path(RA7_SOURCE_DIR) / "data" / "shaders", "data/shaders");
        test::saveMesh(*test::squareMesh("square.mes", 2), "square.mes");
        KaMaterialList materials;
        KaMaterial white;
        white.Name = "white";
        white.Ambient = {1, 1, 1, 1};
        white.WorldAmbient = {0, 0, 0, 1};
        white.Diffuse = {0, 0, 0, 1};
        white.Specular = {0, 0, 0, 1};
        white.Colour = {1, 1, 1, 1};
        materials.AddCopy(white);
        materials.SaveToFile("white.kmt", {0});
    }

    // A square of side 2 at `position` (its bounding box moved by
    // `boundsOffset`), a light reaching everything and, when `withCamera`,
    // a camera at (0, 0, 6) named "shot"; the scene's command lines load
    // `meshFiles` and the material library.
    void writeScene(const Vector3& position, bool withCamera, const Vector3& boundsOffset = {},
                    const std::vector<std::string>& meshFiles = {"square.mes"})
    {
        KaMaterialList materials;
        materials.LoadFromFile("white.kmt");
        KaObjArray scene;
        scene.SetMaterialCatalog(&materials);
        auto geometry = std::make_unique<KaGeometry>();
        geometry->SetName("square");
        geometry->MeshName = geometry->MeshLod1 = "square.mes";
        geometry->MaterialName = "white";
        geometry->Trans->Position = position;
        geometry->Bounds->Main->LocalTrans.Position = boundsOffset;
        scene.Add(std::move(geometry));
        auto light = std::make_unique<KaLight>();
        light->LightParams[0] = 0;
        light->Ambient = {1, 1, 1, 1};
        light->Trans->Position = position;
        scene.Add(std::move(light));
        std::vector<std::int32_t> indexes{0, 1};
        if (withCamera) {
            auto camera = std::make_unique<KaCamera>();
            camera->SetName("shot");
            camera->Trans->Position = {0, 0, 6};
            scene.Add(std::move(camera));
            indexes.push_back(2);
        }
        std::vector<std::string> commands;
        for (const std::string& file : meshFiles)
            commands.push_back("addmesh " + file);
        commands.push_back("addmat white.kmt");
        scene.SaveObjects("scene.kgf", indexes, commands);
    }

    // The PNG's pixels, top row first, as DevIL reads them.
    struct Image {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> rgba;
        std::array<int, 3> at(int x, int y) const
        {
            const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                   static_cast<std::size_t>(x)) *
                                  4;
            return {rgba[i], rgba[i + 1], rgba[i + 2]};
        }
    };

    static Image readPng(const std::string& fileName)
    {
        InitImageLibrary();
        ILuint name = 0;
        ilGenImages(1, &name);
        ilBindImage(name);
        ilEnable(IL_ORIGIN_SET);
        ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
        Image image;
        if (ilLoad(IL_PNG, fileName.c_str()) == IL_TRUE) {
            image.width = ilGetInteger(IL_IMAGE_WIDTH);
            image.height = ilGetInteger(IL_IMAGE_HEIGHT);
            image.rgba.resize(static_cast<std::size_t>(image.width * image.height * 4));
            ilCopyPixels(0, 0, 0, static_cast<ILuint>(image.width), static_cast<ILuint>(image.height), 1,
                         IL_RGBA, IL_UNSIGNED_BYTE, image.rgba.data());
        }
        ilDisable(IL_ORIGIN_SET);
        ilDeleteImages(1, &name);
        return image;
    }

    static RenderOptions options(const std::string& output)
    {
        RenderOptions o;
        o.scene = "scene.kgf";
        o.output = output;
        o.width = 80;
        o.height = 60;
        o.quiet = true;
        return o;
    }
};

const std::array<int, 3> kWhite{255, 255, 255};
const std::array<int, 3> kBackground{153, 153, 153};

TEST_F(Ra7Render, WritesThePictureTheSceneCameraSeesTopRowFirst)
{
    writeScene({0, 1.5f, 0}, true);
    ASSERT_EQ(RunRender(options("shot.png")), 0);
    const Image image = readPng("shot.png");
    ASSERT_EQ(image.width, 80);
    ASSERT_EQ(image.height, 60);
    // Above the middle: the square; at the bottom: the background.
    EXPECT_EQ(image.at(40, 14), kWhite);
    EXPECT_EQ(image.at(40, 55), kBackground);
    EXPECT_EQ(image.at(2, 14), kBackground);
    EXPECT_FALSE(fs::exists("shot.png.part.png"));
}

TEST_F(Ra7Render, ASceneWithoutACameraIsSeenFromADefaultOne)
{
    writeScene({7, -3, -2}, false);
    ASSERT_EQ(RunRender(options("default.png")), 0);
    const Image image = readPng("default.png");
    ASSERT_EQ(image.width, 80);
    EXPECT_EQ(image.at(40, 30), kWhite) << "the default camera looks at the scene's middle";
    EXPECT_EQ(image.at(1, 1), kBackground);
}

TEST_F(Ra7Render, AnUnknownCameraOrAnUnreadableSceneFailsWithoutWritingAnImage)
{
    writeScene({0, 0, 0}, true);
    RenderOptions o = options("none.png");
    o.camera = "nobody";
    EXPECT_EQ(RunRender(o), 1);
    o.camera.clear();
    o.scene = "missing.kgf";
    EXPECT_EQ(RunRender(o), 1);
    test::writeFile("broken.kgf", "\x03kgf\x01");
    o.scene = "broken.kgf";
    EXPECT_EQ(RunRender(o), 1);
    EXPECT_FALSE(fs::exists("none.png"));
}

TEST_F(Ra7Render, WhatTheSceneCouldNotLoadIsToldOnStandardError)
{
    writeScene({0, 1.5f, 0}, true, {}, {"absent.mes", "square.mes"});
    testing::internal::CaptureStderr();
    const int status = RunRender(options("partial.png"));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 0) << "what could be loaded is drawn";
    EXPECT_TRUE(fs::exists("partial.png"));
    EXPECT_THAT(told, ::testing::HasSubstr("ra7 render: absent.mes: cannot open file"));
    EXPECT_EQ(readPng("partial.png").at(40, 14), kWhite) << "the mesh that is there is drawn";
}

TEST_F(Ra7Render, SimulatedTimeIsCutIntoWholeFrames)
{
    RenderOptions o;
    o.frames = 3;
    EXPECT_EQ(FrameCount(o), 3);
    o.simulatedMs = 1000;
    o.frameMs = 40;
    EXPECT_EQ(FrameCount(o), 25);
    o.simulatedMs = 1001;
    EXPECT_EQ(FrameCount(o), 26);
    o.simulatedMs = 0;
    o.frames = 0;
    EXPECT_EQ(FrameCount(o), 1);
}

TEST_F(Ra7Render, WriteImageRefusesAnImageOfTheWrongSizeOrType)
{
    EXPECT_THROW(WriteImage("bad.png", 4, 4, std::vector<std::uint8_t>(10)), std::exception);
    EXPECT_FALSE(fs::exists("bad.png"));
    EXPECT_THROW(WriteImage("bad.gif", 1, 1, std::vector<std::uint8_t>(4)), std::exception);
    EXPECT_FALSE(fs::exists("bad.gif"));
    EXPECT_THROW(WriteImage("none/bad.png", 1, 1, std::vector<std::uint8_t>(4)), std::exception);
}

// The render options as a user types them: each one changes the picture of
// the sample project, drawn by the program itself.
struct RenderOption {
    const char* name;
    std::vector<std::string> with;
    std::vector<std::string> without;
};

class Ra7RenderOptions : public test::ScratchDirectoryTest,
                         public ::testing::WithParamInterface<RenderOption> {
protected:
    void SetUp() override
    {
        ScratchDirectoryTest::SetUp();
        const test::ProgramRun init = test::runRa7({"init", "--sample", "."});
        ASSERT_EQ(init.status, 0) << init.err;
        // The first run writes the default config.txt; bloom needs shaders
        // and framebuffer objects switched on in it.
        render("first.png", {});
        std::string config = test::readFile("config.txt");
        for (const std::string key : {"USE GLSL: ", "USE FBO: "}) {
            const std::size_t at = config.find(key + "False");
            ASSERT_NE(at, std::string::npos) << key;
            config.replace(at, key.size() + 5, key + "True");
        }
        test::writeFile("config.txt", config);
    }

    // The image file's bytes, or a failure naming the run.
    static std::string render(const std::string& output, const std::vector<std::string>& options)
    {
        std::vector<std::string> arguments{"render", "scene.kgf", "-o",  output, "--width",
                                           "160",    "--height",  "120", "-q"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const test::ProgramRun run = test::runRa7(arguments);
        EXPECT_EQ(run.status, 0) << output << ": " << run.err;
        EXPECT_EQ(run.err, "") << output;
        return test::readFile(output);
    }
};

TEST_P(Ra7RenderOptions, ChangesThePicture)
{
    const std::string without = render("without.png", GetParam().without);
    ASSERT_FALSE(without.empty());
    // Compared as booleans: a failure should not print two images' bytes.
    EXPECT_TRUE(render("again.png", GetParam().without) == without) << "the same run draws the same picture";
    EXPECT_TRUE(render("with.png", GetParam().with) != without) << GetParam().name << " changes nothing";
}

INSTANTIATE_TEST_SUITE_P(Ra7, Ra7RenderOptions,
                         ::testing::Values(RenderOption{"bloom", {"--bloom"}, {"--no-bloom"}},
                                           RenderOption{"grid", {"--grid"}, {}},
                                           RenderOption{"axes", {"--axes"}, {}},
                                           RenderOption{"markers", {"--markers"}, {}},
                                           RenderOption{"flares", {"--flares", "flares.kls"}, {}}),
                         [](const ::testing::TestParamInfo<RenderOption>& option) {
                             return std::string(option.param.name);
                         });

// Culling skips what the bounding box puts outside the view: a square whose
// box stands far behind the camera is drawn only with --no-culling.
TEST_F(Ra7Render, CullingOptionsDecideWhetherAnObjectOutsideTheViewIsDrawn)
{
    ASSERT_EQ(test::runRa7({"init", "."}).status, 0);
    writeScene({0, 0, 0}, true, {0, 0, 100});
    for (const auto& [option, expected] :
         {std::pair{"--culling", kBackground}, std::pair{"--no-culling", kWhite}}) {
        const test::ProgramRun run = test::runRa7(
            {"render", "scene.kgf", "-o", "shot.png", "--width", "80", "--height", "60", "-q", option});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readPng("shot.png").at(40, 30), expected) << option;
    }
}

TEST_F(Ra7Render, AnUnknownOptionIsRefusedByName)
{
    ASSERT_EQ(test::runRa7({"init", "."}).status, 0);
    writeScene({0, 0, 0}, true);
    const test::ProgramRun run = test::runRa7({"render", "scene.kgf", "-o", "shot.png", "--sparkle"});
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, ::testing::HasSubstr("--sparkle"));
    EXPECT_FALSE(fs::exists("shot.png"));
}

} // namespace
} // namespace ra7
