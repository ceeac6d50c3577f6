// MTL libraries: any bytes either read or stop with a FileError naming the line.
#include "OBJLoader.h"
#include "runtime/Errors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ra7::TModel model;
    try {
        ra7::ReadMTLText(model, bytes, "fuzz.mtl", "/nonexistent-ra7-fuzz");
    } catch (const ra7::Error&) {
    }
    return 0;
}
