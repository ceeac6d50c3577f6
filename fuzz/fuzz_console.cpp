// Console lines of any length and bytes, run through the real interpreter.
#include "host/Ka7ConsoleCommands.h"
#include "runtime/Ka7Console.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdlib.h>
#include <string>

namespace {

void enterScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ra7fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        std::filesystem::current_path(pattern);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int runs = 0;
    if (runs == 0) {
        enterScratchDirectory(); // log.txt goes there
        ra7::SetConsoleExitHandler([] {});
    }
    if (runs++ % 1000 == 0) { // keep the in-memory log small
        ra7::DoneConsole();
        ra7::InitConsole();
    }
    ra7::ExecuteCommand(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
