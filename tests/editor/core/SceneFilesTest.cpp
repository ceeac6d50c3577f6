// The files the editor keeps beside a scene: the sidecar with its state,
// backups and when they are offered, and the recent-file list.

#include "core/EditorSettings.h"
#include "core/SceneBackup.h"
#include "core/SceneEditorState.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"

#include <gmock/gmock.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace ra7::editor {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using SceneFiles = test::ScratchDirectoryTest;

SceneEditorState sampleState()
{
    SceneEditorState state;
    state.sky = {true, {"sky\\front.png", "sky\\back.png", "", "sky\\left.png", "sky\\up.png", "небо.png"}};
    state.flareFile = "flares.kls";
    KaTransformation camera;
    camera.Position = {1.5f, -2, 30};
    camera.Rotation = {0, 0, 1, 0, 1, 0, -1, 0, 0};
    state.camera = camera;
    return state;
}

TEST_F(SceneFiles, TheSidecarGivesBackWhatWasWritten)
{
    const SceneEditorState written = sampleState();
    WriteSidecar(SidecarPath("level.kgf"), written);
    EXPECT_TRUE(fs::exists("level.kgf.editor"));
    std::string why;
    const auto read = ReadSidecar("level.kgf.editor", why);
    ASSERT_TRUE(read) << why;
    EXPECT_EQ(read->sky, written.sky);
    EXPECT_EQ(read->flareFile, "flares.kls");
    ASSERT_TRUE(read->camera);
    EXPECT_EQ(read->camera->Position, written.camera->Position);
    EXPECT_EQ(read->camera->Rotation, written.camera->Rotation);
    EXPECT_FALSE(ReadSidecar("other.kgf.editor", why));
    EXPECT_EQ(why, ""); // no sidecar is no error
}

TEST_F(SceneFiles, ADamagedSidecarIsRefusedWithItsReason)
{
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"{not json", "not a JSON object"},
        {"[1, 2]", "not a JSON object"},
        {R"({"version": 7})", "version 7"},
        {R"({"version": 1, "skyBox": {"enabled": true, "faces": ["a"]}, "flareFile": ""})", "six faces"},
        {R"({"version": 1, "skyBox": {"enabled": 1, "faces": []}, "flareFile": ""})", "\"enabled\""},
        {R"({"version": 1, "skyBox": {"enabled": false, "faces": ["","","","","",""]}, "flareFile": "",
             "camera": {"position": [0, 0], "rotation": []}})",
         "camera needs"},
        {R"({"version": 1, "skyBox": {"enabled": false, "faces": ["","","","","",""]}, "flareFile": "",
             "camera": {"position": [0, 0, "far"], "rotation": [1,0,0,0,1,0,0,0,1]}})",
         "not a finite number"}};
    for (const auto& [text, reason] : damaged) {
        test::writeFile("level.kgf.editor", text);
        std::string why;
        EXPECT_FALSE(ReadSidecar("level.kgf.editor", why)) << text;
        EXPECT_THAT(why, HasSubstr(reason)) << text;
    }
}

TEST_F(SceneFiles, ABackupIsOfferedOnlyWhenItIsNewerThanItsScene)
{
    EXPECT_FALSE(BackupIsNewer("level.kgf"));
    const BackupFiles files = BackupFor("level.kgf");
    EXPECT_EQ(files.scene.filename(), "level.kgf.autosave");
    EXPECT_EQ(fs::path(files.kmtName).filename(), "level.kgf.autosave.kmt");
    test::writeFile(files.scene, "backup");
    EXPECT_TRUE(BackupIsNewer("level.kgf")); // the scene was never saved
    test::writeFile("level.kgf", "scene");
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time("level.kgf", now);
    fs::last_write_time(files.scene, now - std::chrono::minutes(1));
    EXPECT_FALSE(BackupIsNewer("level.kgf")); // saved after the backup
    fs::last_write_time(files.scene, now + std::chrono::minutes(1));
    EXPECT_TRUE(BackupIsNewer("level.kgf"));
    test::writeFile(files.kmtName, "kmt");
    RemoveBackup("level.kgf");
    EXPECT_FALSE(fs::exists(files.scene));
    EXPECT_FALSE(fs::exists(files.kmtName));
    EXPECT_TRUE(fs::exists("level.kgf")); // the user's file stays
}

TEST_F(SceneFiles, AnUnsavedScenesBackupGoesToTheUsersDataFolder)
{
    ::setenv("XDG_DATA_HOME", (dir() / "data").c_str(), 1);
    EXPECT_EQ(BackupFor("").scene, dir() / "data" / "ra7editor" / "untitled.kgf.autosave");
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    EXPECT_NE(BackupFor("").scene.string().find(".local/share/ra7editor"), std::string::npos);
    ::unsetenv("XDG_DATA_HOME");
}

TEST_F(SceneFiles, RecentFilesKeepTheNewestTenOnceEach)
{
    EditorSettings settings;
    for (int i = 0; i < 12; ++i)
        settings.AddRecent("/levels/" + std::to_string(i) + ".kgf");
    settings.AddRecent("/levels/5.kgf");
    ASSERT_EQ(settings.recentFiles.size(), kRecentFileCount);
    EXPECT_EQ(settings.recentFiles[0], "/levels/5.kgf");
    EXPECT_EQ(settings.recentFiles[1], "/levels/11.kgf");
    EXPECT_EQ(settings.recentFiles.back(), "/levels/2.kgf"); // 0 and 1 fell off the end

    settings.autosaveMinutes = 0.5;
    SaveSettings(dir() / "config" / "settings.json", settings);
    std::string why;
    const EditorSettings read = LoadSettings(dir() / "config" / "settings.json", why);
    EXPECT_EQ(why, "");
    EXPECT_EQ(read.recentFiles, settings.recentFiles);
    EXPECT_EQ(read.autosaveMinutes, 0.5);

    test::writeFile("settings.json", R"({"autosaveMinutes": -3, "recentFiles": ["/a.kgf", 7, "/b.kgf"]})");
    const EditorSettings odd = LoadSettings("settings.json", why);
    EXPECT_THAT(why, HasSubstr("autosaveMinutes"));
    EXPECT_EQ(odd.autosaveMinutes, 5);
    EXPECT_THAT(odd.recentFiles, ElementsAre("/a.kgf", "/b.kgf"));
}

} // namespace
} // namespace ra7::editor
