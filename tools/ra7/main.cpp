// ra7: the engine without the editor.
//   ra7 info [--json] FILE...   print scene (.kgf), bounding-volume (.phz) and lens-flare (.kls) files
//   ra7 console [--quiet] LINE...   run console lines on a headless engine
#include "ConsoleCommand.h"
#include "InfoCommand.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv)
{
    CLI::App app{"ra7: the Ra7Davevi engine on the command line"};
    app.require_subcommand(1);

    ra7::InfoOptions info;
    CLI::App* infoCommand = app.add_subcommand(
        "info", "Print engine files (.kgf scenes, .phz bounding volumes, .kls lens flares)");
    infoCommand->add_option("files", info.files, "Files to print")->required();
    infoCommand->add_flag("--json", info.json, "Print JSON (one object, or an array for several files)");

    ra7::ConsoleOptions console;
    CLI::App* consoleCommand = app.add_subcommand(
        "console",
        "Start the engine headless in the working directory and run each line as a console command");
    consoleCommand->add_option("lines", console.lines, "Console lines, each one argument")->required();
    consoleCommand->add_flag("--quiet,-q", console.quiet, "Do not copy the log to standard output");

    CLI11_PARSE(app, argc, argv);
    if (infoCommand->parsed())
        return ra7::RunInfo(info);
    return ra7::RunConsole(console);
}
