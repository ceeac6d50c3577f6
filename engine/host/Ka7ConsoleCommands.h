#pragma once
// The console's seven commands, in table order: help, exit, addmesh, addmat,
// addtex, glinfo, alinfo.

#include "effects/Ka7Audio.h"
#include "runtime/Ka7Console.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

const std::vector<KaConsoleCommand>& ConsoleCommands();

// Opens the console with the table above.
void InitConsole();

// What "exit" runs. By default the process ends at once with exit code 0; the
// editor installs its own orderly shut-down.
void SetConsoleExitHandler(std::function<void()> handler);

struct GraphicsDriverInfo {
    std::string version;
    std::string gluVersion;
    std::string vendor;
    std::string renderer;
    std::string extensions; // names separated by blanks, ending with a blank
};

// The lines "glinfo" and "alinfo" log for a description.
void LogGraphicsDriverInfo(const GraphicsDriverInfo& info);
void LogAudioLibraryInfo(const AudioLibraryInfo& info);

// One line per name that a blank ends (text after the last blank is left
// out, as drivers end the list with a blank), then the closing line and
// the count.
void LogExtensionList(std::string_view extensions);

} // namespace ra7
