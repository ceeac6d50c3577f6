// PHZ files through the Bounds page's loader (LoadFromPhzFile; the same set
// record is the geometry's part of a scene file): loads, stops at a
// mismatching tag, or throws a FileError, and a set that loads holds at most
// 50 further shapes.
#include "FuzzSupport.h"

#include "runtime/Errors.h"
#include "scene/Ka7BoundingVolume.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = ra7::fuzz::WriteScratchFile("fuzz.phz", data, size);
    ra7::KaBoundingVolume set;
    try {
        if (set.LoadFromPhzFile(path) && (set.Count() < 0 || set.Count() > ra7::kMaxBoundingShapes))
            __builtin_trap();
    } catch (const ra7::Error&) {
    }
    return 0;
}
