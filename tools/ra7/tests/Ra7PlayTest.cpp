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

#include <sstream>
#include <tuple>

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

    struct Played {
        int status = -1;
        std::string out;
        std::string err;
    };
    // `ra7 play` with its standard output and error captured.
    static Played play(const PlayOptions& options)
    {
        Played played;
        std::tie(played.out, played.err) = test::captured([&] { return RunPlay(options); }, played.status);
        return played;
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
    Played played = play({"walk.txt", "level.kgf", 33, 2000, 1, "after.kgf", true});
    ASSERT_EQ(played.status, 0) << played.err;
    EXPECT_THAT(played.out, HasSubstr("box 1 0 0\n"));
    EXPECT_THAT(played.out, HasSubstr("lamp 1 2 0\n"));
    const auto after = readBack("after.kgf");
    ASSERT_EQ(after->Count(), 2);
    EXPECT_FLOAT_EQ(after->FindByName("box")->Trans->Position.x, 1.0f);
    EXPECT_FLOAT_EQ(after->FindByName("lamp")->Trans->Position.x, 1.0f);
    EXPECT_EQ(after->FindByName("lamp")->ParentName, "box");
}

// The seed shows in the particles: one seed gives the same particles (and
// the same file) twice, another seed other particles while the objects move
// alike. Run through the program, so that --seed is read from the command line.
TEST_F(Ra7Play, OneSeedRepeatsTheParticlesAnotherChangesThem)
{
    ASSERT_EQ(test::runRa7({"init", "."}).status, 0);
    KaObjArray scene;
    auto sparks = std::make_unique<KaParSystem>(20);
    sparks->SetName("sparks");
    scene.Add(std::move(sparks));
    auto box = std::make_unique<KaGeometry>();
    box->SetName("box");
    scene.Add(std::move(box));
    scene.SaveObjects("fire.kgf", {0, 1}, {});
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:7", "0 rotate box (0;0.5;0) t:3"});
    auto play = [](const std::string& seed, const std::string& output) {
        return test::runRa7({"play", "walk.txt", "fire.kgf", "--step", "16", "--time", "1500", "--seed", seed,
                             "-o", output, "--positions"});
    };
    const test::ProgramRun first = play("7", "one.kgf");
    const test::ProgramRun again = play("7", "two.kgf");
    const test::ProgramRun other = play("8", "three.kgf");
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_THAT(first.out, HasSubstr("\nsparks[19] "));
    EXPECT_EQ(first.out, again.out);
    EXPECT_EQ(test::readFile("one.kgf"), test::readFile("two.kgf"));
    EXPECT_NE(first.out, other.out) << "the seed changes where the particles are";
    auto objectLines = [](const std::string& out) {
        std::istringstream lines(out);
        std::vector<std::string> objects;
        for (std::string line; std::getline(lines, line);)
            if (line.find('[') == std::string::npos)
                objects.push_back(line);
        return objects;
    };
    EXPECT_EQ(objectLines(first.out), objectLines(other.out));
    EXPECT_THAT(objectLines(first.out), ::testing::Contains("box 1 0 0"));
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
    Played played = play({"stack.txt", "yard.kgf", 20, 500, 1, "stacked.kgf", true});
    ASSERT_EQ(played.status, 0) << played.err;
    EXPECT_THAT(played.out, HasSubstr("crate 10 3 0\n"))
        << "it stayed where it stood, then followed the pillar";
    EXPECT_EQ(readBack("stacked.kgf")->FindByName("crate")->ParentName, "pillar");

    writeTextLines("loop.txt", {"0 attach lamp box"});
    played = play({"loop.txt", "level.kgf", 20, 100, 1, "looped.kgf", false});
    ASSERT_EQ(played.status, 0) << played.err;
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
    Played played = play({"grow.txt", "fire.kgf", 20, 100, 1, "grown.kgf", false});
    ASSERT_EQ(played.status, 0) << played.err;
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
    Played played = play({"walk.txt", "quits.kgf", 20, 200, 1, "", true});
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_THAT(played.out, HasSubstr("box 1 0 0\n"));
}

TEST_F(Ra7Play, WhatTheSceneCouldNotLoadIsToldOnStandardErrorAndThePlayGoesOn)
{
    KaObjArray scene;
    auto box = std::make_unique<KaGeometry>();
    box->SetName("box");
    scene.Add(std::move(box));
    scene.SaveObjects("level.kgf", {0}, {"addmesh absent.mes"});
    writeTextLines("walk.txt", {"[walk]", "0 move box (1;0;0) t:10"});
    Played played = play({"walk.txt", "level.kgf", 33, 2000, 1, "", true});
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_THAT(played.err, HasSubstr("ra7 play: absent.mes: cannot open file"));
    EXPECT_THAT(played.out, HasSubstr("box 1 0 0\n"));
}

TEST_F(Ra7Play, BadArgumentsAndFilesAreReported)
{
    Played played = play({"walk.txt", "level.kgf", 0, 100, 1, "", false});
    EXPECT_EQ(played.status, 1);
    EXPECT_THAT(played.err, HasSubstr("frame step"));
    played = play({"missing.txt", "level.kgf", 20, 100, 1, "", false});
    EXPECT_EQ(played.status, 1);
    EXPECT_THAT(played.err, HasSubstr("missing.txt: cannot open file"));
}

} // namespace
} // namespace ra7
