// Console lines of any bytes, one per input line, run against the engine
// started headless as `ra7 console` starts it; the seed meshes, materials,
// flares and a texture lie in its working folder for the resource commands.
// Every input starts from an empty scene, empty resource lists and an empty
// log. A command may refuse its file with one of the engine's errors;
// anything else escaping is a fault.
#include "FuzzSupport.h"

#include "runtime/Errors.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7Log.h"
#include "runtime/LeakChecker.h"

#include <cstddef>
#include <cstdint>
#include <string>

RA7_LEAK_CHECKER_HOOKS()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::fuzz::StartedEngine();
    std::string_view rest = ra7::fuzz::AsText(data, size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        try {
            ra7::ExecuteCommand(line);
        } catch (const ra7::Error& error) {
            ra7::LogLine(std::string("! ") + error.what());
        }
    }
    return 0;
}
