// config.txt through the engine's start-up reader: any bytes are read or stop
// with a FileError naming the line, and settings that were read are written
// by the engine's writer to lines that read back to the same settings.
#include "FuzzSupport.h"

#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = ra7::fuzz::WriteScratchFile("config.txt", data, size);
    ra7::ResetSettings();
    try {
        ra7::LoadConfig(path);
    } catch (const ra7::FileError&) {
        return 0;
    }
    const std::vector<std::string> written = ra7::ConfigLines(ra7::Settings);
    ra7::EngineSettings reread;
    ra7::ApplyConfigLines(written, "config.txt", reread);
    if (ra7::ConfigLines(reread) != written)
        std::abort();
    return 0;
}
