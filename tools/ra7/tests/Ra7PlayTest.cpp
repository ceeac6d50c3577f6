// `ra7 play` as a user runs it: a scene and a script written here, played
// headless, the resulting scene read back.
#include "PlayCommand.h"
#include "ToolTestSupport.h"

#include "effects/Ka7Light.h"
#include "engine/TestSupport.h"
#include "runtime/FileIO.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using ::testing::HasSubstr;

class Ra7Play : public test::ScratchDirectoryTest {
protected:
    void SetUp() override
    {
        ScratchDirectoryTest::SetUp();
        test::installEngineData();
        // "box" with the light "lamp" two units above it, as its child.
        KaObjArray scene;
        auto box = std::make_unique<KaGeometry>();
        box->SetName("box");
        KaSceneObj& root = *scene.Add(std::move(box));
        auto lamp = std::make_unique<KaLight>();
        lamp->SetName("lamp");
        lamp->Trans->Position = {0, 2, 0};
        root.AddChild(*scene.Add(std::move(lamp)));
        scene.SaveObjects("level.kgf", {0, 1}, {"addtex <>"});
    }

    static std::unique_ptr<KaObjArray> readBack(const std::string& file)
    {
        auto scene = std::make_unique<KaObjArray>();
        scene->LoadFromFile(file);
        return scene;
    }
};

TEST_F(Ra7Play, AMoveCarriesTheObjectAndItsChildAndTheSceneIsWritten)
{
    writeTextLines("walk.txt", {"[walk]", "0 move box (1;0;0) t:10"});
    int status = -1;
    const auto [out, err] = test::captured(
        [] {
            return RunPlay({"walk.txt", "level.kgf", 33, 2000, 1, "after.kgf", true});
        },
        status);
    ASSERT_EQ(status, 0) << err;
    EXPECT_THAT(out, HasSubstr("box 1 0 0\n"));
    EXPECT_THAT(out, HasSubstr("lamp 1 2 0\n"));
    const auto after = readBack("after.kgf");
    ASSERT_EQ(after->Count(), 2);
    EXPECT_FLOAT_EQ(after->FindByName("box")->Trans->Position.x, 1.0f);
    EXPECT_FLOAT_EQ(after->FindByName("lamp")->Trans->Position.x, 1.0f);
    EXPECT_EQ(after->FindByName("lamp")->ParentName, "box");
}

TEST_F(Ra7Play, TheSameRunWritesTheSameFile)
{
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:7", "0 rotate box (0;0.5;0) t:3", "2 attach lamp box"});
    int status = -1;
    test::captured([] { return RunPlay({"walk.txt", "level.kgf", 16, 1500, 7, "one.kgf", false}); }, status);
    test::captured([] { return RunPlay({"walk.txt", "level.kgf", 16, 1500, 7, "two.kgf", false}); }, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::readFile("one.kgf"), test::readFile("two.kgf"));
}

TEST_F(Ra7Play, BadArgumentsAndFilesAreReported)
{
    int status = -1;
    auto [out, err] = test::captured(
        [] {
            return RunPlay({"walk.txt", "level.kgf", 0, 100, 1, "", false});
        },
        status);
    EXPECT_EQ(status, 1);
    EXPECT_THAT(err, HasSubstr("frame step"));
    std::tie(out, err) = test::captured(
        [] {
            return RunPlay({"missing.txt", "level.kgf", 20, 100, 1, "", false});
        },
        status);
    EXPECT_EQ(status, 1);
    EXPECT_THAT(err, HasSubstr("missing.txt: cannot open file"));
}

} // namespace
} // namespace ra7
