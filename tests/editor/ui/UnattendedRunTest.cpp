// Runs nobody watches: the editor started with --screenshot as a script
// starts it, and errors raised at the end of a frame while a user watches.
#include "editor/ui/MainWindowTest.h"

#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneGeom.h"
#include "ui/TGLView.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QProcess>
#include <QStatusBar>

#include <algorithm>

namespace ra7::editor {
namespace {

namespace fs = std::filesystem;

struct EditorRun {
    bool finished = false;
    int exitCode = -1;
    std::string errors;
};

// Starts the real editor in `project` and waits at most a minute.
EditorRun runEditor(const fs::path& project, const QStringList& arguments)
{
    QProcess editor;
    editor.setWorkingDirectory(QString::fromStdString(project.string()));
    editor.start(QStringLiteral(RA7_EDITOR_PATH),
                 QStringList{QStringLiteral("--project"), QString::fromStdString(project.string())} +
                     arguments);
    EditorRun run;
    run.finished = editor.waitForFinished(60000);
    if (!run.finished) {
        editor.kill();
        editor.waitForFinished();
    }
    run.exitCode = editor.exitCode();
    run.errors = editor.readAllStandardError().toStdString();
    return run;
}

TEST_F(MainWindow, AScreenshotOfASceneThatCannotBeLoadedEndsWithTheReasonOnStderr)
{
    test::writeEditorData(dir());
    ra7::test::writeFile(dir() / "broken.kgf", std::string(12, '\x7f'));
    const EditorRun run = runEditor(
        dir(), {QStringLiteral("broken.kgf"), QStringLiteral("--screenshot"), QStringLiteral("shot.png")});
    ASSERT_TRUE(run.finished) << "the run waited for a user";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("ra7editor: broken.kgf"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(dir() / "shot.png"));
}

TEST_F(MainWindow, AScreenshotOfASceneHoldingAnExitLineIsTaken)
{
    test::writeEditorData(dir());
    KaObjArray scene;
    auto box = std::make_unique<KaGeometry>();
    box->SetName("box");
    scene.Add(std::move(box));
    scene.SaveObjects((dir() / "quits.kgf").string(), {0}, {"exit"});
    const EditorRun run =
        runEditor(dir(), {QStringLiteral("quits.kgf"), QStringLiteral("--screenshot"),
                          QStringLiteral("shot.png"), QStringLiteral("--frames"), QStringLiteral("3")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(fs::exists(dir() / "shot.png"));
    const auto log = readTextLines((dir() / "log.txt").string());
    EXPECT_NE(std::find(log.begin(), log.end(), "! quits.kgf: команда \"exit\" из файла сцены пропущена"),
              log.end());
}

TEST_F(MainWindow, AnErrorAtTheEndOfAFrameIsShownOncePerMessage)
{
    startWithEditorData();
    waitFrames(2);
    auto leaveGlError = [&](bool enumerant) {
        form->View().makeCurrent();
        QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
        if (enumerant)
            gl->glEnable(0xFFFF); // GL_INVALID_ENUM
        else
            gl->glLineWidth(-1); // GL_INVALID_VALUE
    };
    auto logged = [](const std::string& text) {
        const auto& lines = LogLines();
        return std::count(lines.begin(), lines.end(), FormatLogLine("! " + text));
    };
    const std::string enumerant = "Ошибка OpenGL: invalid enumerant";
    leaveGlError(true);
    waitFrames(2);
    EXPECT_EQ(form->statusBar()->currentMessage().toStdString(), enumerant);
    leaveGlError(false);
    waitFrames(2);
    leaveGlError(true);
    waitFrames(2);
    EXPECT_EQ(logged(enumerant), 1) << "shown once, though it came back after another";
    EXPECT_EQ(logged("Ошибка OpenGL: invalid value"), 1);
}

} // namespace
} // namespace ra7::editor
