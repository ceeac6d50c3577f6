// The editor's entry point: the main window (which starts the engine), then
// the rest of the editor's windows, then the application's event loop.
//
//   ra7editor [SCENE.kgf] [--project DIR] [--select NAME]
//             [--model FILE.obj] [--screenshot FILE [--window main|console|save|PAGE] [--frames N]]
//             [--startup-time]

#include "ui/DialogService.h"
#include "ui/TConsoleForm.h"
#include "ui/TConverterPage.h"
#include "ui/TMainForm.h"
#include "ui/TSaveForm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QSurfaceFormat>

#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>

namespace {

using ra7::editor::TMainForm;

struct Options {
    QString scene;
    QString project;
    QString screenshot;
    QString select;
    QString model;
    QString window = QStringLiteral("main");
    int frames = 30;
    bool startupTime = false;
    // Unattended runs report failures on stderr instead of in a message box.
    bool unattended() const { return !screenshot.isEmpty() || startupTime; }
};

bool parseOptions(const QApplication& app, Options& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for Ra7Davevi"));
    parser.addHelpOption();
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
            "What the screenshot shows: main, console, save, or the main window with a page of the tool "
            "panel shown (add, properties, materials, secondaries, skybox, bounds, converter, meshes)."),
        QStringLiteral("NAME"), QStringLiteral("main"));
    const QCommandLineOption select(
        QStringLiteral("select"),
        QStringLiteral("Select the object NAME after loading, as a click in the tree would."),
        QStringLiteral("NAME"));
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
    parser.addOptions({project, screenshot, window, frames, startup, select, model});
    parser.process(app);

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
    return name == QLatin1String("main") || name == QLatin1String("console") || name == QLatin1String("save");
}

void waitForFrames(const TMainForm& form, long frames)
{
    QElapsedTimer waited;
    waited.start();
    while (form.FramesDrawn() < frames && waited.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
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

    QApplication app(argc, argv);
    Options options;
    if (!parseOptions(app, options))
        return 2;
    if (!options.screenshot.isEmpty())
        options.screenshot = QFileInfo(options.screenshot).absoluteFilePath();
    if (!options.project.isEmpty() && !QDir::setCurrent(options.project)) {
        std::fprintf(stderr, "ra7editor: cannot enter the project folder %s\n", qPrintable(options.project));
        return 2;
    }

    ra7::editor::QtDialogService dialogs(nullptr);
    auto fail = [&](const std::string& text) {
        if (options.unattended())
            std::fprintf(stderr, "ra7editor: %s\n", text.c_str());
        else
            dialogs.ShowError(text);
        return 1;
    };

    std::unique_ptr<TMainForm> form;
    try {
        form = std::make_unique<TMainForm>(dialogs);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    if (!isOwnWindow(options.window) && !form->PageIds().contains(options.window)) {
        std::fprintf(stderr, "ra7editor: --window is main, console, save or a page (%s), not \"%s\"\n",
                     qPrintable(form->PageIds().join(QStringLiteral(", "))), qPrintable(options.window));
        return 2;
    }
    const std::string startError = form->ShowAndStart();
    if (!startError.empty()) {
        form.reset();
        return fail(startError);
    }
    if (!options.scene.isEmpty())
        form->LoadSceneFile(options.scene.toStdString());
    if (!options.select.isEmpty() && !form->SelectObject(options.select.toStdString())) {
        std::fprintf(stderr, "ra7editor: --select: no object \"%s\" in the scene\n",
                     qPrintable(options.select));
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
