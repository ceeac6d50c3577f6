// ra7: the engine without the editor.
//   ra7 init [--sample] DIR   make a project folder
//   ra7 info [--json] FILE...   print engine files (.kgf, .phz, .mes, .kmt, .kls)
//   ra7 console [--quiet] LINE...   run console lines on a headless engine
//   ra7 play SCRIPT SCENE [options]   play an animation script over a scene
//   ra7 convert MODEL -f DIR -o SCENE.kgf   convert an OBJ or GMS model
//   ra7 render SCENE.kgf -o OUT.png [options]   draw a scene headless into a PNG image
#include "ConsoleCommand.h"
#include "ConvertCommand.h"
#include "ImageOutput.h"
#include "InfoCommand.h"
#include "PlayCommand.h"
#include "ProjectCommand.h"
#include "RenderCommand.h"
#include "runtime/LeakChecker.h"

#include <CLI/CLI.hpp>

#include <iostream>

RA7_LEAK_CHECKER_HOOKS()

namespace {

// Exit statuses: 0 done, 1 the command failed, 2 the command line is wrong.
constexpr int kUsageError = 2;

// The project folder option of the commands that start the engine.
void addProjectOption(CLI::App& command, std::string& project)
{
    command.add_option("--project", project,
                       "Project folder to run in (config.txt, log.txt, data/shaders); relative paths are "
                       "taken from there. Default: the working directory");
}

// --NAME and --no-NAME, each with its own line of help that says which one
// is the default (a negated flag would show "{false}" whatever the default).
void addSwitch(CLI::App& command, const std::string& name, bool& value, const std::string& onHelp,
               const std::string& offHelp)
{
    const std::string byDefault = " (the default)";
    CLI::Option* on = command.add_flag_callback(
        "--" + name, [&value] { value = true; }, onHelp + (value ? byDefault : ""));
    CLI::Option* off = command.add_flag_callback(
        "--no-" + name, [&value] { value = false; }, offHelp + (value ? "" : byDefault));
    on->excludes(off);
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"ra7: the Ra7Davevi engine on the command line", "ra7"};
    app.set_version_flag("--version", "ra7 " RA7_VERSION);
    app.require_subcommand(0, 1);
    app.footer("Exit status: 0 done, 1 the command failed (the reason is on standard error), 2 a wrong "
               "command line.\nStart with `ra7 init DIR` to make a project folder; `ra7 help COMMAND` "
               "shows the options of one command.");

    ra7::InitOptions init;
    CLI::App* initCommand = app.add_subcommand(
        "init", "Make DIR a project folder: the shader programs, the editor's helper scene and config.txt");
    initCommand->add_option("folder", init.folder, "The folder (created when missing)")->required();
    initCommand->add_flag("--sample", init.sample,
                          "Copy the sample project instead (a scene to try things on)");

    std::string helpTopic;
    CLI::App* helpCommand = app.add_subcommand("help", "List the commands, or show the options of one");
    helpCommand->add_option("command", helpTopic, "The command to explain");

    std::string project;

    ra7::InfoOptions info;
    CLI::App* infoCommand =
        app.add_subcommand("info", "Print engine files (.kgf scenes, .phz bounding volumes, .mes meshes, "
                                   ".kmt materials, .kls lens flares)");
    infoCommand->add_option("files", info.files, "Files to print")->required();
    infoCommand->add_flag("--json", info.json, "Print JSON (one object, or an array for several files)");

    ra7::ConsoleOptions console;
    CLI::App* consoleCommand = app.add_subcommand(
        "console",
        "Start the engine headless in the working directory and run each line as a console command");
    consoleCommand->add_option("lines", console.lines, "Console lines, each one argument")->required();
    consoleCommand->add_flag("--quiet,-q", console.quiet, "Do not copy the log to standard output");
    addProjectOption(*consoleCommand, project);

