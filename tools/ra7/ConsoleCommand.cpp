#include "ConsoleCommand.h"

#include "host/HeadlessEngine.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <vector>

#include <iostream>

namespace ra7 {

namespace {
// The console draws nothing; its context only has to exist.
constexpr std::int32_t kConsoleViewSize = 64;
} // namespace

int RunConsole(const ConsoleOptions& options)
{
    int status = 0;
    std::vector<std::string> log;
    try {
        HeadlessEngine engine(kConsoleViewSize, kConsoleViewSize);
        for (const std::string& line : options.lines) {
            try {
                ExecuteCommand(line);
            } catch (const std::exception& e) {
                LogLine(std::string("! ") + e.what());
                status = 1;
            }
        }
        log = LogLines(); // before the engine shuts down and frees the log
    } catch (const std::exception& e) {
        std::cerr << "ra7 console: " << e.what() << '\n';
        return 1;
    }
    if (!options.quiet)
        for (const std::string& line : log)
            std::cout << line << '\n';
    return status;
}

} // namespace ra7
