// Keeping the work safe, with the real editor: autosave backups that load
// to the same scene, recovery offered after an editor was killed, and the
// scene's editor state (camera, sky box) beside the saved file.

#include "core/EditorDocument.h"
#include "core/SceneBackup.h"
#include "editor/ui/MainWindowTest.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "scene/Ka7Camera.h"
#include "ui/TSceneFiles.h"

#include <QAction>

#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace ra7::editor {
namespace {

namespace fs = std::filesystem;

// What a recovered scene must give back.
struct SceneShape {
    std::vector<std::string> names;
    std::vector<std::string> parents;
    std::vector<Vector3> places;
    std::vector<std::string> materials;
    std::int32_t materialCount = 0;
    bool operator==(const SceneShape&) const = default;
};

SceneShape shapeOfScene()
{
    SceneShape shape;
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
        const KaSceneObj& object = *SceneObjects->GetItem(i);
        shape.names.push_back(object.Name());
        shape.parents.push_back(object.ParentName);
        shape.places.push_back(object.Trans->Position);
        if (const auto* geometry = dynamic_cast<const KaGeometry*>(&object))
            shape.materials.push_back(geometry->MaterialName);
    }
    shape.materialCount = Materials->Count();
    return shape;
}

class SceneSafety : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        fs::copy(RA7_SAMPLE_DIR, dir(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        ::setenv("XDG_CONFIG_HOME", (dir() / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (dir() / "share").c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
        MainWindow::TearDown();
    }
    void deleteObject(const std::string& name)
    {
        form->Document()->Select({name});
        action("ActionDeleteObjects")->trigger();
        ASSERT_EQ(SceneObjects->FindByName(name), nullptr);
    }
};

TEST_F(SceneSafety, AnAutosaveLoadsBackToTheSameSceneAndLeavesTheUsersFileAlone)
{
    ASSERT_EQ(start(), "");
    form->LoadSceneFile("scene.kgf");
    ASSERT_NE(SceneObjects->FindByName("pillar"), nullptr);
    deleteObject("pillar");
    SceneObjects->FindByName("crate")->Trans->Position.x += 3; // as a drag would leave it
    const SceneShape edited = shapeOfScene();
    const std::string userFile = ra7::test::readFile("scene.kgf");

    ASSERT_TRUE(form->SceneFiles().AutosaveNow());
    EXPECT_FALSE(form->SceneFiles().AutosaveNow()); // nothing changed since
    EXPECT_EQ(ra7::test::readFile("scene.kgf"), userFile);
    EXPECT_TRUE(fs::exists("scene.kgf.autosave"));
    EXPECT_TRUE(fs::exists("scene.kgf.autosave.kmt"));

    dialogs.saveChoices = {SaveChoice::Discard};
    action("ActionNewScene")->trigger();
    dialogs.choices = {0}; // "Восстановить"
    form->LoadSceneFile("scene.kgf");
    EXPECT_EQ(shapeOfScene(), edited);
    EXPECT_EQ(ActiveCameraName, edited.names.front()); // the view looks through the editor's camera again
    EXPECT_TRUE(form->Document()->Modified());
    EXPECT_EQ(form->Document()->FileName(), "scene.kgf");

    // A clean exit takes the backup away; the user's scene stays as it was.
    dialogs.saveChoices = {SaveChoice::Discard};
    form->close();
    EXPECT_FALSE(fs::exists("scene.kgf.autosave"));
    EXPECT_EQ(ra7::test::readFile("scene.kgf"), userFile);
}

TEST_F(SceneSafety, AnOlderBackupIsNotOfferedAndDeleteRemovesIt)
{
    ASSERT_EQ(start(), "");
    form->LoadSceneFile("scene.kgf");
    deleteObject("pillar");
    ASSERT_TRUE(form->SceneFiles().AutosaveNow());
    dialogs.saveChoices = {SaveChoice::Discard};
    action("ActionNewScene")->trigger();
    dialogs.choices = {1}; // "Удалить"
    form->LoadSceneFile("scene.kgf");
    EXPECT_NE(SceneObjects->FindByName("pillar"), nullptr);
    EXPECT_FALSE(fs::exists("scene.kgf.autosave"));
    const std::size_t asked = dialogs.questions.size();
    action("ActionNewScene")->trigger();
    form->LoadSceneFile("scene.kgf");
    EXPECT_EQ(dialogs.questions.size(), asked); // no backup, no question
}

TEST_F(SceneSafety, TheCameraAndTheSkyBoxComeBackWithTheScene)
{
    ASSERT_EQ(start(), "");
    form->LoadSceneFile("scene.kgf");
    EditorDocument& document = *form->Document();
    document.EditorState().sky = {true, {"textures\\sky_front.png", "", "", "", "", ""}};
    ApplySkyBox(document.EditorState().sky);
    SceneObjects->ActiveCamera()->Trans->Position = {4, 5, 6};
    form->SceneFiles().SceneSaved("scene.kgf");
    EXPECT_TRUE(fs::exists("scene.kgf.editor"));

    dialogs.saveChoices = {SaveChoice::Discard};
    action("ActionNewScene")->trigger();
    EXPECT_EQ(SceneObjects->ActiveCamera()->Trans->Position, (Vector3{}));
    form->LoadSceneFile("scene.kgf");
    EXPECT_EQ(SceneObjects->ActiveCamera()->Trans->Position, (Vector3{4, 5, 6}));
    EXPECT_TRUE(document.EditorState().sky.enabled);
    EXPECT_EQ(document.EditorState().sky.names[0], "textures\\sky_front.png");
    const auto& recent = form->SceneFiles().Settings().recentFiles;
    ASSERT_FALSE(recent.empty());
    EXPECT_EQ(fs::path(recent.front()), fs::absolute("scene.kgf"));
}

// Runs a program with the test's environment; its process id.
pid_t spawn(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

int run(const std::vector<std::string>& arguments)
{
    const pid_t pid = spawn(arguments);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

template <class Condition>
bool waitFor(Condition condition, std::chrono::seconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

TEST_F(SceneSafety, WorkSurvivesAnEditorKilledMidSession)
{
    // A real editor, an autosave every 0.6 s, an edit made with real key and
    // mouse events from outside, then SIGKILL.
    fs::create_directories(dir() / "config" / "ra7editor");
    ra7::test::writeFile(dir() / "config" / "ra7editor" / "settings.json", R"({"autosaveMinutes": 0.01})");
    const pid_t editor = spawn({RA7_EDITOR_BINARY, "scene.kgf"});
    ASSERT_GT(editor, 0);
    ASSERT_TRUE(waitFor(
        [] {
            return run({"xdotool", "search", "--name", "Editor for Ra7Davevi - scene"}) == 0;
        },
        std::chrono::seconds(30)));
    std::this_thread::sleep_for(std::chrono::seconds(1)); // the scene is loaded once the title names it
    // The third row of the tree is the floor; a click selects it, Delete removes it.
    EXPECT_EQ(run({"xdotool", "mousemove", "60", "92", "click", "1", "sleep", "0.3", "key", "Delete"}), 0);
    const bool saved = waitFor([] { return fs::exists("scene.kgf.autosave"); }, std::chrono::seconds(15));
    ::kill(editor, SIGKILL);
    ::waitpid(editor, nullptr, 0);
    ASSERT_TRUE(saved);

    ASSERT_EQ(start(), "");
    dialogs.choices = {0};
    form->LoadSceneFile("scene.kgf");
    ASSERT_FALSE(dialogs.questions.empty());
    EXPECT_NE(dialogs.questions.back().find("scene.kgf"), std::string::npos);
    EXPECT_EQ(SceneObjects->FindByName("floor"), nullptr);
    EXPECT_NE(SceneObjects->FindByName("crate"), nullptr);
    EXPECT_TRUE(form->Document()->Modified());
}

} // namespace
} // namespace ra7::editor
