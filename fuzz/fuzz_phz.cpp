// The bounding-volume set record (PHZ files and the geometry's part of a
// scene file) on arbitrary bytes: loads, stops at a mismatching tag, or
// throws a FileError, and a set that loads holds at most 50 further shapes.
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7BoundingVolume.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::RecordReader reader("fuzz.phz", std::string_view(reinterpret_cast<const char*>(data), size));
    ra7::KaBoundingVolume set;
    try {
        if (set.LoadFromFile(reader) && (set.Count() < 0 || set.Count() > ra7::kMaxBoundingShapes))
            __builtin_trap();
    } catch (const ra7::Error&) {
    }
    return 0;
}
