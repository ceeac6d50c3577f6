// GMS text models: any bytes either read or stop with a FileError naming the line.
#include "GMSReader.h"
#include "runtime/Errors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<ra7::GmsObject> objects;
    try {
        ra7::ReadGMSText(bytes, "fuzz.gms", objects);
    } catch (const ra7::Error&) {
    }
    return 0;
}
