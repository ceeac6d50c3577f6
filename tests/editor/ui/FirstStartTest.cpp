// A new user's first start of the editor: outside a project it asks what to
// do (create one, open one, open the sample) and then starts there; the real
// program answers --help and --version without a display and refuses an
// unattended run outside a project; an idle window draws no faster than the
// display and slowly while it is not in use.

#include "editor/ui/MainWindowTest.h"
#include "host/ProjectFolder.h"
#include "ui/ProjectChooser.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gmock/gmock.h>

namespace fs = std::filesystem;

namespace ra7::editor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

enum Answer : std::size_t { Create, Open, Sample, Quit };

class FirstStart : public MainWindow {
protected:
    void SetUp() override
    {
        ra7::test::ScratchDirectoryTest::SetUp();
        ResetSettings();
        places.engineData = FindEngineData();
        ASSERT_TRUE(places.engineData) << "the build's data (build/data, build/sample)";
        places.sampleCopy = dir() / "home" / "sample";
    }

    ProjectStart ask(const std::string& scene = {})
    {
        return AskForProject(dialogs, places, ProjectProblem(fs::current_path()), scene);
    }

    ProjectPlaces places;
};

TEST_F(FirstStart, CreatingAProjectStartsTheEditorThere)
{
    dialogs.choices = {Create};
    dialogs.answers = {(dir() / "game").string()};
    const ProjectStart start = ask();
    ASSERT_TRUE(start.ready);
    EXPECT_EQ(fs::current_path(), dir() / "game");
    EXPECT_EQ(start.scene, "");
    EXPECT_THAT(dialogs.questions.front(), AllOf(HasSubstr("не папка проекта"), HasSubstr("data/shaders")));
    EXPECT_TRUE(fs::exists("config.txt"));

    ASSERT_EQ(this->start(), "");
    EXPECT_TRUE(form->Started());
    EXPECT_NE(SceneObjects->FindByName("cam1"), nullptr);
}

TEST_F(FirstStart, AFolderThatIsNoProjectIsRefusedAndTheQuestionComesAgain)
{
    fs::create_directories("models");
    dialogs.choices = {Open, Open, Quit};
    dialogs.answers = {(dir() / "models").string(), std::nullopt};
    const ProjectStart start = ask();
    EXPECT_FALSE(start.ready);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_THAT(dialogs.errors[0], AllOf(HasSubstr("models"), HasSubstr("не папка проекта"),
                                         HasSubstr("data/shaders"), HasSubstr("ra7 init")));
    EXPECT_EQ(fs::current_path(), dir()) << "nothing entered, nothing written";
    EXPECT_TRUE(fs::is_empty("models"));
}

TEST_F(FirstStart, OpeningAnExistingProjectEntersIt)
{
    CreateProject(dir() / "level", *places.engineData);
    dialogs.choices = {Open};
    dialogs.answers = {(dir() / "level").string()};
    EXPECT_TRUE(ask().ready);
    EXPECT_EQ(fs::current_path(), dir() / "level");
}

