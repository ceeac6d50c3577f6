// The editor's entry point: the main window (which starts the engine), then
// the rest of the editor's windows, then the application's event loop.
//
//   ra7editor [SCENE.kgf] [--project DIR] [--select NAME] [--script FILE] [--model FILE.obj]
//             [--screenshot FILE [--window main|console|save|script|PAGE] [--frames N]] [--startup-time]
//   ra7editor --help | --version      (no display needed)

#include "core/ScriptWorkspace.h"
#include "host/ProjectFolder.h"
#include "runtime/LeakChecker.h"
#include "ui/DialogService.h"
#include "ui/ProjectChooser.h"
#include "ui/TAnimPanel.h"
#include "ui/TAnimScriptEditor.h"
#include "ui/TConsoleForm.h"
#include "ui/TConverterPage.h"
#include "ui/TMainForm.h"
#include "ui/TSaveForm.h"
#include "ui/TSceneFiles.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QStandardPaths>
#include <QSurfaceFormat>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

RA7_LEAK_CHECKER_HOOKS()

namespace {

using ra7::editor::TMainForm;

struct Options {
    QString scene;
    QString project;
    QString screenshot;
    QString select;
    QString script;
    QString model;
    QString window = QStringLiteral("main");
    int frames = 30;
    bool startupTime = false;
    // Unattended runs report failures on stderr instead of in a message box.
    bool unattended() const { return !screenshot.isEmpty() || startupTime; }
};

// Exit status of a wrong command line.
constexpr int kUsageError = 2;

// --help and --version are answered without a display: they need no window.
bool asksForHelpOrVersion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--help", "-h", "-?", "--help-all", "--version", "-v"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

bool parseOptions(const QCoreApplication& app, Options& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Editor for Ra7Davevi. It runs in a project folder (data/shaders, "
        "data/arrow/editorData.kgf, config.txt, log.txt): the working directory, --project DIR, "
        "or the project a given scene lies in; elsewhere it offers to create one, open one or "
        "open the sample. `ra7 init DIR` makes one on the command line."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("scene"),
                                 QStringLiteral("A KGF scene to load after start-up."),
                                 QStringLiteral("[scene.kgf]"));
    const QCommandLineOption project(QStringLiteral("project"),
                                     QStringLiteral("Project folder (config.txt, log.txt, data/)."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Draw a few frames, save the window's image, exit."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption window(
        QStringLiteral("window"),
        QStringLiteral(
            "What the screenshot shows: main, console, save, script (the script editor), or the main window "
            "with a page of the tool panel shown (add, properties, materials, secondaries, skybox, bounds, "
            "converter, meshes)."),
        QStringLiteral("NAME"), QStringLiteral("main"));
    const QCommandLineOption select(
        QStringLiteral("select"),
        QStringLiteral("Select the object NAME after loading, as a click in the tree would."),
        QStringLiteral("NAME"));
    const QCommandLineOption script(
        QStringLiteral("script"),
        QStringLiteral("Load a script file after the scene, as \"Загрузить из TXT\" would, and play it."),
        QStringLiteral("FILE"));
    const QCommandLineOption frames(QStringLiteral("frames"),
                                    QStringLiteral("Frames drawn before the screenshot (default 30)."),
                                    QStringLiteral("N"), QStringLiteral("30"));
    const QCommandLineOption startup(QStringLiteral("startup-time"),
                                     QStringLiteral("Print the milliseconds to the first frame and exit."));
    const QCommandLineOption model(
        QStringLiteral("model"),
        QStringLiteral(
            "An OBJ model loaded into the converter page after start-up, as its Загрузить OBJ would."),
        QStringLiteral("FILE.obj"));
    parser.addOptions({project, screenshot, window, frames, startup, select, script, model});
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "ra7editor: %s\nTry ra7editor --help.\n", qPrintable(parser.errorText()));
        return false;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        std::fprintf(stderr, "ra7editor: at most one scene file, got %lld\n",
                     static_cast<long long>(positional.size()));
        return false;
    }
    options.scene = positional.isEmpty() ? QString() : positional.front();
    options.project = parser.value(project);
    options.screenshot = parser.value(screenshot);
    options.window = parser.value(window);
    options.select = parser.value(select);
    options.script = parser.value(script);
    options.model = parser.value(model);
    options.startupTime = parser.isSet(startup);
    bool numeric = false;
    options.frames = parser.value(frames).toInt(&numeric);
    if (!numeric || options.frames < 1) {
        std::fprintf(stderr, "ra7editor: --frames needs a positive number, got \"%s\"\n",
                     qPrintable(parser.value(frames)));
        return false;
    }
    return true;
}

// The windows a screenshot can show besides the pages of the tool panel.
bool isOwnWindow(const QString& name)
{
    return name == QLatin1String("main") || name == QLatin1String("console") ||
           name == QLatin1String("save") || name == QLatin1String("script");
}

