#include "host/Ka7Engine.h"

#include "anim/Ka7AnimScriptList.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7SoundBuffersList.h"
#include "engine/GLTestSupport.h"
#include "render/Ka7Scene.h"
#include "render/RenderTargets.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using ::testing::ElementsAreArray;

class EngineLifecycle : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        installShaders();
    }
    // The log lines from `first` on, without the shader set's own lines.
    static std::vector<std::string> stepLines()
    {
        std::vector<std::string> steps;
        for (const std::string& line : LogLines())
            if (line.rfind("  Инициализируем", 0) == 0 || line.rfind("  Деинициализируем", 0) == 0)
                steps.push_back(line);
        return steps;
    }
};

TEST_F(EngineLifecycle, StartAndStopRunTheirStepsInOrder)
{
    EngineInit();
    EXPECT_NE(SoundBuffers, nullptr);
    EXPECT_NE(Textures, nullptr);
    EXPECT_GT(Shaders->Count(), 0);
    EXPECT_NE(Scene, nullptr);
    EXPECT_FALSE(Scene->SkyBox);
    EXPECT_NE(LensFlares, nullptr);
    EXPECT_NE(Meshes, nullptr);
    EXPECT_NE(AnimList, nullptr);
    EXPECT_EQ(SceneObjects->Materials(), Materials.get());
    EngineDone();
    EXPECT_EQ(SceneObjects, nullptr);
    EXPECT_EQ(Materials, nullptr);
    EXPECT_EQ(Shaders, nullptr);
    EXPECT_THAT(stepLines(), ElementsAreArray({
                                 "  Инициализируем OpenIL...",     "  Инициализируем звуки...",
                                 "  Инициализируем текстуры...",   "  Инициализируем шейдеры...",
                                 "  Инициализируем сцену...",      "  Инициализируем Lens Flare List...",
                                 "  Инициализируем объекты сцены", "  Инициализируем меши",
                                 "  Инициализируем материалы",     "  Инициализируем анимацию",
                                 "  Деинициализируем анимацию",    "  Деинициализируем объекты сцены",
                                 "  Деинициализируем текстуры...", "  Деинициализируем шейдеры...",
                                 "  Деинициализируем сцену...",    "  Деинициализируем Lens Flare List...",
                                 "  Деинициализируем меши",        "  Деинициализируем материалы",
                                 "  Деинициализируем звуки...",    "  Деинициализируем OpenIL...",
                             }));
}

TEST_F(EngineLifecycle, FramebufferObjectsBringTheBloomTargets)
{
    detect(false, true, false);
    ASSERT_TRUE(Settings.UseFBO);
    EngineInit();
    EXPECT_NE(BloomFramebuffer, 0u);
    EngineDone();
    EXPECT_THAT(stepLines(), ::testing::Contains("  Инициализируем BLOOM"));
    EXPECT_THAT(stepLines(), ::testing::Contains("  Деинициализируем BLOOM"));
}

TEST_F(EngineLifecycle, TheObjectArrayClassifiesByTheRealMaterialList)
{
    EngineInit();
    KaMaterial glass;
    glass.Name = "glass";
    glass.Blend = true;
    Materials->AddCopy(glass);
    auto geometry = std::make_unique<KaGeometry>();
    geometry->MaterialName = "glass";
    SceneObjects->Add(std::move(geometry));
    SceneObjects->MarkChanged();
    EXPECT_THAT(SceneObjects->BlendGeomList, ::testing::ElementsAre(0));
    EngineDone();
}

TEST_F(EngineLifecycle, AFailedStartCanStillBeStopped)
{
    std::filesystem::remove_all("data/shaders"); // the shader set cannot load
    EXPECT_ANY_THROW(EngineInit());
    EngineDone();
    EXPECT_EQ(SoundBuffers, nullptr);
    EXPECT_EQ(Textures, nullptr);
}

} // namespace
} // namespace ra7
