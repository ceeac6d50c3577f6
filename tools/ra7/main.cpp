// ra7: the engine without the editor.
//   ra7 info [--json] FILE...   print scene (.kgf) and bounding-volume (.phz) files
//   ra7 console [--quiet] LINE...   run console lines on a headless engine
//   ra7 render SCENE.kgf -o OUT.png [options]   draw a scene headless into a PNG image
#include "ConsoleCommand.h"
#include "InfoCommand.h"
#include "RenderCommand.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv)
{
    CLI::App app{"ra7: the Ra7Davevi engine on the command line"};
    app.require_subcommand(1);

    ra7::InfoOptions info;
    CLI::App* infoCommand =
        app.add_subcommand("info", "Print engine files (.kgf scenes, .phz bounding volumes)");
    infoCommand->add_option("files", info.files, "Files to print")->required();
    infoCommand->add_flag("--json", info.json, "Print JSON (one object, or an array for several files)");

    ra7::ConsoleOptions console;
    CLI::App* consoleCommand = app.add_subcommand(
        "console",
        "Start the engine headless in the working directory and run each line as a console command");
    consoleCommand->add_option("lines", console.lines, "Console lines, each one argument")->required();
    consoleCommand->add_flag("--quiet,-q", console.quiet, "Do not copy the log to standard output");

    ra7::RenderOptions render;
    CLI::App* renderCommand = app.add_subcommand(
        "render",
        "Start the engine headless in the working directory, load a scene and draw it into a PNG image");
    renderCommand->add_option("scene", render.scene, "Scene file (.kgf); its command lines are run")
        ->required();
    renderCommand->add_option("-o,--output", render.output, "PNG file to write")->required();
    renderCommand->add_option("--width", render.width, "Image width in pixels")->capture_default_str();
    renderCommand->add_option("--height", render.height, "Image height in pixels")->capture_default_str();
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
    renderCommand->add_flag("--bloom,!--no-bloom", render.bloom,
                            "Bloom of self-illuminated surfaces (needs USE FBO and USE GLSL; default off)");
    renderCommand->add_flag("--culling,!--no-culling", render.culling, "Frustum culling (default on)");
    renderCommand->add_flag("--grid", render.grid, "Draw the editor's grid");
    renderCommand->add_flag("--axes", render.axes, "Draw the world axes");
    renderCommand->add_flag("--markers", render.markers, "Draw light, sound and camera markers");
    renderCommand->add_flag("--quiet,-q", render.quiet, "Print nothing on success");

    CLI11_PARSE(app, argc, argv);
    if (infoCommand->parsed())
        return ra7::RunInfo(info);
    if (renderCommand->parsed())
        return ra7::RunRender(render);
    return ra7::RunConsole(console);
}