    ra7::PlayOptions play;
    CLI::App* playCommand =
        app.add_subcommand("play", "Play an animation script over a scene headless with fixed frame steps");
    playCommand->add_option("script", play.script, "Script text file")->required();
    playCommand->add_option("scene", play.scene, "Scene file (.kgf)")->required();
    playCommand->add_option("--step", play.stepMs, "Milliseconds per frame (above 0)")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    playCommand->add_option("--time", play.durationMs, "Milliseconds to play")
        ->capture_default_str()
        ->check(CLI::NonNegativeNumber);
    playCommand->add_option("--seed", play.seed, "Seed of the random generator (particles)")
        ->capture_default_str();
    playCommand->add_option("-o,--output", play.output, "Write the resulting scene to this .kgf file");
    playCommand->add_flag("--positions", play.positions,
                          "Print every object's position, and every particle's as name[i]: name x y z");
    addProjectOption(*playCommand, project);
    ra7::ConvertOptions convert;
    CLI::App* convertCommand = app.add_subcommand(
        "convert", "Convert an OBJ (with its MTL library) or GMS model into .mes meshes, materials and a "
                   "KGF scene, headless in the working directory, as the editor's converter page does");
    convertCommand->add_option("model", convert.model, "The .obj or .gms file")->required();
    convertCommand->add_option(
        "-f,--folder", convert.folder,
        "Folder for the .mes files of an OBJ model (created when missing); GMS meshes are "
        "written under their own names");
    convertCommand
        ->add_option("-o,--output", convert.output, "The KGF scene to write (.kgf appended when missing)")
        ->required();
    convertCommand->add_option("-s,--scale", convert.scale, "Multiply every vertex position (OBJ only)")
        ->check(CLI::Range(-1.0e6, 1.0e6))
        ->default_val(1);
    convertCommand
        ->add_option("-t,--tangent", convert.tangent,
                     "Tangent space: 0 none, 1 gradients, 2 iso-lines, 3 the mesh mender (libmeshmender.so)")
        ->check(CLI::IsMember({0, 1, 2, 3}))
        ->default_val(0);
    convertCommand
        ->add_option("--normal-crease", convert.mender.MinNormalCreaseCos, "Mender: minNormalCreaseCos")
        ->check(CLI::Range(-1.0, 1.0));
    convertCommand
        ->add_option("--tangent-crease", convert.mender.MinTangentCreaseCos,
                     "Mender: minTangentsCreaseCosAngle")
        ->check(CLI::Range(-1.0, 1.0));
    convertCommand
        ->add_option("--binormal-crease", convert.mender.MinBinormalCreaseCos,
                     "Mender: minBinormalsCreaseCosAngle")
        ->check(CLI::Range(-1.0, 1.0));
    convertCommand
        ->add_option("--area-weight", convert.mender.WeightNormalsByArea, "Mender: weightNormalsByArea")
        ->check(CLI::Range(0.0, 1.0))
        ->default_val(1);
    bool keepNormals = false;
    convertCommand->add_flag("--keep-normals", keepNormals,
                             "Mender: do not recompute normals (no CALCULATE_NORMALS)");
    convertCommand->add_flag("--respect-splits", convert.mender.RespectSplits, "Mender: RESPECT_SPLITS");
    convertCommand->add_flag("--fix-cylindrical", convert.mender.FixCylindrical, "Mender: FIX_CYLINDRICAL");
    convertCommand->add_flag("--quiet,-q", convert.quiet, "Do not copy the log to standard output");
    convertCommand->add_flag("--overwrite", convert.overwrite,
                             "Replace .mes files that are already there (another model's meshes, or an "
                             "earlier conversion of this one)");
    addProjectOption(*convertCommand, project);
    ra7::RenderOptions render;
    CLI::App* renderCommand =
        app.add_subcommand("render", "Start the engine headless in the working directory, load a scene and "
                                     "draw it into a PNG or JPEG image");
    renderCommand->add_option("scene", render.scene, "Scene file (.kgf); its command lines are run")
        ->required();
    renderCommand
        ->add_option("-o,--output", render.output,
                     "Image file to write: .png, or .jpg/.jpeg for JPEG (the extension chooses)")
        ->required()
        ->check(CLI::Validator([](const std::string& name) { return ra7::ImageTypeProblem(name); }, "IMAGE"));
    renderCommand->add_option("--width", render.width, "Image width in pixels")
        ->capture_default_str()
        ->check(CLI::Range(1, ra7::kMaxImageSide));
    renderCommand->add_option("--height", render.height, "Image height in pixels")
        ->capture_default_str()
        ->check(CLI::Range(1, ra7::kMaxImageSide));
    renderCommand->add_option("--camera", render.camera,
                              "Camera to draw from (default: the active camera, else the first, else one "
                              "placed to see the whole scene)");
    CLI::Option* framesOption =
        renderCommand->add_option("--frames", render.frames, "Frames to update and draw; the last is written")
            ->capture_default_str();
    renderCommand
        ->add_option("--time", render.simulatedMs,
                     "Simulated milliseconds to run instead of --frames (frames of --frame-ms each)")
        ->excludes(framesOption);
    renderCommand->add_option("--frame-ms", render.frameMs, "Milliseconds of every frame (FrameTime)")
        ->capture_default_str();
    addSwitch(*renderCommand, "bloom", render.bloom,
              "Bloom of self-illuminated surfaces (needs USE FBO and USE GLSL)", "No bloom");
    addSwitch(*renderCommand, "culling", render.culling,
              "Frustum culling: objects outside the view are skipped", "No frustum culling");
    renderCommand->add_flag("--grid", render.grid, "Draw the editor's grid");
    renderCommand->add_flag("--axes", render.axes, "Draw the world axes");
    renderCommand->add_flag("--markers", render.markers, "Draw light, sound and camera markers");
    renderCommand->add_option("--flares", render.flares, "Load a .kls lens-flare set before drawing");
    renderCommand->add_flag("--quiet,-q", render.quiet, "Print nothing on success");
    addProjectOption(*renderCommand, project);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) { // --help, --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kUsageError;
    }
    // The list of commands (App::help would show the chosen command's).
    const std::string commandList =
        app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
    if (app.get_subcommands().empty()) {
        std::cerr << commandList;
        return kUsageError;
    }
    if (helpCommand->parsed()) {
        if (helpTopic.empty()) {
            std::cout << commandList;
            return 0;
        }
        try {
            std::cout << app.get_subcommand(helpTopic)->help(app.get_name());
        } catch (const CLI::OptionNotFound&) {
            std::cerr << "ra7 help: no command \"" << helpTopic << "\"\n" << commandList;
            return kUsageError;
        }
        return 0;
    }
    if (initCommand->parsed())
        return ra7::RunInit(init);
    if (infoCommand->parsed())
        return ra7::RunInfo(info);

    CLI::App* engineCommand = app.get_subcommands().front();
    if (const int status = ra7::EnterProject(engineCommand->get_name(), project); status != 0)
        return status;
    if (playCommand->parsed())
        return ra7::RunPlay(play);
    if (convertCommand->parsed()) {
        convert.mender.CalculateNormals = !keepNormals;
        return ra7::RunConvert(convert);
    }
    if (renderCommand->parsed())
        return ra7::RunRender(render);
    return ra7::RunConsole(console);
}
