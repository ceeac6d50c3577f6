// `ra7 play` as a user runs it: a scene and a script written here, played
// headless, the resulting scene read back.
#include "PlayCommand.h"
#include "ToolTestSupport.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "engine/TestSupport.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7Console.h"
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

    // A scene's command lines run on the console as it loads, so the scene
    // is read back on a console of its own (which rewrites log.txt).
    static std::unique_ptr<KaObjArray> readBack(const std::string& file)
    {
        struct Console {
            Console() { InitConsole({}); }
            ~Console() { DoneConsole(); }
        } console;
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

TEST_F(Ra7Play, AttachKeepsTheWorldPlacementAndRefusesALoop)
{
    // "crate" at (10, 0, 0) goes under "pillar" at (5, 0, 0); "box" (the
    // lamp's parent) cannot go under its own child.
    KaObjArray scene;
    for (const auto& [name, x] : {std::pair{"crate", 10.0f}, std::pair{"pillar", 5.0f}}) {
        auto object = std::make_unique<KaGeometry>();
        object->SetName(name);
        object->Trans->Position = {x, 0, 0};
        scene.Add(std::move(object));
    }
    scene.SaveObjects("yard.kgf", {0, 1}, {});
    writeTextLines("stack.txt", {"0 attach pillar crate", "1 move pillar (0;3;0) t:1"});
    int status = -1;
    auto [out, err] = test::captured(
        [] {
            return RunPlay({"stack.txt", "yard.kgf", 20, 500, 1, "stacked.kgf", true});
        },
        status);
    ASSERT_EQ(status, 0) << err;
    EXPECT_THAT(out, HasSubstr("crate 10 3 0\n")) << "it stayed where it stood, then followed the pillar";
    EXPECT_EQ(readBack("stacked.kgf")->FindByName("crate")->ParentName, "pillar");

    writeTextLines("loop.txt", {"0 attach lamp box"});
    std::tie(out, err) = test::captured(
        [] {
            return RunPlay({"loop.txt", "level.kgf", 20, 100, 1, "looped.kgf", false});
        },
        status);
    ASSERT_EQ(status, 0) << err;
    EXPECT_THAT(test::readFile("log.txt"), HasSubstr("! attach lamp box: "));
    const auto after = readBack("looped.kgf");
    EXPECT_EQ(after->FindByName("lamp")->ParentName, "box");
    EXPECT_EQ(after->FindByName("box")->ParentName, "");
}

TEST_F(Ra7Play, AParticleSystemTheScriptResizesIsWrittenSoThatItReadsBack)
{
    KaObjArray scene;
    auto sparks = std::make_unique<KaParSystem>(10);
    sparks->SetName("sparks");
    scene.Add(std::move(sparks));
    auto after = std::make_unique<KaLight>();
    after->SetName("after");
    scene.Add(std::move(after));
    scene.SaveObjects("fire.kgf", {0, 1}, {});
    writeTextLines("grow.txt", {"0 parsetcount sparks (200000;0;0)"});
    int status = -1;
    const auto [out, err] = test::captured(
        [] {
            return RunPlay({"grow.txt", "fire.kgf", 20, 100, 1, "grown.kgf", false});
        },
        status);
    ASSERT_EQ(status, 0) << err;
    EXPECT_THAT(test::readFile("log.txt"), HasSubstr("! parsetcount sparks: "));
    const auto grown = readBack("grown.kgf");
    ASSERT_EQ(grown->Count(), 2) << "every object reads back";
    EXPECT_EQ(static_cast<const KaParSystem*>(grown->FindByName("sparks"))->Count(), 10);
}

TEST_F(Ra7Play, AnExitLineInTheSceneDoesNotEndThePlay)
{
    KaObjArray scene;
    auto box = std::make_unique<KaGeometry>();
    box->SetName("box");
    scene.Add(std::move(box));
    scene.SaveObjects("quits.kgf", {0}, {"exit"});
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:1"});
    int status = -1;
    const auto [out, err] = test::captured(
        [] {
            return RunPlay({"walk.txt", "quits.kgf", 20, 200, 1, "", true});
        },
        status);
    EXPECT_EQ(status, 0) << err;
    EXPECT_THAT(out, HasSubstr("box 1 0 0\n"));
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
