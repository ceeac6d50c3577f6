// `cmake --install` of this build into a scratch prefix: the programs, the
// mesh mender, the data, the desktop entry and its icon land where a Linux
// desktop looks, and the installed programs find their data there.
#include "ToolTestSupport.h"

#include "engine/TestSupport.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <regex>

namespace ra7 {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class Ra7Install : public test::ScratchDirectoryTest {
protected:
    void SetUp() override
    {
        ScratchDirectoryTest::SetUp();
        prefix = dir() / "prefix";
        const test::ProgramRun run =
            test::runProgram(RA7_CMAKE, {"--install", RA7_BUILD_DIR, "--prefix", prefix.string()});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
    }

    // The one file below the prefix with this name.
    fs::path installed(const std::string& name) const
    {
        for (const auto& entry : fs::recursive_directory_iterator(prefix))
            if (entry.path().filename() == name)
                return entry.path();
        return {};
    }

    fs::path prefix;
};

TEST_F(Ra7Install, ProgramsLibraryAndDataGoWhereTheDesktopLooks)
{
    EXPECT_TRUE(fs::is_regular_file(prefix / "bin" / "ra7"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "bin" / "ra7editor"));
    const fs::path mender = installed("libmeshmender.so");
    ASSERT_FALSE(mender.empty());
    EXPECT_EQ(mender.parent_path().parent_path(), prefix) << "lib/ or the multiarch lib folder: " << mender;

    const fs::path data = prefix / "share" / "ra7davevi";
    EXPECT_TRUE(fs::is_regular_file(data / "data" / "shaders" / "vp_phong.txt"));
    EXPECT_TRUE(fs::is_regular_file(data / "data" / "arrow" / "editorData.kgf"));
    EXPECT_TRUE(fs::is_regular_file(data / "sample" / "scene.kgf"));
    EXPECT_FALSE(fs::exists(data / "sample" / "log.txt"));
    EXPECT_FALSE(fs::exists(data / "sample" / "config.txt"));

    // The programs find the mender through their run path.
    const test::ProgramRun elf =
        test::runProgram("/usr/bin/readelf", {"-d", (prefix / "bin" / "ra7").string()});
    EXPECT_THAT(elf.out, HasSubstr("$ORIGIN/../" + mender.parent_path().filename().string()));
}

TEST_F(Ra7Install, DesktopEntryStartsTheInstalledEditorWithItsIcon)
{
    const fs::path entry = prefix / "share" / "applications" / "ra7editor.desktop";
    ASSERT_TRUE(fs::is_regular_file(entry));
    const std::string text = test::readFile(entry);
    // The configured install folder (not the scratch prefix): the menu starts the editor by its full name.
    EXPECT_TRUE(std::regex_search(text, std::regex("\nExec=/\\S*/ra7editor %f\n"))) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("\nTryExec=/\\S*/ra7editor\n"))) << text;
    EXPECT_THAT(text, HasSubstr("Icon=ra7editor\n"));
    EXPECT_THAT(text, HasSubstr("Name=Editor for Ra7Davevi\n"));
    if (fs::exists("/usr/bin/desktop-file-validate")) {
        const test::ProgramRun valid = test::runProgram("/usr/bin/desktop-file-validate", {entry.string()});
        EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
        EXPECT_THAT(valid.out, testing::Not(HasSubstr("error"))) << valid.out;
    }
    const fs::path icon = prefix / "share" / "icons" / "hicolor" / "scalable" / "apps" / "ra7editor.svg";
    ASSERT_TRUE(fs::is_regular_file(icon));
    EXPECT_TRUE(std::regex_search(test::readFile(icon), std::regex("<svg[^>]*viewBox=\"0 0 128 128\"")));
}

TEST_F(Ra7Install, InstalledProgramsFindTheirData)
{
    // Far from the build tree: only the installed data can serve.
    const test::ProgramRun init = test::runProgram(prefix / "bin" / "ra7", {"init", "--sample", "demo"});
    ASSERT_EQ(init.status, 0) << init.err;
    EXPECT_THAT(init.out, HasSubstr("sample project"));
    EXPECT_TRUE(fs::is_regular_file("demo/scene.kgf"));
    const test::ProgramRun render =
        test::runProgram(prefix / "bin" / "ra7", {"render", "--project", "demo", "scene.kgf", "-o",
                                                  "shot.png", "--width", "32", "--height", "32", "-q"});
    EXPECT_EQ(render.status, 0) << render.err;

    // The editor answers --version and --help without a display.
    const test::ProgramRun version = test::runProgram(prefix / "bin" / "ra7editor", {"--version"},
                                                      {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_THAT(version.out, testing::MatchesRegex("ra7editor [0-9]+\\.[0-9]+\\.[0-9]+\n"));
}

} // namespace
} // namespace ra7
