// Project folders and the command line as a new user meets them, through
// the real ra7 program: `ra7 init`, --project, the refusal outside a project,
// help, version and exit statuses.
#include "ToolTestSupport.h"

#include "engine/TestSupport.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7GlobalEngine.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace ra7 {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class Ra7Project : public test::ScratchDirectoryTest {};

std::size_t filesIn(const fs::path& folder)
{
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.is_regular_file() ? 1 : 0;
    return count;
}

TEST_F(Ra7Project, InitMakesAProjectFromTheBuildData)
{
    const test::ProgramRun run = test::runRa7({"init", "game"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("project folder"));
    EXPECT_EQ(filesIn("game/data/shaders"), filesIn(fs::path(RA7_SOURCE_DIR) / "data" / "shaders"));
    EXPECT_TRUE(fs::is_regular_file("game/data/arrow/editorData.kgf"));
    EXPECT_EQ(readTextLines("game/config.txt"), ConfigLines(EngineSettings{}));

    // The new folder is a project: the engine starts there.
    const test::ProgramRun console = test::runRa7({"console", "--project", "game", "--quiet", "glinfo"});
    EXPECT_EQ(console.status, 0) << console.err;
    EXPECT_TRUE(fs::exists("game/log.txt"));
    EXPECT_THAT(test::folderEntries("."), testing::ElementsAre("game"))
        << "nothing written outside the project";
}

TEST_F(Ra7Project, InitAgainKeepsTheProjectsOwnFiles)
{
    ASSERT_EQ(test::runRa7({"init", "game"}).status, 0);
    test::writeFile("game/config.txt", "mine\r\n");
    test::writeFile("game/data/shaders/fp_phong.txt", "!!ARBfp1.0\nEND\n");
    fs::remove("game/data/shaders/vp_phong.txt");

    const test::ProgramRun run = test::runRa7({"init", "game"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, AllOf(HasSubstr("1 file(s) copied"), HasSubstr("kept")));
    EXPECT_EQ(test::readFile("game/config.txt"), "mine\r\n");
    EXPECT_EQ(test::readFile("game/data/shaders/fp_phong.txt"), "!!ARBfp1.0\nEND\n");
    EXPECT_TRUE(fs::exists("game/data/shaders/vp_phong.txt"));
}

TEST_F(Ra7Project, InitSampleGivesASceneThatRenders)
{
    ASSERT_EQ(test::runRa7({"init", "--sample", "demo"}).status, 0);
    EXPECT_TRUE(fs::exists("demo/scene.kgf"));
    EXPECT_FALSE(fs::exists("demo/log.txt")) << "the copy is clean even when the build's sample was used";
    const test::ProgramRun run = test::runRa7({"render", "--project", "demo", "scene.kgf", "-o", "shot.png",
                                               "--width", "64", "--height", "48", "--quiet"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists("demo/shot.png"));
}

TEST_F(Ra7Project, InitWithoutTheEngineDataSaysWhereItLooked)
{
    fs::create_directories("empty");
    const test::ProgramRun run =
        test::runRa7({"init", "game"}, {"RA7_DATA_DIR=" + (dir() / "empty").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, AllOf(HasSubstr("cannot find the engine's data"), HasSubstr("empty"),
                               HasSubstr("RA7_DATA_DIR")));
    EXPECT_FALSE(fs::exists("game"));
}

// Before: "data\shaders\fp_phong.txt: cannot open file", with config.txt and
// log.txt left behind.
TEST_F(Ra7Project, EveryEngineCommandRefusesToRunOutsideAProjectAndWritesNothing)
{
    test::writeFile("box.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const std::vector<std::vector<std::string>> commands = {
        {"console", "glinfo"},
        {"render", "scene.kgf", "-o", "shot.png"},
        {"play", "walk.txt", "scene.kgf"},
        {"convert", "box.obj", "-f", "meshes", "-o", "box.kgf"},
    };
    for (const auto& command : commands) {
        const test::ProgramRun run = test::runRa7(command);
        EXPECT_EQ(run.status, 1) << command[0];
        EXPECT_THAT(run.err, AllOf(HasSubstr("ra7 " + command[0] + ": "),
                                   HasSubstr("is not a project folder"), HasSubstr("no data/shaders folder"),
                                   HasSubstr("ra7 init DIR"), HasSubstr("--project DIR")))
            << command[0];
        EXPECT_THAT(test::folderEntries("."), testing::ElementsAre("box.obj")) << command[0];
    }
}

// The source tree holds the shader programs but no helper scene: run there,
// a command would leave config.txt and log.txt among the sources.
TEST_F(Ra7Project, AFolderWithTheShadersAloneIsNoProject)
{
    test::installEngineData();
    const test::ProgramRun run = test::runRa7({"console", "glinfo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("no data/arrow/editorData.kgf (the editor's helper scene)"));
    EXPECT_THAT(test::folderEntries("."), testing::ElementsAre("data"));
}

TEST_F(Ra7Project, ProjectOptionTakesRelativeNamesFromTheProject)
{
    ASSERT_EQ(test::runRa7({"init", "game"}).status, 0);
    test::writeFile("game/box.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const test::ProgramRun run =
        test::runRa7({"convert", "--project", "game", "box.obj", "-f", "meshes", "-o", "box", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists("game/box.kgf"));
    EXPECT_TRUE(fs::exists("game/meshes/DEFAULT.mes"));
    EXPECT_THAT(test::folderEntries("."), testing::ElementsAre("game"));

    const test::ProgramRun missing = test::runRa7({"console", "--project", "nowhere", "glinfo"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_THAT(missing.err, HasSubstr("--project nowhere"));
}

TEST_F(Ra7Project, HelpListsEveryCommand)
{
    const test::ProgramRun bare = test::runRa7({});
    const test::ProgramRun help = test::runRa7({"help"});
    const test::ProgramRun dashed = test::runRa7({"--help"});
    EXPECT_EQ(bare.status, 2) << "no command is a usage error";
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(dashed.status, 0);
    for (const std::string* text : {&bare.err, &help.out, &dashed.out})
        for (const char* command : {"init", "info", "console", "play", "convert", "render", "help"})
            EXPECT_THAT(*text, HasSubstr(command)) << command;
    EXPECT_THAT(help.out, HasSubstr("Exit status"));
}

// Before: "--culling,--no-culling{false}", though culling is on by default.
TEST_F(Ra7Project, HelpOfOneCommandShowsItsRealDefaults)
{
    const test::ProgramRun run = test::runRa7({"help", "render"});
    ASSERT_EQ(run.status, 0);
    EXPECT_THAT(run.out,
                AllOf(HasSubstr("objects outside the view are skipped (the default)"),
                      HasSubstr("No bloom (the default)"), HasSubstr("--width INT:INT in [1 - 8192]=640"),
                      HasSubstr("--project"), HasSubstr(".jpg"), Not(HasSubstr("{false}"))));
    EXPECT_EQ(test::runRa7({"render", "--help"}).out, run.out);
    const test::ProgramRun unknown = test::runRa7({"help", "paint"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_THAT(unknown.err, HasSubstr("no command \"paint\""));
}

TEST_F(Ra7Project, VersionIsPrinted)
{
    const test::ProgramRun run = test::runRa7({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.out, testing::MatchesRegex("ra7 [0-9]+\\.[0-9]+\\.[0-9]+\n"));
}

TEST_F(Ra7Project, UsageErrorsExitWithTwo)
{
    ASSERT_EQ(test::runRa7({"init", "game"}).status, 0);
    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"paint"},
                                               {"render"},
                                               {"render", "s.kgf", "-o", "shot.gif"},
                                               {"render", "s.kgf", "-o", "shot.png", "--width", "0"},
                                               {"play", "walk.txt", "s.kgf", "--step", "0"},
                                               {"convert", "m.obj", "-o", "m", "-t", "7"},
                                               {"console"},
                                               {"info", "--bogus", "x.kgf"}}) {
        const test::ProgramRun run = test::runRa7(command);
        EXPECT_EQ(run.status, 2) << command.front() << ' ' << run.err;
        EXPECT_THAT(run.err, Not(IsEmpty())) << command.front();
    }
    EXPECT_THAT(test::runRa7({"render", "s.kgf", "-o", "shot.gif"}).err, HasSubstr(".png or .jpg"));
}

// Before: exit status 0 after "! nosuch не является командой консоли".
TEST_F(Ra7Project, AnUnknownConsoleCommandFailsTheRun)
{
    ASSERT_EQ(test::runRa7({"init", "game"}).status, 0);
    const test::ProgramRun run = test::runRa7({"console", "--project", "game", "glinfo", "nosuch"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.out, HasSubstr("! nosuch не является командой консоли"));
    EXPECT_EQ(test::runRa7({"console", "--project", "game", "-q", "glinfo", "help"}).status, 0);
}

} // namespace
} // namespace ra7
