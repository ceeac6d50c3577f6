// config.txt: any bytes either read or stop with the engine's error.
#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7GlobalEngine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ra7::EngineSettings settings;
    try {
        ra7::ApplyConfigLines(ra7::splitTextLines(bytes), "config.txt", settings);
    } catch (const ra7::Error&) {
    }
    return 0;
}
