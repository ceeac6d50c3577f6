// `ra7 render`: a small scene written to disk the way the editor saves one,
// drawn headless and written as a PNG whose pixels are read back through
// DevIL with the top row first.
#include "ImageOutput.h"
#include "RenderCommand.h"
#include "effects/Ka7Light.h"
#include "engine/TestSupport.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Mesh.h"
#include "resources/Ka7TextureIL.h"
#include "runtime/RecordFile.h"
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
        writeSquareMesh();
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

    // A square of side 2 at `position`, a light reaching everything and,
    // when `withCamera`, a camera at (0, 0, 6) named "shot".
    void writeScene(const Vector3& position, bool withCamera)
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
        scene.SaveObjects("scene.kgf", indexes, {"addmesh square.mes", "addmat white.kmt"});
    }

    static void writeSquareMesh()
    {
        KaMesh mesh;
        mesh.Name = "square.mes";
        mesh.Vertices = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
        mesh.Normals.assign(4, Vector3{0, 0, 1});
        mesh.TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        mesh.Tangents.assign(4, kZeroVector);
        mesh.Binormals.assign(4, kZeroVector);
        mesh.Indices = {0, 1, 2, 0, 2, 3};
        mesh.VertexCount = 4;
        mesh.IndexCount = 6;
        RecordWriter file("square.mes");
        mesh.SaveToFile(file);
        file.commit();
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

} // namespace
} // namespace ra7
