// The scene-file reader on arbitrary bytes: every input either loads or
// throws a FileError (or one of the engine's fixed errors); nothing crashes,
// nothing reads outside the input and no count allocates more than it holds.
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneObjUnit.h"
#include "scene/SceneFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::RecordReader reader("fuzz.kgf", std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        const ra7::SceneFileContents contents = ra7::ReadSceneFileContents(reader);
        for (const auto& object : contents.Objects)
            if (object->ChildCount() < 0)
                __builtin_trap();
    } catch (const ra7::Error&) {
    }
    return 0;
}
