// ra7: the engine without the editor.
//   ra7 info [--json] FILE...   print scene (.kgf) and bounding-volume (.phz) files
//   ra7 console [--quiet] LINE...   run console lines on a headless engine
//   ra7 play SCRIPT SCENE [options]   play an animation script over a scene
#include "ConsoleCommand.h"
#include "InfoCommand.h"
#include "PlayCommand.h"

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

    CLI11_PARSE(app, argc, argv);
    if (infoCommand->parsed())
        return ra7::RunInfo(info);
    if (playCommand->parsed())
        return ra7::RunPlay(play);
    return ra7::RunConsole(console);
}