void waitForFrames(const TMainForm& form, long frames)
{
    QElapsedTimer waited;
    waited.start();
    while (form.FramesDrawn() < frames && waited.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Loads a script file as the panel's "Загрузить из TXT" does and plays it
// with "Play"; a failure goes to stderr (no dialog: unattended runs use it).
bool loadAndPlayScript(TMainForm& form, const QString& path)
{
    ra7::editor::ScriptWorkspace* scripts = form.AnimPanel().Workspace();
    try {
        scripts->LoadScriptFile(path.toStdString());
        scripts->Play();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ra7editor: --script: %s\n", e.what());
        return false;
    }
    return true;
}

// Where a read-only (installed) sample is copied before it is opened.
std::filesystem::path sampleCopyFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path(data.toStdString()) / "ra7davevi" / "sample";
}

// Makes the working directory a project before anything is written: the
// one given, the one the scene lies in, or the one the user chooses. Returns
// -1 to go on, else the exit status.
int enterProject(Options& options, ra7::editor::DialogService& dialogs)
{
    ra7::editor::ProjectStart start = ra7::editor::FindStartProject(options.scene.toStdString());
    if (!start.ready) {
        if (options.unattended()) {
            std::fprintf(stderr, "ra7editor: %s\n", ra7::editor::NotAProjectText(start.problem).c_str());
            return 1;
        }
        // The scene named on the command line stays the same file when the folder changes.
        if (!options.scene.isEmpty())
            start.scene = QFileInfo(options.scene).absoluteFilePath().toStdString();
        start = ra7::editor::AskForProject(dialogs, {ra7::FindEngineData(), sampleCopyFolder()},
                                           start.problem, start.scene);
        if (!start.ready)
            return 0;
    }
    options.scene = QString::fromStdString(start.scene);
    return -1;
}

int takeScreenshot(TMainForm& form, const Options& options)
{
    waitForFrames(form, options.frames);
    QWidget* shown = &form;
    if (options.window == QLatin1String("console")) {
        form.ConsoleForm().ShowConsole();
        shown = &form.ConsoleForm();
    } else if (options.window == QLatin1String("save")) {
        form.SaveForm().SaveWindowDisplay();
        form.SaveForm().show();
        shown = &form.SaveForm();
    } else if (options.window == QLatin1String("script")) {
        form.ScriptEditor().ShowEditor();
        shown = &form.ScriptEditor();
    } else if (!isOwnWindow(options.window)) {
        form.ShowPage(options.window);
    }
    waitForFrames(form, form.FramesDrawn() + 5);
    if (!shown->grab().save(options.screenshot)) {
        std::fprintf(stderr, "ra7editor: cannot write the screenshot %s\n", qPrintable(options.screenshot));
        return 1;
    }
    std::printf("screenshot: %s\n", qPrintable(QFileInfo(options.screenshot).absoluteFilePath()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const auto launched = std::chrono::steady_clock::now();
    // Every context of the application is a compatibility-profile one, so
    // that the view's context can share with its window's.
    QSurfaceFormat defaults = QSurfaceFormat::defaultFormat();
    defaults.setProfile(QSurfaceFormat::CompatibilityProfile);
    QSurfaceFormat::setDefaultFormat(defaults);
    QCoreApplication::setApplicationName(QStringLiteral("ra7editor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RA7_VERSION));
    if (asksForHelpOrVersion(argc, argv)) {
        const QCoreApplication noDisplay(argc, argv);
        Options ignored;
        return parseOptions(noDisplay, ignored) ? 0 : kUsageError;
    }

    QApplication app(argc, argv);
    Options options;
    if (!parseOptions(app, options))
        return kUsageError;
    if (!options.screenshot.isEmpty())
        options.screenshot = QFileInfo(options.screenshot).absoluteFilePath();
    if (!options.project.isEmpty() && !QDir::setCurrent(options.project)) {
        std::fprintf(stderr, "ra7editor: cannot enter the project folder %s\n", qPrintable(options.project));
        return 2;
    }

    // An unattended run never waits for a user: every message and question
    // of the form, its pages and windows goes to stderr or gets its "no".
    std::unique_ptr<ra7::editor::DialogService> dialogs;
    if (options.unattended())
        dialogs = std::make_unique<ra7::editor::UnattendedDialogService>();
    else
        dialogs = std::make_unique<ra7::editor::QtDialogService>(nullptr);
    if (const int status = enterProject(options, *dialogs); status >= 0)
        return status;
    auto fail = [&](const std::string& text) {
        dialogs->ShowError(text);
        return 1;
    };

    std::unique_ptr<TMainForm> form;
    try {
        form = std::make_unique<TMainForm>(*dialogs);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    form->SetUnattended(options.unattended());
    if (!isOwnWindow(options.window) && !form->PageIds().contains(options.window)) {
        std::fprintf(stderr,
                     "ra7editor: --window is main, console, save, script or a page (%s), not \"%s\"\n",
                     qPrintable(form->PageIds().join(QStringLiteral(", "))), qPrintable(options.window));
        return 2;
    }
    const std::string startError = form->ShowAndStart();
    if (!startError.empty()) {
        form.reset();
        return fail(startError);
    }
    form->SceneFiles().SetOffersRecovery(!options.unattended());
    if (!options.scene.isEmpty()) {
        // The load's error has gone to stderr; an image of a half-loaded scene
        // would pass for a good one.
        if (!form->LoadSceneFile(options.scene.toStdString()) && options.unattended())
            return 1;
    } else if (!options.unattended())
        form->OfferStartupRecovery();
    if (!options.select.isEmpty() && !form->SelectObject(options.select.toStdString())) {
        std::fprintf(stderr, "ra7editor: --select: no object \"%s\" in the scene\n",
                     qPrintable(options.select));
        if (options.unattended())
            return 2;
    }

    if (!options.script.isEmpty() && !loadAndPlayScript(*form, options.script)) {
        if (options.unattended())
            return 2;
    }

    if (!options.model.isEmpty()) {
        form->ShowPage(QStringLiteral("converter"));
        form->ConverterPage().LoadObjFile(options.model.toStdString());
    }

    if (options.startupTime) {
        waitForFrames(*form, 1);
        const auto elapsed = std::chrono::steady_clock::now() - launched;
        std::printf(
            "startup: %lld ms\n",
            static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
        return 0;
    }
    if (!options.screenshot.isEmpty())
        return takeScreenshot(*form, options);
    return QApplication::exec();
}