TEST_F(FirstStart, AnInstalledSampleIsCopiedAndItsSceneOpens)
{
    // Data laid out as installed: no build tree around it, so the sample is read-only.
    const fs::path installed = dir() / "share" / "ra7davevi";
    fs::create_directories(installed / "data");
    fs::copy(*places.engineData / "data" / "shaders", installed / "data" / "shaders");
    fs::copy(*places.engineData / "data" / "arrow", installed / "data" / "arrow");
    fs::copy(*places.engineData / "sample", installed / "sample", fs::copy_options::recursive);
    places.engineData = installed;

    dialogs.choices = {Sample};
    const ProjectStart start = ask();
    ASSERT_TRUE(start.ready);
    EXPECT_EQ(fs::current_path(), places.sampleCopy);
    EXPECT_EQ(start.scene, "scene.kgf");

    ASSERT_EQ(this->start(), "");
    form->LoadSceneFile(start.scene);
    for (const char* name : {"floor", "crate", "pillar", "window", "sun"})
        EXPECT_NE(SceneObjects->FindByName(name), nullptr) << name;
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

TEST_F(FirstStart, ASceneInsideAProjectTakesTheEditorThere)
{
    CreateProject(dir() / "game", *places.engineData);
    fs::create_directories("game/levels");
    ra7::test::writeFile("game/levels/hall.kgf", "");
    const ProjectStart start = FindStartProject("game/levels/hall.kgf");
    EXPECT_TRUE(start.ready);
    EXPECT_EQ(fs::current_path(), dir() / "game");
    EXPECT_EQ(start.scene, (dir() / "game" / "levels" / "hall.kgf").string());

    fs::current_path(dir());
    const ProjectStart nowhere = FindStartProject("elsewhere.kgf");
    EXPECT_FALSE(nowhere.ready);
    EXPECT_THAT(nowhere.problem, HasSubstr("data/shaders"));
    EXPECT_EQ(fs::current_path(), dir());
}

// The real program, as a user or a desktop starts it.
struct EditorRun {
    int status = -1;
    QString out, err;
};

EditorRun runEditor(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(RA7_EDITOR_PATH), arguments);
    EditorRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Before: "qt.qpa.xcb: could not connect to display" and an abort.
TEST_F(FirstStart, HelpAndVersionNeedNoDisplay)
{
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        noDisplay.remove(QString::fromLatin1(name));
    const EditorRun help = runEditor({QStringLiteral("--help")}, noDisplay);
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    for (const char* option : {"--project", "--screenshot", "--select", "--version", "ra7 init"})
        EXPECT_TRUE(help.out.contains(QString::fromLatin1(option))) << option;
    const EditorRun version = runEditor({QStringLiteral("--version")}, noDisplay);
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("ra7editor "))) << version.out.toStdString();

    const EditorRun wrong = runEditor({QStringLiteral("--bogus")}, QProcessEnvironment::systemEnvironment());
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("bogus"))) << wrong.err.toStdString();
}

// Before: "data\arrow\editorData.kgf: cannot open file", with config.txt
// and log.txt left in the folder.
TEST_F(FirstStart, AnUnattendedRunOutsideAProjectSaysHowToMakeOneAndWritesNothing)
{
    fs::create_directories("empty");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ALSOFT_DRIVERS"), QStringLiteral("null"));
    const EditorRun run =
        runEditor({QStringLiteral("--project"), QString::fromStdString((dir() / "empty").string()),
                   QStringLiteral("--screenshot"), QStringLiteral("shot.png")},
                  environment);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("is not a project folder"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("ra7 init DIR"))) << run.err.toStdString();
    EXPECT_TRUE(fs::is_empty("empty"));
    EXPECT_FALSE(fs::exists("shot.png"));
}

// Frames drawn in `ms` milliseconds of running events.
long framesIn(TMainForm& form, int ms)
{
    const long before = form.FramesDrawn();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return form.FramesDrawn() - before;
}

// Before: a zero-interval timer drew as fast as it could (97 % of a core).
TEST_F(MainWindow, AnIdleWindowDrawsNoFasterThanTheDisplayAndSlowlyWhenMinimised)
{
    startWithEditorData();
    form->activateWindow();
    QApplication::processEvents();
    const double refresh = form->screen()->refreshRate();
    if (QApplication::activeWindow() == form.get()) {
        EXPECT_NEAR(form->FramePeriod(), FramePeriodMs(true, refresh), 1e-9);
        EXPECT_LE(framesIn(*form, 1000), static_cast<long>(1000 / form->FramePeriod()) + 2);
    }

    form->showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(form->isMinimized());
    EXPECT_DOUBLE_EQ(form->FramePeriod(), 1000.0 / kInactiveFramesPerSecond);
    framesIn(*form, 250); // the frame already due
    const long slow = framesIn(*form, 1000);
    EXPECT_GE(slow, 1) << "particles and scripts go on";
    EXPECT_LE(slow, static_cast<long>(kInactiveFramesPerSecond) + 1);

    // Back in use, the full rate comes back at once.
    form->showNormal();
    form->activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() == form.get()) {
        EXPECT_GE(framesIn(*form, 500), 8);
    }
}

} // namespace
} // namespace ra7::editor
