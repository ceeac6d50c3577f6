#include "ConsoleCommand.h"

#include "host/HeadlessEngine.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/TextUtil.h"

#include <vector>

#include <iostream>

namespace ra7 {

namespace {
// The console draws nothing; its context only has to exist.
constexpr std::int32_t kConsoleViewSize = 64;

// An unknown word is only logged by the console; for the tool it is a failure.
bool isCommand(const std::string& line)
{
    const std::string_view trimmed = trimBlanks(line);
    return trimmed.empty() || FindCommand(SplitConsoleLine(trimmed).word) != nullptr;
}
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
                if (!isCommand(line))
                    status = 1;
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
