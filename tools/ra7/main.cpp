// ra7: the engine without the editor.
//   ra7 info [--json] FILE...   print engine files (.kgf, .phz, .mes, .kmt, .kls)
//   ra7 console [--quiet] LINE...   run console lines on a headless engine
//   ra7 play SCRIPT SCENE [options]   play an animation script over a scene
//   ra7 convert MODEL -f DIR -o SCENE.kgf   convert an OBJ or GMS model
//   ra7 render SCENE.kgf -o OUT.png [options]   draw a scene headless into a PNG image
#include "ConsoleCommand.h"
#include "ConvertCommand.h"
#include "InfoCommand.h"
#include "PlayCommand.h"
#include "RenderCommand.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv)
{
    CLI::App app{"ra7: the Ra7Davevi engine on the command line"};
    app.require_subcommand(1);

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

    ra7::PlayOptions play;
    CLI::App* playCommand =
        app.add_subcommand("play", "Play an animation script over a scene headless with fixed frame steps");
    playCommand->add_option("script", play.script, "Script text file")->required();
    playCommand->add_option("scene", play.scene, "Scene file (.kgf)")->required();
    playCommand->add_option("--step", play.stepMs, "Milliseconds per frame")->capture_default_str();
    playCommand->add_option("--time", play.durationMs, "Milliseconds to play")->capture_default_str();
    playCommand->add_option("--seed", play.seed, "Seed of the random generator (particles)")
        ->capture_default_str();
    playCommand->add_option("-o,--output", play.output, "Write the resulting scene to this .kgf file");
    playCommand->add_flag("--positions", play.positions, "Print every object's position: name x y z");
    ra7::ConvertOptions convert;
    CLI::App* convertCommand = app.add_subcommand(
        "convert", "Convert an OBJ (with its MTL library) or GMS model into .mes meshes, materials and a "
                   "KGF scene, headless in the working directory, as the editor's converter page does");
    convertCommand->add_option("model", convert.model, "The .obj or .gms file")->required();
    convertCommand
        ->add_option("-f,--folder", convert.folder,
                     "Folder for the .mes files of an OBJ model (created when missing); GMS meshes are "
                     "written under their own names")
        ->check(!CLI::ExistingFile);
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
    renderCommand->add_option("--flares", render.flares, "Load a .kls lens-flare set before drawing");
    renderCommand->add_flag("--quiet,-q", render.quiet, "Print nothing on success");

    CLI11_PARSE(app, argc, argv);
    if (infoCommand->parsed())
        return ra7::RunInfo(info);
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
