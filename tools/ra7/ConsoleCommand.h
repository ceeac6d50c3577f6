#pragma once
// `ra7 console LINE...`: the engine started headless in the working
// directory (config.txt, log.txt as the editor uses them), each line run as a
// console command, then shut down.

#include <string>
#include <vector>

namespace ra7 {

struct ConsoleOptions {
    std::vector<std::string> lines;
    bool quiet = false; // do not copy the log to standard output
};

// Returns 0, or 1 when a line is not a console command or a command failed
// (its message is in the log).
int RunConsole(const ConsoleOptions& options);

} // namespace ra7
